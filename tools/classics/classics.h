// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/classics/linetones.h"
#include "tools/classics/pairtable.h"
#include "tools/classics/poemreader.h"
#include "tools/classics/rhymewords.h"
#include "tools/common/sources.h"

#include <QString>
#include <QTextStream>

namespace builddb {

struct ClassicsOptions {
    QString output;
    QString rhymeBooks; // the rhyme books to count the rhyme words in; empty: rhymebooks.db beside output
    SourcePaths sources = SourcePaths::installed();
    // Leave an existing output alone when it holds the data version this build would write.
    bool onlyIfOutdated = false;

    QString rhymeBooksPath() const;
};

struct ClassicsSummary {
    bool skipped = false; // up to date already
    CorpusReport corpus;
    qsizetype poems = 0;
    qsizetype lines = 0;
    qsizetype characters = 0; // Chinese characters in the lines
    RhymeWordTally rhymes;
    PairTable pairs; // of the regulated poems of four couplets
    LineToneTally tones;
    qint64 fileSize = 0;
};

// The data version of a classics file built from these sources and rhyme books: the builder's own
// format, the versions of chinese-poetry and OpenCC and the data version of the rhyme books.
QString classicsDataVersion(const ClassicsOptions &options);

// Builds date/classics.db (or options.output) into a temporary file beside it, then puts it in place,
// replacing an older one. Progress goes to log. Throws BuildError naming the missing or malformed
// source, or the rhyme books when they are missing.
ClassicsSummary buildClassicsFile(const ClassicsOptions &options, QTextStream &log);

} // namespace builddb
