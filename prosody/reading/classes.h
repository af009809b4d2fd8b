#pragma once

#include "prosody/core/books.h"
#include "prosody/text/reader.h"

#include <QList>

namespace prosody {

// The classes of a poem's characters, line by line.
using Classes = QList<QList<ToneClass>>;

// The class of the character at index in a line: for the modern books, a character of both classes
// takes the class of its reading in a word of the line the word list knows (长安).
ToneClass classAt(const RhymeBooks &books, const Line &line, qsizetype index, Book book);

// Every character's class, computed once for a check.
QList<ToneClass> classesOf(const RhymeBooks &books, const Line &line, Book book);
Classes classesOf(const RhymeBooks &books, const Poem &poem, Book book);

} // namespace prosody
