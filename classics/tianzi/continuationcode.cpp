// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/tianzi/continuationcode.h"

#include "prosody/text/reader.h"

namespace classics::tianzi {

namespace {

void putVarint(QByteArray &out, quint64 v)
{
    while (v >= 0x80) {
        out.append(char(0x80 | (v & 0x7f)));
        v >>= 7;
    }
    out.append(char(v));
}

bool takeVarint(QByteArrayView bytes, qsizetype &at, quint64 &v)
{
    v = 0;
    for (int shift = 0; at < bytes.size() && shift < 64; shift += 7) {
        const quint8 b = quint8(bytes.at(at++));
        v |= quint64(b & 0x7f) << shift;
        if (!(b & 0x80))
            return true;
    }
    return false;
}

} // namespace

qint64 continuationKey(int length, int place, const QList<char32_t> &before)
{
    const char32_t a = before.size() >= 2 ? before.at(before.size() - 2) : 0;
    const char32_t b = before.isEmpty() ? 0 : before.last();
    return qint64(length) << 40 | qint64(place) << 36 | qint64(a) << 18 | qint64(b);
}

QByteArray encodeNexts(const QList<Next> &nexts)
{
    QByteArray out;
    out.reserve(nexts.size() * 7);
    for (const Next &n : nexts) {
        putVarint(out, n.hanzi);
        putVarint(out, quint64(n.count));
        putVarint(out, quint64(n.line));
    }
    return out;
}

QList<Next> decodeNexts(QByteArrayView bytes)
{
    QList<Next> out;
    qsizetype at = 0;
    quint64 c = 0, n = 0, l = 0;
    while (at < bytes.size() && takeVarint(bytes, at, c) && takeVarint(bytes, at, n) &&
           takeVarint(bytes, at, l))
        out.append({char32_t(c), int(n), qint64(l)});
    return out;
}

QList<std::pair<qint64, char32_t>> entriesOf(const QList<char32_t> &clause)
{
    QList<std::pair<qint64, char32_t>> out;
    const int length = int(clause.size());
    const bool placed = length >= kShortestClause && length <= kLongestClause;
    const auto text = [&](int from, int n) { return clause.mid(from, n); };
    for (int p = 0; p < length; ++p) {
        const char32_t c = clause.at(p);
        out.append({continuationKey(0, 0, p >= 1 ? text(p - 1, 1) : QList<char32_t>()), c});
        if (!placed)
            continue;
        out.append({continuationKey(length, p, {}), c});
        if (p >= 1)
            out.append({continuationKey(length, p, text(p - 1, 1)), c});
        if (p >= 2)
            out.append({continuationKey(length, p, text(p - 2, 2)), c});
    }
    return out;
}

QList<QList<char32_t>> clausesOf(const QString &line)
{
    QList<QList<char32_t>> out;
    QList<char32_t> run;
    for (const char32_t c : line.toUcs4()) {
        if (prosody::isVerseChar(c)) {
            run.append(c);
        } else if (!run.isEmpty()) {
            out.append(run);
            run.clear();
        }
    }
    if (!run.isEmpty())
        out.append(run);
    return out;
}

} // namespace classics::tianzi
