// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

namespace builddb {

// Prints a build's stages with the seconds since it began.
class Progress {
public:
    explicit Progress(QTextStream &log)
        : m_log(log)
    {
        m_clock.start();
    }

    void stage(const QString &name, const QString &counts)
    {
        m_log << QStringLiteral("[%1 s] %2: %3").arg(m_clock.elapsed() / 1000.0, 5, 'f', 1).arg(name, counts)
              << Qt::endl;
    }

    double seconds() const { return m_clock.elapsed() / 1000.0; }

private:
    QTextStream &m_log;
    QElapsedTimer m_clock;
};

} // namespace builddb
