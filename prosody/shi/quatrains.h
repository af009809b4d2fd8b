// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/text/poem.h"

namespace prosody {

// A run of 绝句 pasted without a break between them (the two of 王昌龄's 出塞, one after the other), read as
// the quatrains they are rather than one 律诗 or 排律. In 自动 (`chosen` false) the text is split only where
// each quatrain rhymes on a 平 group of its own, none shared with the next, nor neighbouring it unless the
// next one's first line rhymes too: a 律诗 keeps one rhyme, so such lines are no 律诗. When the poet has
// chosen 绝句 (`chosen`), any four lines times two or more are so many quatrains. Returns the poem whole when
// it is not such a run.
QList<Poem> quatrainsOf(const RhymeBooks &books, const Poem &poem, Book book, bool chosen);

} // namespace prosody
