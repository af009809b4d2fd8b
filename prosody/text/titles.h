// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/text/poem.h"
#include "prosody/text/sourceline.h"

namespace prosody {

// The poem of a block of lines (between blank lines or numbered parts): its author and date lines set
// apart, its title taken, its 句 read.
//
// The first line is the title when it stands in 《》, names a 词牌 or a form ("念奴娇·赤壁怀古",
// "七律·长征", "长相思"), has an author line under it, or has no stop while every line of the verse
// under it has some — unless the lines are a 诗 of one length still being written, whose first line waits for
// its stop. In a text without stops, a line above a whole regulated shape is its title.
Poem poemOf(QList<SourceLine> block, const ReadingNames &names);

} // namespace prosody
