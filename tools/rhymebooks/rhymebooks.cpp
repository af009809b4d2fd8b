// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/rhymebooks.h"

#include <QMap>
#include <QSet>

#include <algorithm>

namespace builddb {

namespace {

QChar modernToneChar(int tone)
{
    return tone <= 2 ? u'平' : tone == 3 ? u'上' : u'去';
}

// A Cantonese reading ending in p, t or k before its tone number keeps the old entering tone.
bool isCantoneseEntering(const QString &jyutping)
{
    const qsizetype digits = jyutping.size() - 1;
    if (digits < 1 || !jyutping.back().isDigit())
        return false;
    const QChar last = jyutping.at(digits - 1);
    return last == u'p' || last == u't' || last == u'k';
}

// Puts the readings into the four books. The forms the table of forms reads as their standard
// characters are left out of them.
class Assembler {
public:
    Assembler(const RhymeBookInputs &in, const ClassicalReadings &gathered)
        : m_in(in)
        , m_readings(gathered.readings)
        , m_variants(gathered.variants)
    {
    }

    QList<Book> books() const
    {
        return {pingshui(neighbours()), cilin(), modern(books::xinyun, xinyunGroups(), xinyunGroupOf),
                modern(books::tongyun, tongyunGroups(), tongyunGroupOf)};
    }

private:
    int levelOfChar(char32_t c) const { return standardLevel(m_in.standard.value(c).rank); }

    double weightOf(char32_t c) const
    {
        if (!m_in.weights)
            return 0;
        double sum = 0;
        for (const Reading &r : m_in.standard.value(c).readings)
            sum += m_in.weights->weight(c, r);
        return sum;
    }

    // Common characters first, then the frequent ones, then by code point; numbered per group.
    void orderChars(QList<BookChar> &chars) const
    {
        QHash<char32_t, double> weight;
        for (const BookChar &c : chars)
            if (!weight.contains(c.hanzi))
                weight.insert(c.hanzi, weightOf(c.hanzi));
        std::sort(chars.begin(), chars.end(), [&](const BookChar &a, const BookChar &b) {
            if (a.group != b.group)
                return a.group < b.group;
            const int la = a.level == 0 ? 4 : a.level, lb = b.level == 0 ? 4 : b.level;
            if (la != lb)
                return la < lb;
            if (weight[a.hanzi] != weight[b.hanzi])
                return weight[a.hanzi] > weight[b.hanzi];
            return a.hanzi != b.hanzi ? a.hanzi < b.hanzi : a.tone < b.tone;
        });
        QString group;
        int order = 0;
        for (BookChar &c : chars) {
            if (c.group != group)
                group = c.group, order = 0;
            c.order = ++order;
        }
    }

    // Standard characters with no classical reading: an entering tone kept in Cantonese, else
    // the modern reading.
    QList<UngroupedChar> ungroupedClassical() const
    {
        QList<UngroupedChar> out;
        for (auto it = m_in.standard.constBegin(); it != m_in.standard.constEnd(); ++it) {
            if (!m_readings.value(it.key()).isEmpty())
                continue;
            const int level = standardLevel(it->rank);
            const QStringList cantonese = m_in.unihan.cantonese.value(it.key());
            if (std::any_of(cantonese.begin(), cantonese.end(), isCantoneseEntering)) {
                out.append({it.key(), u'入', level, QStringLiteral("粤音入声")});
                continue;
            }
            QList<QChar> tones;
            for (const Reading &r : it->readings)
                if (!tones.contains(modernToneChar(r.tone)))
                    tones.append(modernToneChar(r.tone));
            for (QChar t : tones)
                out.append({it.key(), t, level, QStringLiteral("今读")});
        }
        return out;
    }

    template <typename GroupOf>
    Book classical(const QString &name, QList<BookGroup> groups, GroupOf groupOf) const
    {
        Book book{name, std::move(groups), {}, ungroupedClassical(), {}};
        QSet<QString> seen;
        for (auto it = m_readings.constBegin(); it != m_readings.constEnd(); ++it) {
            if (m_variants.contains(it.key()))
                continue; // read as its standard character
            for (const ClassicalReading &r : *it) {
                const QString group = groupOf(it.key(), r);
                const QString key = hanziText(it.key()) + group + toneChar(r.tone);
                if (group.isEmpty() || seen.contains(key))
                    continue;
                seen.insert(key);
                book.chars.append({group, it.key(), toneChar(r.tone), levelOfChar(it.key()), 0});
            }
        }
        orderChars(book.chars);
        return book;
    }

    Book pingshui(QList<std::pair<QString, QString>> neighbours) const
    {
        QList<BookGroup> groups;
        for (const PingshuiGroup &g : pingshuiGroups())
            groups.append({int(groups.size()) + 1, g.name, toneChar(g.tone)});
        Book book = classical(books::pingshui, groups, [](char32_t, const ClassicalReading &r) {
            const int g = pingshuiGroupOf(r.tone, r.rhyme);
            return g < 0 ? QString() : pingshuiGroups().at(g).name;
        });
        book.neighbours = std::move(neighbours);
        return book;
    }

    // 平水韵 groups whose readings fall into a common 部 of the 词林正韵 (十灰 with 四支 and 九佳).
    QList<std::pair<QString, QString>> neighbours() const
    {
        QMap<int, QSet<int>> groupsOfSection; // 部 × tone → 平水韵 groups
        for (auto it = m_readings.constBegin(); it != m_readings.constEnd(); ++it) {
            for (const ClassicalReading &r : *it) {
                const int g = pingshuiGroupOf(r.tone, r.rhyme);
                if (g >= 0)
                    groupsOfSection[cilinSectionOf(g, r.rhyme, r.hu, it.key()) * 4 + int(r.tone)].insert(g);
            }
        }
        QSet<std::pair<int, int>> pairs;
        for (const QSet<int> &groups : groupsOfSection)
            for (int a : groups)
                for (int b : groups)
                    if (a != b)
                        pairs.insert({a, b});
        QList<std::pair<int, int>> sorted(pairs.begin(), pairs.end());
        std::sort(sorted.begin(), sorted.end());
        QList<std::pair<QString, QString>> out;
        for (const auto &[a, b] : sorted)
            out.append({pingshuiGroups().at(a).name, pingshuiGroups().at(b).name});
        return out;
    }

    Book cilin() const
    {
        QList<BookGroup> groups;
        for (int section = 1; section <= 19; ++section) {
            const QString name = cilinSectionName(section);
            if (section <= 14) {
                for (Tone t : {Tone::Ping, Tone::Shang, Tone::Qu})
                    groups.append({section, name, toneChar(t)});
            } else {
                groups.append({section, name, toneChar(Tone::Ru)});
            }
        }
        return classical(books::cilin, groups, [](char32_t hanzi, const ClassicalReading &r) {
            const int g = pingshuiGroupOf(r.tone, r.rhyme);
            return g < 0 ? QString() : cilinSectionName(cilinSectionOf(g, r.rhyme, r.hu, hanzi));
        });
    }

    Book modern(const QString &name, const QStringList &names, int (*groupOf)(const QString &)) const
    {
        Book book{name, {}, {}, {}, {}};
        for (qsizetype i = 0; i < names.size(); ++i)
            for (QChar t : {QChar(u'平'), QChar(u'上'), QChar(u'去')})
                book.groups.append({int(i) + 1, names.at(i), t});
        QSet<QString> seen;
        for (auto it = m_in.standard.constBegin(); it != m_in.standard.constEnd(); ++it) {
            for (const Reading &r : it->readings) {
                const int g = groupOf(r.syllable);
                const QString key = hanziText(it.key()) + names.value(g) + modernToneChar(r.tone);
                if (g < 0 || seen.contains(key))
                    continue;
                seen.insert(key);
                book.chars.append(
                    {names.at(g), it.key(), modernToneChar(r.tone), standardLevel(it->rank), 0});
            }
        }
        orderChars(book.chars);
        return book;
    }

    const RhymeBookInputs &m_in;
    const QHash<char32_t, Readings> &m_readings;
    const QMap<char32_t, char32_t> &m_variants;
};

} // namespace

RhymeBooks buildRhymeBooks(const RhymeBookInputs &inputs)
{
    const ClassicalReadings gathered = gatherReadings(inputs);
    RhymeBooks out;
    out.books = Assembler(inputs, gathered).books();
    for (auto it = inputs.standard.constBegin(); it != inputs.standard.constEnd(); ++it)
        for (const Reading &r : it->readings)
            out.readings[it.key()].append(r.marked());
    out.filter = gathered.report;
    out.variants = gathered.variants;
    if (inputs.variants)
        out.alsoFor = inputs.variants->alsoFor;
    return out;
}

} // namespace builddb
