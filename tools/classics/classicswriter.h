// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/variants.h"
#include "tools/classics/poemreader.h"
#include "tools/classics/rhymewords.h"
#include "tools/common/referencewriter.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The write steps of the classics file: each fills its tables (db/classicsschema.h) through the writer.
namespace builddb {

// A stretch of lines, by their numbers, all of one dynasty.
struct DynastyRun {
    qint64 first;
    qint64 last;
    QString dynasty;
};

// What the lines written hold, for the tables counted from them and the build's report.
struct LineTally {
    qint64 lines = 0;
    qsizetype characters = 0;              // Chinese characters in the lines
    QHash<char32_t, QList<int>> charLines; // lines holding a character, by dynasty
    QList<DynastyRun> runs;                // in the order of the lines
};

// The poems in their order, their lines and the full-text index of the lines; `dynasties` in the order
// the poems come. The index and the character counts hold the standard characters the lines stand for,
// as searches read their text; the lines stay as the sources print them.
LineTally writePoems(ReferenceWriter &writer, const QList<ClassicPoem> &poems, const QStringList &dynasties,
                     const prosody::Variants &variants);
void writeDynasties(ReferenceWriter &writer, const QStringList &dynasties, const QList<DynastyRun> &runs);
void writeCharCounts(ReferenceWriter &writer, const QHash<char32_t, QList<int>> &charLines,
                     const QStringList &dynasties);
void writeRhymeWords(ReferenceWriter &writer, const RhymeWordTally &tally);
// The rhyme books' table of forms, through which a search text is read.
void writeVariants(ReferenceWriter &writer, const prosody::Variants &variants);
void writeTotals(ReferenceWriter &writer, const QList<std::pair<QString, qint64>> &totals);
void writeVersion(ReferenceWriter &writer, const QString &version);

// Merges the full-text index into one segment, which reads fastest.
void optimizeIndex(ReferenceWriter &writer);
// Throws BuildError naming `file` unless the index holds as many distinct characters as the lines: its
// tokenizer must take every character the builder counts as a token of its own, or a phrase would miss
// lines a plain scan finds.
void verifyIndex(ReferenceWriter &writer, qsizetype distinctChars, const QString &file);

} // namespace builddb
