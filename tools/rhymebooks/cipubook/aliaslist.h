#pragma once

#include "tools/rhymebooks/cipubook/printedtext.h"

#include <QList>
#include <QStringList>

namespace cipubook {

// The other names a table of contents lists in small print, two columns to a block, each column read
// downwards, right before left, a name running on from the foot of one column to the head of the next.
// Where a row held a character in one column only, the transcription put it in the right column
// whichever it stood in (憶江南: 謝秋孃江江南好… beside 望江南  夢  南…, that is 謝秋孃 江南好 … and
// 望江南 夢江南 …); the reading is chosen that gives names the 调's origin note also names, no name of a
// single character, and no column with two gaps running.
QStringList readAliasList(const QList<Piece> &blocks, TextView origin);

} // namespace cipubook
