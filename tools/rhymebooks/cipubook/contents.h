// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"
#include "tools/rhymebooks/cipubook/printedtext.h"

#include <QList>

namespace cipubook {

// An entry of a 卷's table of contents with its list of other names still in small print.
struct PrintedEntry {
    ContentsEntry entry;
    QList<QList<Piece>> aliasList; // its printed lines, each with its blocks of small print
};

// The entries of a 卷's table of contents: "南歌子七體" with the small print after it and on the
// lines below. 卷四十 counts pieces (首), not forms.
QList<PrintedEntry> readContents(const QList<PrintedLine> &lines);

} // namespace cipubook
