// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/coupletrows.h"
#include "prosody/check.h"

#include <QList>
#include <QString>
#include <QStringList>

// One row of the marked poem as the view paints it.
struct MarkedRow {
    enum class Kind {
        Summary, // a poem's summary, above its lines
        Line,    // a line of the poem: its characters with their marks
        Pattern, // a line of the form that the poem has not reached (词 or 诗): its pattern alone
        Gap,     // the space between the 片 of a 词
        Couplet, // under the lower line of a couplet judged as 对仗: its units and how each stands
    };
    Kind kind = Kind::Line;
    QString summary; // "七言绝句 · 平起首句入韵 · 下平七阳 · 合律"
    bool ok = true;  // the summary's poem keeps its form
    QStringList chars;
    // A line: ○ 平, ● 仄, ◎ 中, ？ unknown under each character; a pattern: its marks.
    QString marks;
    // Over each character: for 诗 the template's 平 or 仄 where it differs from the character, else a
    // blank; for 词 the pattern's ○ ● ◎ over every character.
    QString expected;
    QList<bool> faults;
    QList<bool> rhymes; // the rhyme character, underlined
    QString rhyme;      // after the line: "韵·上平一东", or a pattern's "韵1（平）"
    QStringList tips;   // per character (a pattern: per position), shown on hover
    // A couplet's units, each with its mark.
    QList<CoupletMark> units;
};

// The rows of the checked poems: each summary, then its lines, with the units of a middle couplet
// (or a 对联) under its lower line; a 诗 being written with the lines it has still to write as their
// template; a 词 along its form, with the lines of the form not yet written as their pattern and a gap
// between the 片.
QList<MarkedRow> markedRows(const QList<prosody::PoemCheck> &checks);

// What assistive tools say of the rows: the verdicts ("五言绝句 · 平起首句不入韵 · 下平十一尤 · 合律"),
// and each line with its marks ("白日依山尽 ●●○○●", a line still to write as "待写 ◎●◎○○").
QString spokenVerdict(const QList<MarkedRow> &rows);
QString spokenLines(const QList<MarkedRow> &rows);
