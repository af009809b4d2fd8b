// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

namespace builddb {

// Stops a build: names the file at fault (a source or the output) and says what is wrong with it.
class BuildError : public std::runtime_error {
public:
    BuildError(const QString &file, const QString &reason)
        : std::runtime_error((file + QStringLiteral(": ") + reason).toStdString())
        , m_file(file)
        , m_reason(reason)
    {
    }

    QString file() const { return m_file; }
    QString reason() const { return m_reason; }

private:
    QString m_file;
    QString m_reason;
};

} // namespace builddb
