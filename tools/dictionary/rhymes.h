// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/sources.h"
#include "tools/dictionary/pinyin.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace builddb {

// A character of the standard list (通用规范汉字表) with its standard readings.
struct Hanzi {
    int rank = 0;            // position in the list; 1 to 3500 is level 1
    QList<Reading> readings; // in the order the standard lists them
    std::optional<Reading> mandarin;

    bool isLevelOne() const { return rank >= 1 && rank <= 3500; }
};

using HanziTable = QHash<char32_t, Hanzi>;

// Reads the characters (kTGH), their readings (kTGHZ2013) and main readings (kMandarin) from the
// Unihan files in paths.unihan. Neutral-tone readings and readings without a vowel are left out.
HanziTable readUnihan(const SourcePaths &paths);

// How often each character is read with each reading, from word frequencies.
class ReadingWeights {
public:
    double weight(char32_t hanzi, const Reading &reading) const;
    void add(char32_t hanzi, const Reading &reading, double frequency);

private:
    static QString key(char32_t hanzi, const Reading &reading);
    QHash<QString, double> m_weights;
};

// Sums, for every character reading of the table, the frequencies of the words of
// @pinyin-pro/data's complete.json in which the character has that reading.
ReadingWeights readReadingWeights(const QString &completeJson, const HanziTable &table);
// The same from the file's content; completeJson names it in errors.
ReadingWeights readingWeightsOf(const QJsonObject &words, const HanziTable &table,
                                const QString &completeJson);

// One row of a rhyme table: all characters read with one syllable and tone.
struct RhymeRow {
    QString final;
    QString syllable;
    QString tone;
    QString common; // most frequent first
    QString rare;   // most frequent first
};

struct RhymeTables {
    QList<RhymeRow> plain;     // 平舌音
    QList<RhymeRow> retroflex; // 卷舌音
    qsizetype commonCount = 0;
    qsizetype rareCount = 0;
};

// Whether a character reading belongs to the common characters (简易) rather than the rare ones.
bool isCommonReading(char32_t hanzi, const Hanzi &info, const Reading &reading,
                     const ReadingWeights &weights);

// Groups the readings into rows. Throws BuildError naming readingsSource on a syllable that maps
// to none of the 30 finals.
RhymeTables buildRhymeTables(const HanziTable &table, const ReadingWeights &weights,
                             const QString &readingsSource);

} // namespace builddb
