// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace prosody {

// One line of verse: its characters (Chinese characters only; punctuation, blanks, notes in brackets
// and other letters are not part of the metre) and where each stands in the text it was read from.
struct Line {
    QList<char32_t> chars;
    QList<int> offsets;  // UTF-16 offset of each character in the source text
    int sourceLine = 0;  // 0-based line of the source text
    bool closed = false; // ended by sentence punctuation, not by the end of the text or of its line

    qsizetype size() const { return chars.size(); }
    QString text() const;
    QString text(qsizetype from, qsizetype count) const;
    // The character's UTF-16 length: 2 beyond the Basic Multilingual Plane.
    int width(qsizetype i) const { return chars.at(i) > 0xFFFF ? 2 : 1; }
};

struct Poem {
    QString title;  // a leading line that is not verse, when there is one
    QString author; // a line that names only the author ("唐·杜甫", "——李白"), when there is one
    QList<Line> lines;
    // The title's 句 when only its lack of stops made it a title: a 词 pasted with the final stops
    // removed may begin with a 句 of its own (近清明), which the check may take back as verse.
    QList<Line> doubtfulTitle;
    int start = 0; // UTF-16 span of the poem in the source text (title included)
    int end = 0;
};

// What the reader knows of names beyond the forms of regulated verse: whether a name is a 词牌's (its own
// name when `exact`, else also an alias), so that a title naming one is not read as verse.
struct ReadingNames {
    std::function<bool(const QString &name, bool exact)> isTune;
};

// Whether a character ends a line: the sentence punctuation and blanks the reader splits at.
bool isLineBreak(char32_t c);

// Whether a character counts in the metre: a Chinese character (CJK ideographs, any plane).
bool isVerseChar(char32_t c);
// Whether a character is the mark a text prints for a character lost or that it cannot print (□, 〓):
// the reader keeps its place in the line, of no known tone.
bool isLostChar(char32_t c);

} // namespace prosody
