// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/continuations.h"

#include "db/classicsschema.h"

#include <QHash>

#include <algorithm>
#include <vector>

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

// The counts are made in this many passes over the clauses, each of the rows whose key falls to it,
// so that the builder holds a part of them at a time.
constexpr int kPasses = 8;

struct Counted {
    quint32 count = 0;
    quint32 line = 0;
};

using Tally = QHash<quint64, Counted>;

int passOf(quint64 key)
{
    return int(((key & ~quint64(kLargest)) * 0x9e3779b97f4a7c15ull >> 32) % kPasses);
}

// length (4 bits), place (4), the two characters before (18 each; 0 for none) and the character.
quint64 packed(int length, int place, char32_t a, char32_t b, char32_t next)
{
    return quint64(length) << 60 | quint64(place) << 56 | quint64(a) << 36 | quint64(b) << 18 | next;
}

void add(Tally &tally, int pass, quint64 key, quint32 line)
{
    if (passOf(key) != pass)
        return;
    Counted &c = tally[key];
    if (c.count++ == 0)
        c.line = line;
}

void countClause(Tally &tally, int pass, const QList<char32_t> &clause, quint32 line)
{
    const int length = int(clause.size());
    const bool placed = length >= tz::kShortestClause && length <= tz::kLongestClause;
    for (int p = 0; p < length; ++p) {
        const char32_t c = clause.at(p), a = p >= 2 ? clause.at(p - 2) : 0, b = p >= 1 ? clause.at(p - 1) : 0;
        if (c > kLargest || a > kLargest || b > kLargest)
            continue;
        add(tally, pass, packed(0, 0, 0, b, c), line);
        if (!placed)
            continue;
        add(tally, pass, packed(length, p, 0, 0, c), line);
        if (p >= 1)
            add(tally, pass, packed(length, p, 0, b, c), line);
        if (p >= 2)
            add(tally, pass, packed(length, p, a, b, c), line);
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

// Moves the rows of one pass into the table, each most frequent first and cut to what it keeps.
void keepRows(Tally &tally, ContinuationTable &out)
{
    std::vector<std::pair<quint64, Counted>> counted(tally.constKeyValueBegin(), tally.constKeyValueEnd());
    tally = {};
    std::sort(counted.begin(), counted.end(), [](const auto &x, const auto &y) { return x.first < y.first; });
    for (auto from = counted.begin(); from != counted.end();) {
        const quint64 row = from->first & ~quint64(kLargest);
        const auto to = std::find_if(from, counted.end(),
                                     [&](const auto &e) { return (e.first & ~quint64(kLargest)) != row; });
        QList<Next> nexts;
        nexts.reserve(to - from);
        for (auto it = from; it != to; ++it)
            nexts.append({char32_t(it->first & kLargest), int(it->second.count), qint64(it->second.line)});
        from = to;
        std::sort(nexts.begin(), nexts.end(), [](const Next &x, const Next &y) {
            return x.count != y.count ? x.count > y.count : x.hanzi < y.hanzi;
        });
        // Without a context a row keeps everything: it is what is left when nothing else is known.
        const bool withContext = (row >> 18 & kLargest) != 0;
        if (withContext) {
            const auto once =
                std::find_if(nexts.begin(), nexts.end(), [](const Next &n) { return n.count < 2; });
            const int cap = row >> 60 ? kRowCap : kAnyLengthCap;
            qsizetype keep = std::min<qsizetype>(once - nexts.begin(), cap);
            out.dropped += nexts.size() - keep;
            nexts.resize(keep);
        }
        if (nexts.isEmpty())
            continue;
        out.entries += nexts.size();
        nexts.squeeze();
        out.rows.insert(keyOf(row), nexts);
    }
}

} // namespace

ContinuationTable countContinuations(const QList<ClassicPoem> &poems)
{
    ContinuationTable out;
    for (int pass = 0; pass < kPasses; ++pass) {
        Tally tally;
        quint32 line = 0;
        for (const ClassicPoem &poem : poems)
            for (const QString &text : poem.lines) {
                ++line;
                for (const QList<char32_t> &clause : tz::clausesOf(text)) {
                    countClause(tally, pass, clause, line);
                    if (pass == 0)
                        out.clauses +=
                            clause.size() >= tz::kShortestClause && clause.size() <= tz::kLongestClause;
                }
            }
        keepRows(tally, out);
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
