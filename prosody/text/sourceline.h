// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/text/nonverse.h"
#include "prosody/text/poem.h"

#include <QList>
#include <QString>

namespace prosody {

// One physical line of pasted text: what shows of it once the notes are out, and its 句.
struct SourceLine {
    QString visible;
    int offset = 0;
    int end = 0;
    bool notes = false; // it held a note
    LineKind kind = LineKind::Verse;
    QList<Line> segments;

    // Whether the line holds sentence punctuation anywhere (a title and an author line hold none).
    bool hasStops() const;
    // Whether it ends with a stop, as a line of verse printed in full does.
    bool endsLikeVerse() const;
};

// The line of the text from offset, length UTF-16 units long, the `number`th of the text (0-based);
// mask marks the notes (prosody/text/notes.h).
SourceLine sourceLine(const QString &text, const QList<bool> &mask, int offset, int length, int number);

// The commonest 句 length of some lines, the longer one on a tie.
int modalLength(const QList<SourceLine> &lines);

// Whether the lines' 句 make a whole regulated shape: 4, 8, or 10 and more (even) 句, all of five or
// all of seven characters.
bool regulatedShape(const QList<SourceLine> &lines);

} // namespace prosody
