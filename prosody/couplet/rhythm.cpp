#include "prosody/couplet/rhythm.h"

namespace prosody {

QList<QList<Span>> unitReadings(int length)
{
    if (length <= 0)
        return {};
    QList<Span> pairs;
    int at = 0;
    for (; at + 2 <= length; at += 2)
        pairs.append({at, 2});
    if (at == length)
        return {pairs};
    QList<Span> last = pairs;
    last.append({at, 1});
    if (pairs.isEmpty())
        return {last};
    QList<Span> before = pairs.mid(0, pairs.size() - 1);
    before.append({at - 2, 1});
    before.append({at - 1, 2});
    return {last, before};
}

QList<Span> countedSpans(int length)
{
    if (length != 5 && length != 7)
        return {};
    QList<Span> out;
    for (int i = 0; i < length; ++i)
        out.append({i, 1});
    for (const QList<Span> &reading : unitReadings(length))
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
