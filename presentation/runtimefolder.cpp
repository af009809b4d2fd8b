// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/runtimefolder.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

constexpr char variable[] = "XDG_RUNTIME_DIR";

} // namespace

RuntimeFolder::RuntimeFolder()
{
    if (!qEnvironmentVariableIsEmpty(variable))
        return;
    // A temporary folder is made readable by its owner alone, as a runtime folder must be.
    auto folder =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/shihai-runtime-XXXXXX"));
    if (!folder->isValid())
        return; // Qt then falls back on its own, with its warning
    qputenv(variable, QFile::encodeName(folder->path()));
    m_folder = std::move(folder);
}

RuntimeFolder::~RuntimeFolder()
{
    if (m_folder)
        qunsetenv(variable);
}
