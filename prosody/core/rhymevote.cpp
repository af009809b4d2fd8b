// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/core/rhymevote.h"

#include <QHash>
#include <QVarLengthArray>

#include <tuple>

namespace prosody {

namespace {

QVarLengthArray<int, 4> groupsOf(const RhymeBooks &books, Book book, char32_t hanzi, RhymeTone tone)
{
    QVarLengthArray<int, 4> out;
    for (const RhymeBooks::Membership &m : books.memberships(book, hanzi)) {
        const bool level = m.tone == Tone::Ping;
        if ((tone == RhymeTone::Level && !level) || (tone == RhymeTone::Oblique && level) ||
            out.contains(m.group))
            continue;
        out.append(m.group);
    }
    return out;
}

} // namespace

RhymeVote voteRhyme(const RhymeBooks &books, Book book, const QList<char32_t> &rhymes, RhymeTone tone,
                    bool firstHalf)
{
    struct Tally {
        int weight = 0; // two for a vote, one for half a vote
        int voters = 0;
    };
    QHash<int, Tally> tally;
    QVarLengthArray<int, 4> first; // the groups of the first character with a whole vote
    for (qsizetype i = 0; i < rhymes.size(); ++i) {
        const bool half = i == 0 && firstHalf;
        const QVarLengthArray<int, 4> groups = groupsOf(books, book, rhymes.at(i), tone);
        for (int g : groups) {
            tally[g].weight += half ? 1 : 2;
            ++tally[g].voters;
        }
        if (first.isEmpty() && !half)
            first = groups;
    }
    const auto rank = [&](int g) { return std::tuple(tally.value(g).weight, first.contains(g), -g); };
    RhymeVote out;
    for (auto it = tally.cbegin(); it != tally.cend(); ++it)
        if (out.group < 0 || rank(it.key()) > rank(out.group))
            out = {it.key(), it->voters};
    return out;
}

} // namespace prosody
