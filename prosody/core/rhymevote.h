// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QList>

namespace prosody {

// Which readings of the rhyme characters take part in the vote.
enum class RhymeTone { Level, Oblique, Any };

struct RhymeVote {
    int group = -1; // -1 when no character has a group of the wanted tone
    int voters = 0; // characters of the winning group
};

// The group a poem's rhyme characters share, the one vote of the check of 诗, of 词 and of the
// builder: each character votes for every group it belongs to (once per group) among its readings
// of the wanted tone, a first character that only may rhyme (firstHalf) with half a vote; the group
// with the most votes wins, then the one the first character with a whole vote belongs to (the first
// rhyme sets the rhyme), then the earlier group of the book.
RhymeVote voteRhyme(const RhymeBooks &books, Book book, const QList<char32_t> &rhymes, RhymeTone tone,
                    bool firstHalf = false);

} // namespace prosody
