// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"
#include "tools/rhymebooks/cipubook/printedtext.h"

#include <QList>
#include <QStringList>

namespace cipubook {

struct ReadExample {
    BookExample example;
    QStringList oddities; // small print inside the verse read neither as a mark nor as a 和声
};

// An example 词 from its printed lines: the marks after each phrase end its 句 or mark a 读, a gap
// (or a line indented beyond the others) begins a 段, short small print that is no mark is a 和声.
ReadExample readExample(const QList<PrintedLine> &lines);

// A mark ((句/), (換仄/韻) …), or a 和声 of a word or two with the mark of its 句 beside it ((女兒/韻)).
bool isMarkPiece(const Piece &piece);

// The line ends on a mark with its column left short: a 段 (or a piece) ends there.
bool endsShort(const PrintedLine &line);

} // namespace cipubook
