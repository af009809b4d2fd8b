// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/sources.h"
#include "tools/rhymebooks/cipu.h"
#include "tools/rhymebooks/dataversion.h"
#include "tools/rhymebooks/rhymebooks.h"

#include <QString>
#include <QTextStream>

namespace builddb {

struct ReferenceOptions {
    QString output;
    SourcePaths sources = SourcePaths::installed();
    // Leave an existing output alone when it holds the data version this build would write.
    bool onlyIfOutdated = false;
};

struct ReferenceSummary {
    bool skipped = false; // up to date already
    RhymeBooks books;
    DerivedCipu cipu;
    qsizetype wordReadings = 0;
    qint64 fileSize = 0;
};

// Builds date/rhymebooks.db (or options.output) from the installed sources into a temporary file
// beside it, then puts it in place, replacing an older one. Progress goes to log. Throws
// BuildError naming the missing or malformed source.
ReferenceSummary buildReferenceFile(const ReferenceOptions &options, QTextStream &log);

// Words of @pinyin-pro/data's complete.json that hold a character whose standard readings differ
// in 平仄, with their pinyin.
QMap<QString, QString> polyphoneWords(const QJsonObject &complete, const HanziTable &standard);

} // namespace builddb
