// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/classics/poemreader.h"
#include "tools/common/referencewriter.h"

#include <QList>

namespace prosody {
class RhymeBooks;
}

// The build step of the tones of every verse line (db/linetonesschema.h), a room apart from the
// other tables of the classics file.
namespace builddb {

struct LineToneTally {
    qint64 lines = 0;   // verse lines whose tones are stored
    qint64 tooLong = 0; // longer than the codes hold
    qint64 unclear = 0; // beside a lost character (□) or a letter
    qint64 bytes = 0;   // of the arrays
};

// Reads the lines of the poems in the order writePoems numbered them, computes each verse line's
// classes in both kinds of book (a character of two readings by the word it stands in) and writes
// the arrays, with the index of the poems by author.
LineToneTally writeLineTones(ReferenceWriter &writer, const QList<ClassicPoem> &poems,
                             const prosody::RhymeBooks &books);

} // namespace builddb
