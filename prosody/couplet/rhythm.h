// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHashFunctions>
#include <QList>

namespace prosody {

// A run of characters of a line: from is 0-based.
struct Span {
    int from = 0;
    int length = 0;
    bool operator==(const Span &) const = default;
};
inline size_t qHash(const Span &s, size_t seed = 0)
{
    return qHashMulti(seed, s.from, s.length);
}

// The ways a line of length characters falls into units of the rhythm, the usual first: two
// characters at a time, a line of odd length with its single character last (2|2|1, 2|2|2|1), before
// the last pair (2|1|2, 2|2|1|2) or further forward (1|2|2, 2|1|2|2, 1|2|2|2), ending on three
// (2|3, 2|2|3) or on three single characters (2|2|1|1|1); a line of seven or more may open on four
// (4|1|2, 4|2|1, 4|3). An even line: two at a time, or with a single character at each end or two at
// its end. Both lines of a couplet are read in one of these, so that their units line up.
QList<QList<Span>> unitReadings(int length);

// The spans whose pairs the classics count in a couplet of five or seven characters: every
// character, the pairs of the two usual readings, the last three (2|3, 2|2|3) and in seven characters the
// first four; empty for another length.
QList<Span> countedSpans(int length);

// The unit of the usual reading that holds position pos (0-based) of a line.
Span unitAt(int length, int pos);

} // namespace prosody
