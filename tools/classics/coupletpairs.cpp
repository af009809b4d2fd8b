// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/coupletpairs.h"

#include "db/classicsschema.h"
#include "prosody/couplet/rhythm.h"
#include "tools/classics/coupletgroups.h"
#include "tools/common/referencewriter.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace builddb {

namespace {

namespace cs = classicsschema;

// Groups: characters seen five times and more fall into a dozen (about the word classes a poet
// pairs by); two-character units seen three times and more into four dozen, their partners being
// fewer and more varied.
constexpr int kCharGroups = 12;
constexpr int kCharMinCount = 5;
constexpr int kWordGroups = 48;
constexpr int kWordMinCount = 3;

QString textOf(const QList<char32_t> &chars)
{
    return QString::fromUcs4(chars.constData(), chars.size());
}

quint64 keyOf(int a, int b)
{
    return (quint64(quint32(a)) << 32) | quint32(b);
}

bool isEightOfOneLength(const EightLines &poem)
{
    if (poem.lines.size() != 8)
        return false;
    const qsizetype length = poem.lines.first().size();
    return (length == 5 || length == 7) &&
           std::all_of(poem.lines.begin(), poem.lines.end(),
                       [&](const QList<char32_t> &l) { return l.size() == length; });
}

class Counter {
public:
    explicit Counter(PairTable &table)
        : m_table(table)
    {
    }

    int unit(const QList<char32_t> &chars)
    {
        const QString text = textOf(chars);
        const auto found = m_units.constFind(text);
        if (found != m_units.constEnd())
            return found.value();
        m_table.units.append({text, 0, 0});
        return m_units.insert(text, int(m_table.units.size() - 1)).value();
    }
    int findUnit(const QList<char32_t> &chars) const { return m_units.value(textOf(chars), -1); }

    void addMiddle(int a, int b, int couplet)
    {
        ++m_table.units[a].count;
        ++m_table.units[b].count;
        for (const auto &[x, y] : {std::pair(a, b), std::pair(b, a)}) {
            const auto found = m_pairs.constFind(keyOf(x, y));
            if (found != m_pairs.constEnd()) {
                ++m_table.pairs[found.value()].count;
            } else {
                m_pairs.insert(keyOf(x, y), int(m_table.pairs.size()));
                m_table.pairs.append({x, y, 1, 0, 0, couplet});
            }
        }
    }
    void addOuter(int a, int b)
    {
        for (const quint64 key : {keyOf(a, b), keyOf(b, a)})
            if (const auto found = m_pairs.constFind(key); found != m_pairs.constEnd())
                ++m_table.pairs[found.value()].outer;
    }
    int count(int a, int b) const
    {
        const int i = m_pairs.value(keyOf(a, b), -1);
        return i < 0 ? 0 : m_table.pairs.at(i).count;
    }

private:
    PairTable &m_table;
    QHash<QString, int> m_units;
    QHash<quint64, int> m_pairs;
};

// How many character positions of each couplet of a poem the middle couplets of the other poems
// attest: its own middle couplets' pairs are taken off the counts first.
void tallyContrast(PairTable &t, const Counter &counter, const EightLines &poem)
{
    QHash<quint64, int> own;
    const int length = int(poem.lines.first().size());
    for (int k = 1; k <= 2; ++k)
        for (int i = 0; i < length; ++i) {
            const int a = counter.findUnit(poem.lines.at(2 * k).mid(i, 1));
            const int b = counter.findUnit(poem.lines.at(2 * k + 1).mid(i, 1));
            if (a != b)
                ++own[keyOf(a, b)];
        }
    for (int k = 0; k < 4; ++k) {
        const bool middle = k == 1 || k == 2;
        for (int i = 0; i < length; ++i) {
            const int a = counter.findUnit(poem.lines.at(2 * k).mid(i, 1));
            const int b = counter.findUnit(poem.lines.at(2 * k + 1).mid(i, 1));
            const bool attested = a >= 0 && b >= 0 && a != b && counter.count(a, b) > own.value(keyOf(a, b));
            (middle ? t.middlePositions : t.outerPositions) += 1;
            (middle ? t.middleAttested : t.outerAttested) += attested;
        }
    }
}

} // namespace

PairTable countPairs(const QList<EightLines> &poems)
{
    PairTable t;
    Counter counter(t);
    QList<const EightLines *> counted;
    for (const EightLines &poem : poems) {
        if (!isEightOfOneLength(poem))
            continue;
        counted.append(&poem);
        ++t.poems;
        const QList<prosody::Span> spans = prosody::countedSpans(int(poem.lines.first().size()));
        for (int k = 1; k <= 2; ++k) {
            const QList<char32_t> &upper = poem.lines.at(2 * k), &lower = poem.lines.at(2 * k + 1);
            const int couplet = int(t.couplets.size());
            t.couplets.append({poem.poem, k == 1 ? QStringLiteral("颔联") : QStringLiteral("颈联"),
                               textOf(upper), textOf(lower)});
            for (const prosody::Span &s : spans) {
                const QList<char32_t> a = upper.mid(s.from, s.length), b = lower.mid(s.from, s.length);
                if (a != b)
                    counter.addMiddle(counter.unit(a), counter.unit(b), couplet);
            }
        }
    }
    for (const EightLines *poem : counted) {
        const QList<prosody::Span> spans = prosody::countedSpans(int(poem->lines.first().size()));
        for (int k : {0, 3})
            for (const prosody::Span &s : spans) {
                const int a = counter.findUnit(poem->lines.at(2 * k).mid(s.from, s.length));
                const int b = counter.findUnit(poem->lines.at(2 * k + 1).mid(s.from, s.length));
                if (a >= 0 && b >= 0 && a != b)
                    counter.addOuter(a, b);
            }
        tallyContrast(t, counter, *poem);
    }

    // Expected counts from the units' own counts, among units of one length.
    QHash<qsizetype, double> total;
    for (const PairTable::Unit &u : t.units)
        total[u.text.toUcs4().size()] += u.count;
    for (PairTable::Pair &p : t.pairs) {
        const PairTable::Unit &a = t.units.at(p.a), &b = t.units.at(p.b);
        const double expected = double(a.count) * b.count / total.value(a.text.toUcs4().size());
        p.score = int(std::lround(100.0 * p.count * std::log(p.count / expected)));
    }
    std::sort(t.pairs.begin(), t.pairs.end(), [](const PairTable::Pair &x, const PairTable::Pair &y) {
        return std::pair(x.a, x.b) < std::pair(y.a, y.b);
    });

    t.groups = groupUnits(t, 1, kCharGroups, kCharMinCount, 1);
    t.groups += groupUnits(t, 2, kWordGroups, kWordMinCount, t.groups + 1);
    t.groupPairs = pairGroups(t);
    t.characterCount = qint64(total.value(1));
    return t;
}

void writePairTable(ReferenceWriter &writer, const PairTable &t)
{
    writer.insert(cs::tableCoupletUnits, [&](Statement &stmt) {
        for (qsizetype i = 0; i < t.units.size(); ++i) {
            insertRow(stmt, i + 1, t.units.at(i).text, t.units.at(i).count, t.units.at(i).group);
        }
    });
    writer.insert(cs::tablePairs, [&](Statement &stmt) {
        for (const PairTable::Pair &p : t.pairs) {
            insertRow(stmt, p.a + 1, p.b + 1, p.count, p.score, p.outer, p.example + 1);
        }
    });
    writer.insert(cs::tableGroupPairs, [&](Statement &stmt) {
        for (const PairTable::GroupPair &p : t.groupPairs)
            insertRow(stmt, p.a, p.b, p.score);
    });
    writer.insert(cs::tableCouplets, [&](Statement &stmt) {
        for (qsizetype i = 0; i < t.couplets.size(); ++i) {
            const PairTable::Couplet &c = t.couplets.at(i);
            insertRow(stmt, i + 1, c.poem, c.position, c.upper, c.lower);
        }
    });
}

} // namespace builddb
