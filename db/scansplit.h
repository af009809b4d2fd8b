#pragma once

#include "dialect.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

struct sqlite3;

// A query that reads a large table row by row, with nothing an index could narrow (all its rows, or
// one like test whose pattern starts with a wildcard), can be read in parts by rowid range, by two
// threads at once. The rows come out in rowid order either way, so the parts joined in order are
// exactly the rows of the whole.
namespace scansplit {

// Consecutive inclusive rowid ranges that together cover every rowid, or none when the query should
// be read whole. `table` is the one table of the result, whose rowid goes by `rowidName`. Throws
// DbError when the engine cannot read the table.
std::vector<std::pair<qint64, qint64>> parts(sqlite3 *db, const dialect::Translated &query,
                                             const QString &table, const QString &rowidName);

// The query restricted to one range, with the rowid as its first column. The query's own literal
// is parameter 1; the range's ends are the two parameters after it.
QByteArray rangeQuery(const dialect::Translated &query, const QString &rowidName);

} // namespace scansplit
