// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/pinyinindex.h"

#include "prosody/core/books.h"

#include <algorithm>

using namespace prosody;

PinyinIndex::PinyinIndex(const RhymeBooks &books)
{
    QHash<char32_t, int> levels; // the level of every character once
    for (Book b : allBooks)
        for (int g = 0; g < books.groups(b).size(); ++g)
            for (const RhymeBooks::Member &m : books.members(b, g))
                levels.insert(m.hanzi, m.level == 0 ? 4 : m.level);
    for (auto it = levels.cbegin(); it != levels.cend(); ++it) {
        for (const QString &reading : books.readings(it.key())) {
            // Named apart: clang before 16 cannot capture a structured binding (the fuzz tree uses clang).
            const std::pair<QString, int> parts = split(reading);
            const int tone = parts.second;
            QList<Reading> &list = m_bySyllable[parts.first];
            const bool seen = std::any_of(list.cbegin(), list.cend(), [&](const Reading &r) {
                return r.hanzi == it.key() && r.tone == tone;
            });
            if (!seen)
                list.append({it.key(), tone == 0 ? 5 : tone, it.value()});
        }
    }
    for (QList<Reading> &list : m_bySyllable)
        std::sort(list.begin(), list.end(), [](const Reading &a, const Reading &b) {
            return std::tie(a.level, a.tone, a.hanzi) < std::tie(b.level, b.tone, b.hanzi);
        });
}

std::pair<QString, int> PinyinIndex::split(const QString &pinyin)
{
    // Decomposed, a tone mark is a combining mark after its vowel and ü is u with a diaeresis.
    const QString decomposed = pinyin.trimmed().toLower().normalized(QString::NormalizationForm_D);
    QString syllable;
    int tone = 0;
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        const QChar c = decomposed.at(i);
        switch (c.unicode()) {
        case 0x0304:
            tone = 1;
            break;
        case 0x0301:
            tone = 2;
            break;
        case 0x030C:
            tone = 3;
            break;
        case 0x0300:
            tone = 4;
            break;
        case 0x0308: // ü
            if (syllable.endsWith(u'u'))
                syllable.back() = u'v';
            break;
        case u':': // lu: for lü
            if (syllable.endsWith(u'u'))
                syllable.back() = u'v';
            break;
        default:
            if (c >= u'1' && c <= u'5' && i == decomposed.size() - 1)
                tone = c.digitValue();
            else
                syllable += c;
        }
    }
    return {syllable, tone};
}

bool PinyinIndex::looksLikePinyin(const QString &typed)
{
    const auto [syllable, tone] = split(typed);
    return !syllable.isEmpty() &&
           std::all_of(syllable.cbegin(), syllable.cend(), [](QChar c) { return c >= u'a' && c <= u'z'; });
}

QList<char32_t> PinyinIndex::characters(const QString &typed) const
{
    const auto [syllable, tone] = split(typed);
    QList<char32_t> out;
    for (const Reading &r : m_bySyllable.value(syllable))
        if ((tone == 0 || r.tone == tone) && !out.contains(r.hanzi))
            out.append(r.hanzi);
    return out;
}

bool PinyinIndex::begins(const QString &typed) const
{
    const QString syllable = split(typed).first;
    for (auto it = m_bySyllable.cbegin(); it != m_bySyllable.cend(); ++it)
        if (it.key().startsWith(syllable))
            return true;
    return false;
}
