// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/reading/classes.h"

#include "prosody/reading/versewords.h"

#include <QSet>

#include <algorithm>

namespace prosody {

namespace {

// Whether the book gives the character an entering (入) reading, whose modern reflex may be of any tone.
bool hasEnteringReading(const RhymeBooks &books, Book book, char32_t hanzi)
{
    const RhymeBooks::Memberships ms = books.memberships(book, hanzi);
    if (std::any_of(ms.begin(), ms.end(), [](const RhymeBooks::Membership &m) { return m.tone == Tone::Ru; }))
        return true;
    const std::optional<RhymeBooks::Ungrouped> u = books.ungrouped(book, hanzi);
    return u && u->tone == Tone::Ru;
}

// Whether a word from start to end (exclusive) keeps within the rhythm of a line: 2|3 for five
// characters, 2|2|3 for seven, and in the lines of 词 2|2 for four and 2|2|2 for six (红白|相催, not
// 白相; 望中|风景, not 中风). A word the rhythm rejects leaves the character to its other words, or 中.
// Lines of other lengths have no fixed rhythm.
bool keepsRhythm(qsizetype size, qsizetype start, qsizetype end)
{
    const auto crosses = [&](qsizetype boundary) { return start < boundary && end > boundary; };
    if (size == 4 || size == 5)
        return !crosses(2);
    if (size == 6 || size == 7)
        return !crosses(2) && !crosses(4);
    return true;
}

// The reading of the character in the known words of the line around it that keep its rhythm, the
// longest one named; nothing when the words disagree (学长生: 学长 zhǎng, 长生 cháng).
Reading wordReadingAt(const RhymeBooks &books, const Line &line, qsizetype index)
{
    Reading found;
    for (qsizetype len = std::min<qsizetype>(4, line.size()); len >= 2; --len) {
        for (qsizetype start = std::max<qsizetype>(0, index - len + 1);
             start <= index && start + len <= line.size(); ++start) {
            if (!keepsRhythm(line.size(), start, start + len))
                continue;
            const QString word = line.text(start, len);
            const QString standard = books.variants().standard(word);
            if (readBothWaysInVerse(standard))
                return {};
            const QString verse = verseReading(standard);
            const QStringList syllables =
                (verse.isEmpty() ? books.wordReading(word) : verse).split(u' ', Qt::SkipEmptyParts);
            if (syllables.size() != len)
                continue;
            const QString syllable = syllables.at(index - start);
            const ToneClass c = modernClass(syllable);
            if (c == ToneClass::Unknown)
                continue;
            if (found.word.isEmpty())
                found = {c, word, syllable};
            else if (c != found.cls)
                return {};
        }
    }
    return found;
}

} // namespace

bool isOneMeaningTwoReadings(char32_t hanzi)
{
    // Ours: characters read 平 or 仄 in verse with one meaning, in simplified and traditional forms; the
    // modern reading of their words says nothing of the classical class (不教 jiào, yet 平 in verse).
    // 沈 too: verse writes it for 沉 (平) far more often than as the name 沈 (仄), which is all the
    // modern list reads.
    static const QSet<char32_t> chars = {U'看', U'听', U'聽', U'望', U'忘', U'过', U'過', U'醒',
                                         U'思', U'叹', U'歎', U'嘆', U'漫', U'探', U'教', U'敎',
                                         U'令', U'论', U'論', U'凭', U'憑', U'判', U'傍', U'沈'};
    return chars.contains(hanzi);
}

Reading readingAt(const RhymeBooks &books, const Line &line, qsizetype index, Book book)
{
    const char32_t hanzi = line.chars.at(index);
    const ToneClass c = books.toneClass(book, hanzi);
    if (c != ToneClass::Both ||
        (!isModern(book) && isOneMeaningTwoReadings(books.variants().standard(hanzi))))
        return {c, {}, {}};
    Reading r = wordReadingAt(books, line, index);
    if (r.word.isEmpty())
        return {c, {}, {}};
    // A modern level tone may come from an old entering one: the word does not decide then.
    if (!isModern(book) && r.cls == ToneClass::Ping && hasEnteringReading(books, book, hanzi))
        return {c, {}, {}};
    return r;
}

ToneClass classAt(const RhymeBooks &books, const Line &line, qsizetype index, Book book)
{
    return readingAt(books, line, index, book).cls;
}

QList<ToneClass> classesOf(const RhymeBooks &books, const Line &line, Book book)
{
    QList<ToneClass> out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i)
        out.append(classAt(books, line, i, book));
    return out;
}

Classes classesOf(const RhymeBooks &books, const Poem &poem, Book book)
{
    Classes out;
    out.reserve(poem.lines.size());
    for (const Line &line : poem.lines)
        out.append(classesOf(books, line, book));
    return out;
}

} // namespace prosody
