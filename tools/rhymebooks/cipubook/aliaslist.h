// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/printedtext.h"

#include <QList>
#include <QStringList>

namespace cipubook {

// The other names a table of contents lists in small print. Each printed line holds blocks of two
// columns (a lone column where the left is empty); the right columns of a line are read first, block by
// block, then the left ones, each downwards, a name running on from the foot of one column to the head
// of the next (卜算子: 缺月挂疎桐, 百尺樓, 楚天 + 遥, 睂峰碧). Where a row held a character in one
// column only, the transcription put it in the right column whichever it stood in (憶江南:
// 謝秋孃江江南好… beside 望江南  夢  南…, that is 謝秋孃 江南好 … and 望江南 夢江南 …). The reading is
// chosen that gives names the 调's origin note names after 名, few names of two characters it does not
// name, none of one, and no column with two gaps running.
QStringList readAliasList(const QList<QList<Piece>> &lines, TextView origin);

} // namespace cipubook
