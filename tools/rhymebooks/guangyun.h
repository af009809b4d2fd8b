// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/rhymegroups.h"

#include <QList>
#include <QString>

namespace builddb {

// One reading of a character in the 廣韻: its tone and rhyme family, by the family's 平聲 base
// name as tshet-uinh names it (東 for 董, 送 and 屋; 寒 covers 桓), and 開合 (開, 合 or null).
struct ClassicalReading {
    Tone tone = Tone::Ping;
    QString rhyme;
    QChar hu;
    int xiaoyun = 0; // number of the homophone group in the book; 0 for readings of our own

    bool operator==(const ClassicalReading &other) const
    {
        return tone == other.tone && rhyme == other.rhyme && hu == other.hu;
    }
};

struct GuangyunEntry {
    char32_t hanzi = 0;
    ClassicalReading reading;
};

// Reads every entry of the 廣韻 from the installed tshet-uinh package (through node). Throws
// BuildError naming the package when it is missing or its data has another shape.
QList<GuangyunEntry> readGuangyun(const QString &packageDir);

} // namespace builddb
