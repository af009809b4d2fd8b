// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/continuations.h"

#include "db/classicsschema.h"

#include <QHash>

#include <algorithm>

namespace builddb {

using classics::tianzi::Next;
namespace tz = classics::tianzi;

namespace {

// A row with a context keeps what the classics wrote there at least twice, and at most this many
// characters: enough that the strict places and the rhyme still leave a full list.
constexpr int kRowCap = 300;
// The rows of any length serve lines of an odd length and the baseline of the measurement, which
// looks no further than its thirty characters of one class.
constexpr int kAnyLengthCap = 120;
constexpr char32_t kLargest = 0x3ffff; // characters packed into 18 bits of a key

struct Counted {
    int count = 0;
    qint64 line = 0;
};

// length (4 bits), place (4), the two characters before (18 each; 0 for none) and the character.
quint64 packed(int length, int place, char32_t a, char32_t b, char32_t next)
{
    return quint64(length) << 60 | quint64(place) << 56 | quint64(a) << 36 | quint64(b) << 18 | next;
}

void add(QHash<quint64, Counted> &tally, quint64 key, qint64 line)
{
    Counted &c = tally[key];
    if (c.count++ == 0)
        c.line = line;
}

void countClause(QHash<quint64, Counted> &tally, const QList<char32_t> &clause, qint64 line)
{
    const int length = int(clause.size());
    const bool placed = length >= tz::kShortestClause && length <= tz::kLongestClause;
    for (int p = 0; p < length; ++p) {
        const char32_t c = clause.at(p), a = p >= 2 ? clause.at(p - 2) : 0, b = p >= 1 ? clause.at(p - 1) : 0;
        if (c > kLargest || a > kLargest || b > kLargest)
            continue;
        add(tally, packed(0, 0, 0, b, c), line);
        if (!placed)
            continue;
        add(tally, packed(length, p, 0, 0, c), line);
        if (p >= 1)
            add(tally, packed(length, p, 0, b, c), line);
        if (p >= 2)
            add(tally, packed(length, p, a, b, c), line);
    }
}

// The row's key as continuationKey() packs it.
qint64 keyOf(quint64 k)
{
    const int length = int(k >> 60), place = int(k >> 56 & 0xf);
    const char32_t a = char32_t(k >> 36 & kLargest), b = char32_t(k >> 18 & kLargest);
    QList<char32_t> before;
    if (b)
        before << a << b;
    before.removeAll(0);
    return tz::continuationKey(length, place, before);
}

} // namespace

ContinuationTable countContinuations(const QList<ClassicPoem> &poems)
{
    QHash<quint64, Counted> tally;
    ContinuationTable out;
    qint64 line = 0;
    for (const ClassicPoem &poem : poems)
        for (const QString &text : poem.lines) {
            ++line;
            for (const QList<char32_t> &clause : tz::clausesOf(text)) {
                countClause(tally, clause, line);
                out.clauses += clause.size() >= tz::kShortestClause && clause.size() <= tz::kLongestClause;
            }
        }
    QHash<quint64, QList<Next>> rows;
    for (auto it = tally.constBegin(); it != tally.constEnd(); ++it)
        rows[it.key() & ~quint64(kLargest)].append(
            {char32_t(it.key() & kLargest), it.value().count, it.value().line});
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        QList<Next> &nexts = it.value();
        std::sort(nexts.begin(), nexts.end(), [](const Next &x, const Next &y) {
            return x.count != y.count ? x.count > y.count : x.hanzi < y.hanzi;
        });
        // Without a context a row keeps everything: it is what is left when nothing else is known.
        const bool withContext = (it.key() >> 18 & kLargest) != 0;
        if (withContext) {
            const auto once =
                std::find_if(nexts.begin(), nexts.end(), [](const Next &n) { return n.count < 2; });
            const int cap = it.key() >> 60 ? kRowCap : kAnyLengthCap;
            qsizetype keep = std::min<qsizetype>(once - nexts.begin(), cap);
            out.dropped += nexts.size() - keep;
            nexts.resize(keep);
        }
        if (nexts.isEmpty())
            continue;
        out.entries += nexts.size();
        out.rows.insert(keyOf(it.key()), nexts);
    }
    return out;
}

void writeContinuations(ReferenceWriter &writer, const ContinuationTable &table)
{
    writer.insert(classicsschema::tableContinuations, [&](Statement &stmt) {
        for (auto it = table.rows.constBegin(); it != table.rows.constEnd(); ++it)
            insertRow(stmt, it.key(), tz::encodeNexts(it.value()));
    });
}

} // namespace builddb
