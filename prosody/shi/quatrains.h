// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/text/poem.h"

namespace prosody {

// A run of 绝句 pasted without a break between them (the two of 王昌龄's 出塞, one after the other), read as
// the quatrains they are rather than one 律诗 or 排律. Unless `chosen`, the text is split only where its
// whole quatrains are of one length of regulated verse and each rhymes on a 平 group of its own, none shared
// with the next, nor neighbouring it unless the next one's first line rhymes too: a 律诗 keeps one rhyme, so
// such lines are no 律诗. Where the poet has chosen 绝句 (`chosen`), any lines beyond four are more
// quatrains. Lines after the last whole quatrain are the next one being written. Returns the poem whole when
// it is not such a run.
QList<Poem> quatrainsOf(const RhymeBooks &books, const Poem &poem, Book book, bool chosen);

} // namespace prosody
