// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/couplet/rhythm.h"

namespace prosody {

namespace {

// Units of the given lengths, one after another from the start of the line.
QList<Span> spansOf(const QList<int> &lengths)
{
    QList<Span> out;
    int at = 0;
    for (int n : lengths) {
        out.append({at, n});
        at += n;
    }
    return out;
}

// Two characters at a time, with one single character (an odd length) or none (an even one) at each
// place it can stand, from the end of the line back to its start; an odd line may also end on three
// characters (2|2|3, 4|3) or on three single ones (2|2|1|1|1), an even one on two (2|2|1|1) or start and
// end on one (1|2|2|1).
QList<QList<int>> twoAtATime(int length)
{
    QList<QList<int>> out;
    if (length % 2 == 0) {
        const QList<int> pairs(length / 2, 2);
        out.append(pairs);
        if (length >= 4) {
            out.append(pairs.mid(1) + QList<int>{1, 1});
            out.append(QList<int>{1} + pairs.mid(1) + QList<int>{1});
        }
        return out;
    }
    const int pairs = length / 2;
    for (int single = pairs; single >= 0; --single)
        out.append(QList<int>(single, 2) + QList<int>{1} + QList<int>(pairs - single, 2));
    if (length >= 3)
        out.append(QList<int>(pairs - 1, 2) + QList<int>{3});
    if (length >= 5)
        out.append(QList<int>(pairs - 1, 2) + QList<int>{1, 1, 1});
    return out;
}

} // namespace

QList<QList<Span>> unitReadings(int length)
{
    QList<QList<Span>> out;
    if (length <= 0)
        return out;
    for (const QList<int> &lengths : twoAtATime(length))
        out.append(spansOf(lengths));
    // A line of seven or more may open on four characters that belong together (伯仲之间, 指挥若定).
    if (length >= 7)
        for (const QList<int> &rest : twoAtATime(length - 4))
            if (rest.size() <= 3)
                out.append(spansOf(QList<int>{4} + rest));
    return out;
}

QList<Span> countedSpans(int length)
{
    if (length != 5 && length != 7)
        return {};
    QList<Span> out;
    for (int i = 0; i < length; ++i)
        out.append({i, 1});
    // The pairs of the two usual readings (2|2|1 and 2|1|2, 2|2|2|1 and 2|2|1|2).
    for (const QList<Span> &reading : unitReadings(length).mid(0, 2))
        for (const Span &s : reading)
            if (s.length == 2 && !out.contains(s))
                out.append(s);
    out.append({length - 3, 3});
    if (length == 7)
        out.append({0, 4});
    return out;
}

Span unitAt(int length, int pos)
{
    const QList<QList<Span>> readings = unitReadings(length);
    if (readings.isEmpty())
        return {};
    for (const Span &s : readings.first())
        if (pos >= s.from && pos < s.from + s.length)
            return s;
    return readings.first().last();
}

} // namespace prosody
