// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/dialect.h"
#include "db/scansplit.h"

class Snapshot;
class SqliteFile;
class Statement;

// Reads a query planned in parts (see scansplit) into a snapshot: the parts are shared between this
// connection and a second thread over `reader`, and joined in order, so the rows are exactly those
// of the whole query read at once. Only errors of `db` reach the caller: a part the second thread
// could not read is read again here.
namespace parallelread {

void read(SqliteFile &db, SqliteFile &reader, const dialect::Translated &query, const scansplit::Plan &plan,
          Snapshot &into);

// Reads every row of a query into `into`, choosing how: in parts when its result has a rowid (named
// `rowidName` in `table`), there is a second connection, no transaction is open on `db` and the plan
// finds parts worth reading; otherwise whole, through `whole`, the statement prepared for it.
void readAll(SqliteFile &db, SqliteFile *reader, const dialect::Translated &query, const QString &table,
             const QString &rowidName, Statement &whole, Snapshot &into);

} // namespace parallelread
