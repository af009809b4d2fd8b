// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/align.h"
#include "prosody/core/books.h"
#include "prosody/findings/poemcheck.h"

namespace prosody {

// The check of one 词 against one aligned form: 平仄 at the positions the corpus fixes, the rhymes
// at its rhyme positions (出韵, 未押韵), and the lines (字数, a line missing or one too many).
PoemCheck judgeCi(const RhymeBooks &books, const Poem &poem, const Classes &classes, const CiAlignment &a,
                  Book book);

} // namespace prosody
