// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dictionary/rhymes.h"

#include "tools/common/builderror.h"
#include "tools/common/unihanentries.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace builddb {

namespace {

const QString kReadingsFile = QStringLiteral("Unihan_Readings.txt.bz2");
const QString kMappingsFile = QStringLiteral("Unihan_OtherMappings.txt.bz2");

// A reading this often or more (about one use in two billion words) is common in its own right,
// whatever the character's other readings: 看 kān, 教 jiāo and 提 dī pass, 单 chán does not.
constexpr double kOwnRightWeight = 5e-10;

// Readings the word frequencies get wrong. The data reads 一场 as yì chǎng, which leaves 场 cháng
// (场院, 一场雨) almost no weight; 和 hè (唱和, 附和) and huó (和面) are everyday words and the
// first is a poet's word.
struct CommonOverride {
    char32_t hanzi;
    const char *syllable;
    int tone;
};
constexpr CommonOverride kCommonOverrides[] = {
    {U'场', "chang", 2},
    {U'和', "he", 4},
    {U'和', "huo", 2},
};

struct RawUnihan {
    QHash<char32_t, int> ranks;
    QHash<char32_t, QList<Reading>> readings;
    QHash<char32_t, Reading> mandarin;
};

Reading parseOrThrow(QStringView text, const QString &file)
{
    const std::optional<Reading> reading = parseReading(text);
    if (!reading)
        throw BuildError(file, QStringLiteral("cannot read the pinyin \"%1\"").arg(text));
    return *reading;
}

// Collects the three fields wherever they occur: Unihan has moved fields between files before.
void scanUnihan(const QByteArray &text, const QString &file, RawUnihan &raw)
{
    forEachUnihanEntry(text, file, [&](char32_t hanzi, QByteArrayView field, QByteArrayView valueBytes) {
        const bool tgh = field == "kTGH";
        const bool standard = field == "kTGHZ2013";
        const bool main = field == "kMandarin";
        if (!tgh && !standard && !main)
            return;
        const QString value = QString::fromUtf8(valueBytes);
        if (tgh) {
            // "2013:N", N the position in the standard list.
            const qsizetype colon = value.indexOf(u':');
            const int rank = colon < 0 ? 0 : value.mid(colon + 1).toInt();
            if (!value.startsWith(u"2013:") || rank <= 0)
                throw BuildError(file, QStringLiteral("bad kTGH value \"%1\"").arg(value));
            raw.ranks.insert(hanzi, rank);
        } else if (standard) {
            // "page.position:reading[,reading]" items separated by spaces.
            QList<Reading> &list = raw.readings[hanzi];
            for (QStringView item : QStringView(value).split(u' ', Qt::SkipEmptyParts)) {
                const qsizetype colon = item.indexOf(u':');
                if (colon < 0)
                    throw BuildError(file, QStringLiteral("bad kTGHZ2013 item \"%1\"").arg(item));
                for (QStringView text : item.sliced(colon + 1).split(u',')) {
                    const Reading reading = parseOrThrow(text, file);
                    if (!list.contains(reading))
                        list.append(reading);
                }
            }
        } else {
            const QStringView first = QStringView(value).split(u' ', Qt::SkipEmptyParts).value(0);
            raw.mandarin.insert(hanzi, parseOrThrow(first, file));
        }
    });
}

QString hanziText(char32_t hanzi)
{
    return QString::fromUcs4(&hanzi, 1);
}

} // namespace

HanziTable readUnihan(const SourcePaths &paths)
{
    RawUnihan raw;
    const QString readingsPath = paths.unihanFile(kReadingsFile);
    const QString mappingsPath = paths.unihanFile(kMappingsFile);
    scanUnihan(readBzip2File(mappingsPath), mappingsPath, raw);
    scanUnihan(readBzip2File(readingsPath), readingsPath, raw);
    if (raw.ranks.isEmpty())
        throw BuildError(mappingsPath, QStringLiteral("holds no kTGH entries"));

    HanziTable table;
    for (auto it = raw.ranks.constBegin(); it != raw.ranks.constEnd(); ++it) {
        const QList<Reading> all = raw.readings.value(it.key());
        if (all.isEmpty())
            throw BuildError(readingsPath,
                             QStringLiteral("no kTGHZ2013 reading for %1").arg(hanziText(it.key())));
        Hanzi hanzi;
        hanzi.rank = it.value();
        for (const Reading &reading : all)
            if (reading.tone != 0 && hasVowel(reading.syllable))
                hanzi.readings.append(reading);
        if (const auto m = raw.mandarin.constFind(it.key()); m != raw.mandarin.constEnd())
            hanzi.mandarin = *m;
        table.insert(it.key(), hanzi);
    }
    return table;
}

QString ReadingWeights::key(char32_t hanzi, const Reading &reading)
{
    return hanziText(hanzi) + reading.key();
}

double ReadingWeights::weight(char32_t hanzi, const Reading &reading) const
{
    return m_weights.value(key(hanzi, reading));
}

void ReadingWeights::add(char32_t hanzi, const Reading &reading, double frequency)
{
    m_weights[key(hanzi, reading)] += frequency;
}

ReadingWeights readReadingWeights(const QString &completeJson, const HanziTable &table)
{
    return readingWeightsOf(readJsonObject(completeJson), table, completeJson);
}

ReadingWeights readingWeightsOf(const QJsonObject &words, const HanziTable &table,
                                const QString &completeJson)
{
    ReadingWeights weights;
    // A few thousand distinct toned syllables recur across 350,000 words: parse each once.
    QHash<QString, std::optional<Reading>> parsed;
    for (auto it = words.constBegin(); it != words.constEnd(); ++it) {
        const QJsonArray entry = it.value().toArray();
        if (entry.size() < 2 || !entry.at(0).isString() || !entry.at(1).isDouble())
            throw BuildError(completeJson,
                             QStringLiteral("entry \"%1\" is not [pinyin, frequency]").arg(it.key()));
        const QList<uint> hanzi = it.key().toUcs4();
        const QString pinyin = entry.at(0).toString();
        const QList<QStringView> syllables = QStringView(pinyin).split(u' ', Qt::SkipEmptyParts);
        // Words whose pinyin does not line up with their characters cannot attribute readings.
        if (syllables.size() != hanzi.size())
            continue;
        const double frequency = entry.at(1).toDouble();
        for (qsizetype i = 0; i < hanzi.size(); ++i) {
            const char32_t c = hanzi[i];
            if (!table.contains(c))
                continue;
            const QString text = syllables[i].toString();
            auto found = parsed.find(text);
            if (found == parsed.end())
                found = parsed.insert(text, parseReading(text));
            if (*found)
                weights.add(c, **found, frequency);
        }
    }
    return weights;
}

bool isCommonReading(char32_t hanzi, const Hanzi &info, const Reading &reading, const ReadingWeights &weights)
{
    for (const CommonOverride &o : kCommonOverrides)
        if (o.hanzi == hanzi && o.tone == reading.tone && reading.syllable == QLatin1String(o.syllable))
            return true;
    if (!info.isLevelOne())
        return false;
    if (info.readings.size() == 1 || info.mandarin == reading)
        return true;
    const double own = weights.weight(hanzi, reading);
    if (own >= kOwnRightWeight)
        return true;
    double best = 0;
    for (const Reading &other : info.readings)
        best = std::max(best, weights.weight(hanzi, other));
    return own > 0 && own >= best;
}

RhymeTables buildRhymeTables(const HanziTable &table, const ReadingWeights &weights,
                             const QString &readingsSource)
{
    struct Member {
        char32_t hanzi;
        int rank;
        double weight;
        bool common;
    };
    QHash<QString, QList<Member>> bySyllable; // key: Reading::key()
    QHash<QString, Reading> readingOf;
    for (auto it = table.constBegin(); it != table.constEnd(); ++it) {
        for (const Reading &reading : it->readings) {
            if (finalOf(reading.syllable).isEmpty())
                throw BuildError(readingsSource,
                                 QStringLiteral("the syllable \"%1\" of %2 maps to none of the 30 finals")
                                     .arg(reading.syllable, hanziText(it.key())));
            const QString key = reading.key();
            readingOf.insert(key, reading);
            bySyllable[key].append({it.key(), it->rank, weights.weight(it.key(), reading),
                                    isCommonReading(it.key(), *it, reading, weights)});
        }
    }

    struct KeyedRow {
        Reading reading;
        RhymeRow row;
    };
    QList<KeyedRow> plain, retroflex;
    RhymeTables tables;
    for (auto it = bySyllable.begin(); it != bySyllable.end(); ++it) {
        QList<Member> &members = *it;
        std::sort(members.begin(), members.end(), [](const Member &a, const Member &b) {
            return a.weight != b.weight ? a.weight > b.weight : a.rank < b.rank;
        });
        const Reading &reading = readingOf[it.key()];
        RhymeRow row{finalOf(reading.syllable), reading.syllable, toneName(reading.tone), {}, {}};
        for (const Member &m : members) {
            (m.common ? row.common : row.rare) += hanziText(m.hanzi);
            ++(m.common ? tables.commonCount : tables.rareCount);
        }
        (isRetroflex(reading.syllable) ? retroflex : plain).append({reading, row});
    }

    // Rows follow the finals table, then the syllable, then the tone, as the rhyme browser lists them.
    const auto order = [](const KeyedRow &a, const KeyedRow &b) {
        const auto fa = finals().indexOf(a.row.final), fb = finals().indexOf(b.row.final);
        if (fa != fb)
            return fa < fb;
        if (a.reading.syllable != b.reading.syllable)
            return a.reading.syllable < b.reading.syllable;
        return a.reading.tone < b.reading.tone;
    };
    std::sort(plain.begin(), plain.end(), order);
    std::sort(retroflex.begin(), retroflex.end(), order);
    for (const KeyedRow &k : plain)
        tables.plain.append(k.row);
    for (const KeyedRow &k : retroflex)
        tables.retroflex.append(k.row);
    return tables;
}

} // namespace builddb
