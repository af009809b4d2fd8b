#pragma once

#include "db/dialect.h"
#include "db/scansplit.h"

struct sqlite3;
class Snapshot;

// Reads a query planned in parts (see scansplit) into a snapshot: the parts are shared between this
// connection and a second thread over `reader`, and joined in order, so the rows are exactly those
// of the whole query read at once. Only errors of `db` reach the caller: a part the second thread
// could not read is read again here.
namespace parallelread {

void read(sqlite3 *db, sqlite3 *reader, const dialect::Translated &query, const scansplit::Plan &plan,
          Snapshot &into);

} // namespace parallelread
