// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/dialect.h"

#include <QString>

#include <memory>

class SqliteFile;
class Statement;

// A query's statement, ready to run. A plain SELECT of one table is prepared with the table's rowid
// as its first result column, so that its rows can be written back; any other result is read-only.
struct PreparedQuery {
    std::unique_ptr<Statement> statement;
    QString rowidName; // the name the rowid is read under; empty when the result has none
};

// Prepares the one statement of the text and binds its literals. Throws DbError when the text holds
// no statement, more than one, or one the engine refuses.
PreparedQuery prepareQuery(SqliteFile &db, const dialect::Translated &query);
