// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/text/reader.h"

#include <QList>

namespace prosody {

// The classes of a poem's characters, line by line.
using Classes = QList<QList<ToneClass>>;

// How a character's class was settled: by the book alone, or by the word it stands in.
struct Reading {
    ToneClass cls = ToneClass::Unknown;
    QString word;   // the word that decided it ("长江"); empty when the book alone did
    QString pinyin; // the word's reading of the character ("cháng")
};

// The class of the character at index in a line. A character of both classes takes the class of its
// reading in a word of the line the word list knows (长安 cháng, 生长 zhǎng): in the modern books that
// reading's class; in the classical books the class of the classical reading whose regular modern
// reflex the word's reading is (平 → 阴平, 阳平; 上 and 去 → 上声, 去声), so a word read level keeps
// 中 where the character has an entering reading too. Characters whose two classical readings are one
// meaning (看, 听, 思, 望 …) stay 中 in the classical books whatever the word.
Reading readingAt(const RhymeBooks &books, const Line &line, qsizetype index, Book book);
ToneClass classAt(const RhymeBooks &books, const Line &line, qsizetype index, Book book);

// Every character's class, computed once for a check.
QList<ToneClass> classesOf(const RhymeBooks &books, const Line &line, Book book);
Classes classesOf(const RhymeBooks &books, const Poem &poem, Book book);

// Whether the two classical readings of a character are one meaning, which verse reads either way.
bool isOneMeaningTwoReadings(char32_t hanzi);

} // namespace prosody
