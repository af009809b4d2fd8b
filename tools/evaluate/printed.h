// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A poem of 唐诗三百首 as chinese-poetry prints it: traditional characters, notes and variant readings
// in brackets left in.
struct PrintedPoem {
    QString section; // 五言律詩 …
    QString author;
    QString title;
    QStringList paragraphs;
};

// The poems of mengxue/tangshisanbaishou.json under dist, in the anthology's order. Throws BuildError
// naming the file when it cannot be read.
QList<PrintedPoem> tangshiAsPrinted(const QString &dist);
