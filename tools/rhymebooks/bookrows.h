#pragma once

#include "tools/builddb/rhymebooks.h"

#include <QHash>
#include <QList>
#include <QMap>

namespace builddb {

// The readings of every character once gathered and filtered, which the books are written from.
struct SettledReadings {
    const RhymeBookInputs &inputs;
    const QHash<char32_t, QList<ClassicalReading>> &readings;
    // Forms read as their standard characters: the books leave them out.
    const QMap<char32_t, char32_t> &variants;
};

// The four books (平水韵, 词林正韵, 中华新韵, 中华通韵) as rows: the classical ones from the readings, with
// the standard characters that have none under a modern or a Cantonese class; the modern ones from the
// standard readings. The characters of a group come common first, then by use.
QList<Book> booksOf(const SettledReadings &settled);

// The level in the 通用规范汉字表 of a character of rank (1 to 3; 0 outside it).
int standardLevel(int rank);

} // namespace builddb
