#pragma once

#include <QList>

namespace prosody {

// A run of characters of a line: from is 0-based.
struct Span {
    int from = 0;
    int length = 0;
    bool operator==(const Span &) const = default;
};

// The ways a line of length characters falls into units of the rhythm, the usual first: two
// characters at a time, and a line of odd length with its single character last (2|2|1, 2|2|2|1) or
// before the last pair (2|1|2, 2|2|1|2).
QList<QList<Span>> unitReadings(int length);

// The spans whose pairs the classics count in a couplet of five or seven characters: every
// character, the pairs of both readings, the last three (2|3, 2|2|3) and in seven characters the
// first four; empty for another length.
QList<Span> countedSpans(int length);

// The unit of the usual reading that holds position pos (0-based) of a line.
Span unitAt(int length, int pos);

} // namespace prosody
