// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/tianzi/continuationcode.h"
#include "tools/classics/poemreader.h"
#include "tools/common/referencewriter.h"

#include <QList>
#include <QMap>
#include <QString>

// The table 续字 of date/classics.db: for each clause length and place, the characters the classics
// write after the one or two characters before it, or at the place with nothing known before, with
// their counts and a first line. The 填字 helper ranks its words from it.
namespace builddb {

struct ContinuationTable {
    QMap<qint64, QList<classics::tianzi::Next>> rows; // by key, each most frequent first
    qsizetype clauses = 0;                            // clauses counted by their places
    qsizetype entries = 0;                            // entries kept in the rows
    qsizetype dropped = 0;                            // entries seen once, or beyond a row's cap
};

// Counts the clauses of every poem; the line numbers are those writePoems gives, the poems being in
// the order written.
ContinuationTable countContinuations(const QList<ClassicPoem> &poems);
void writeContinuations(ReferenceWriter &writer, const ContinuationTable &table);

} // namespace builddb
