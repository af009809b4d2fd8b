// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/shi/shipoem.h"

#include <optional>

namespace prosody {

// The poem's shape against the forms of regulated verse (or the chosen one): the line length most
// lines have (5 or 7), and the form whose start the lines are: 绝句 up to 4 lines, 律诗 up to 8, 排律
// beyond, so that a poem being written is judged on what is written. A line of another length (one
// or two characters too few or too many, in a poem of one slip in four lines) is reported and left
// out of the rules of 平仄; the last line may still be being typed. Sets the form, its lines and the
// characters the last line lacks, and returns true; else reports why the lines make no regulated
// verse (字数) and returns false.
bool judgeShape(ShiPoem &poem, FormChoice choice);

// The shape alone, from the lines' lengths: how far the poem is from regulated verse (the lines of
// another length; a poem being written is no farther), or nullopt when its lines make none.
std::optional<int> shiDistance(const Poem &poem);

// The lines of a regulated poem a count of written lines is the start of: 4, 8, or an even number of
// 10 and more.
int formLinesFor(int written, Form chosen);

} // namespace prosody
