// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace builddb {

// One toned pinyin reading: the toneless syllable (with ü and ê as pinyin writes them) and its
// tone, 1 to 4, or 0 for the neutral tone.
struct Reading {
    QString syllable;
    int tone = 0;

    // Compact form used as a lookup key, such as "lü4".
    QString key() const { return syllable + QChar(u'0' + tone); }
    // The reading as pinyin writes it, with its tone mark ("cháng").
    QString marked() const;
    bool operator==(const Reading &other) const = default;
};

// Parses a reading written with tone marks, precomposed or combining ("cháng", "lǜ", "ê̄").
// Returns nothing when the text holds anything but pinyin letters and tone marks.
std::optional<Reading> parseReading(QStringView text);

// Whether the syllable holds a vowel; m, n, ng, hm and hng do not.
bool hasVowel(QStringView syllable);

// The final the syllable rhymes on, one of finals(); empty when the syllable cannot be mapped.
QString finalOf(const QString &syllable);

// The 30 finals the rhyme tables use.
const QStringList &finals();

// Whether the syllable starts with a retroflex initial (zh, ch, sh, r).
bool isRetroflex(QStringView syllable);

// "阴平", "阳平", "上声" or "去声" for tones 1 to 4.
QString toneName(int tone);

} // namespace builddb
