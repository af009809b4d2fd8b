// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/markedrows.h"

#include <QStringList>

// The marked poem's rows as text, one per row: a summary as it is; a line as
// "chars|marks|expected|faults|rhyme" (faults: ✗ under a fault, else a blank); a line of a 词's form
// not yet written as "谱|marks|rhyme"; "—" between the 片; a couplet's units as "对|工 宽 未对".
inline QStringList rowTexts(const QList<MarkedRow> &rows)
{
    QStringList out;
    for (const MarkedRow &r : rows) {
        switch (r.kind) {
        case MarkedRow::Kind::Summary:
            out << r.summary;
            break;
        case MarkedRow::Kind::Gap:
            out << QStringLiteral("—");
            break;
        case MarkedRow::Kind::Pattern:
            out << QStringLiteral("谱|%1|%2").arg(r.marks, r.rhyme);
            break;
        case MarkedRow::Kind::Couplet: {
            QStringList marks;
            for (const CoupletMark &u : r.units)
                marks << u.mark;
            out << QStringLiteral("对|%1").arg(marks.join(u' '));
            break;
        }
        case MarkedRow::Kind::Line: {
            QString faults;
            for (bool f : r.faults)
                faults += f ? u'✗' : u' ';
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(r.chars.join(QString()), r.marks, r.expected, faults, r.rhyme);
            break;
        }
        }
    }
    return out;
}
