// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"
#include "tools/rhymebooks/cipubook/printedtext.h"

#include <QList>

namespace cipubook {

struct PrintedAppendix {
    QList<BookTune> tunes;
    QList<ReadProblem> problems;
};

// 卷四十, the 附编: 大曲 and 转踏 printed as sets of pieces (清平調辭(三首…), 又一體(八首…)), each piece
// under a title (第一, 入破第一, 巫山, 又) or followed by one (右崔徽), with recited prose (致語, 口號,
// a 詩 before each 词) between them. Each set is a form whose example holds its pieces' verse, 段 by
// 段, each 段 knowing its piece; the prose is the example's prelude.
PrintedAppendix readAppendix(const QList<PrintedLine> &lines);

// The pieces (首) of a set.
int piecesOf(const BookExample &example);

} // namespace cipubook
