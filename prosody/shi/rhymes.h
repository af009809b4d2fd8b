// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/shi/shipoem.h"

namespace prosody {

// Rhyme characters mostly 仄: the poem is 古体 and the rules of regulated verse do not apply. Reports
// it (仄韵) with the oblique group they share and returns true: a fault where the poet chose a form of
// regulated verse, else what the poem is (孟浩然's 春晓, a 绝句 of the old style).
bool judgeObliqueRhyme(ShiPoem &poem, bool chosen);

// The level group most of the rhyme characters share (the even lines, and line 1 with half a vote
// when it ends in 平 or 中); sets poem.group, -1 when none has one.
void chooseRhymeGroup(ShiPoem &poem);

// 出韵 (a rhyme character outside the group) and 孤雁出群 (line 1 from a neighbouring group), once
// the line types say which lines rhyme.
void judgeRhymes(ShiPoem &poem);

} // namespace prosody
