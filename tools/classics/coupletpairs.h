// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/classics/pairtable.h"

#include <QList>
#include <QString>

namespace builddb {

class ReferenceWriter;

// A regulated poem of four couplets as the pair table reads it: its number in the classics file and
// its eight lines of five or seven characters.
struct EightLines {
    qint64 poem = 0;
    QList<QList<char32_t>> lines;
};

// Counts the pairs of the poems' middle couplets and groups their units (coupletgroups.h).
PairTable countPairs(const QList<EightLines> &poems);

// Writes the table into the classics file's tables 对语, 对仗 and 联 (db/classicsschema.h).
void writePairTable(ReferenceWriter &writer, const PairTable &table);

} // namespace builddb
