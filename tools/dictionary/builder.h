// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/sources.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QTextStream>

namespace builddb {

struct BuildOptions {
    QString output;
    SourcePaths sources = SourcePaths::installed();
    QString openccConfig = QStringLiteral("t2s.json");
    QDate date = QDate::currentDate(); // the 日期 of the classic works
};

struct BuildSummary {
    qsizetype plainRows = 0;
    qsizetype retroflexRows = 0;
    qsizetype commonChars = 0;
    qsizetype rareChars = 0;
    qsizetype idioms = 0;
    qsizetype words = 0;
    qsizetype wordsWithoutMeaning = 0;
    QMap<QString, qsizetype> worksByCategory;
    qint64 fileSize = 0;
};

// Reads every source, then writes the database into a temporary file beside output and renames
// it only when complete, so that output never holds half a database. Refuses to replace an
// existing output, which holds the user's works. Progress goes to log. Throws BuildError.
BuildSummary buildDatabase(const BuildOptions &options, QTextStream &log);

} // namespace builddb
