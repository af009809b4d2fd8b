// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktext.h"

#include <QList>
#include <QString>

namespace cipubook {

// One printed line (a column of the page) of a 卷 file: its page and indent, and its text with the
// small print still in parentheses.
struct PrintedLine {
    int juan = 0;
    bool contents = false; // in the 卷's table of contents
    QString page;          // "001-4a"
    int indent = 0;        // full-width spaces before the text
    Text text;
};

// The printed lines of one 卷's text, file properties and page marks taken out.
QList<PrintedLine> printedLinesOf(const QString &text, int juan);

// The same from a file; throws BookError when it cannot be read.
QList<PrintedLine> readJuanFile(const QString &path, int juan);

// A printed line in pieces: full-size text (with its gaps) and small print in two columns, right
// then left, a gap cell written as kBlank.
struct Piece {
    bool small = false;
    Text text; // full-size
    Text right, left;
};
QList<Piece> piecesOf(TextView line);

// Small print read as prose: the right column, then the left. Where a row holds a character on the
// right and a gap on the left, the transcription may have moved a left-column character beside a gap
// of the right column; the reading that puts the gap at a sentence's end is taken.
Text readProse(const Piece &small);

} // namespace cipubook
