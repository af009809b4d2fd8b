// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace prosody {
class RhymeBooks;
}

// The characters of a modern reading typed in Latin letters, for the lookup: "shuang" (any tone),
// "shuāng" or "shuang1" (that tone), "lü", "lv" or "lu:".
class PinyinIndex {
public:
    // Every character of the books' groups with a modern reading.
    explicit PinyinIndex(const prosody::RhymeBooks &books);

    // Whether a text is written as pinyin is: Latin letters, tone marks, a tone digit at the end.
    static bool looksLikePinyin(const QString &typed);
    // The characters read so, the common ones first, then by tone; empty for no such reading.
    QList<char32_t> characters(const QString &typed) const;
    // Whether some reading begins with the letters typed: a syllable still being typed.
    bool begins(const QString &typed) const;

private:
    struct Reading {
        char32_t hanzi;
        int tone; // 1 to 4, 5 for the neutral tone
        int level;
    };
    // The syllable without tone marks (ü as v) and its tone; tone 0 when none is given.
    static std::pair<QString, int> split(const QString &pinyin);

    QHash<QString, QList<Reading>> m_bySyllable;
};
