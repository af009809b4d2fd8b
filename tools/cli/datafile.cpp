// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli/datafile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace cli {

QString dataFile(const QString &local)
{
    const QString xdg =
        qEnvironmentVariable("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"));
    for (const QString &path : {local, xdg + QStringLiteral("/shihai/") + local,
                                QCoreApplication::applicationDirPath() + QStringLiteral("/../share/shihai/") +
                                    QFileInfo(local).fileName()})
        if (QFileInfo::exists(path))
            return path;
    return local;
}

} // namespace cli
