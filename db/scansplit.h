// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/dialect.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

class SqliteFile;

// A query that reads a large table row by row, with nothing an index could narrow (all its rows, or
// one like test whose pattern starts with a wildcard), can be read in parts by rowid range, by two
// threads at once. The rows come out in rowid order either way, so the parts joined in order are
// exactly the rows of the whole.
namespace scansplit {

struct Plan {
    QByteArray sql; // the query restricted to one range; the ranges' ends follow its own literal
    std::vector<std::pair<qint64, qint64>> ranges; // consecutive, inclusive, covering every rowid
};

// How to read the query in parts: no ranges when it should be read whole. `table` is the one table
// of the result, whose rowid goes by `rowidName`. Throws DbError when the engine cannot read the table.
Plan plan(SqliteFile &db, const dialect::Translated &query, const QString &table, const QString &rowidName);

} // namespace scansplit
