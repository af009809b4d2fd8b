// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/query.h"
#include "db/sqlite.h"

#include <QList>

#include <optional>

// The connection to date/W.mdb and the eight predefined queries through which every page reads and
// writes the tables. The queries are children of the connection, named as the pages know them.
class Database {
public:
    // Opens the file and every query; throws DbError with the engine's message when any fails.
    Database(const QString &path, QObject *owner);

    static QString defaultPath();

    Connection *connection() const { return m_connection; }
    QList<Query *> queries() const;
    // What a row of a table holds in a column; nullopt when the table has no such row.
    std::optional<QString> storedText(const QString &table, qint64 rowid, const QString &column) const;

    Query *Edit_psy_ADOQuery;
    Query *Edit_jsy_ADOQuery;
    Query *View_psy_ADOQuery;
    Query *View_jsy_ADOQuery;
    Query *Edit_ADOQuery;
    Query *Show_ADOQuery;
    Query *Cizu_ADOQuery;
    Query *Chengyu_ADOQuery;

private:
    Connection *m_connection;
};
