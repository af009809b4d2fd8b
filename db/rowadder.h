// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/rowwriter.h"

#include <QHash>
#include <QString>

#include <vector>

class Connection;
class SqliteFile;

// Adds new rows to one table inside a single write transaction: the rows are kept only by commit();
// a rollback, an error or the adder going away uncommitted leaves the table as it was. Values are
// texts by column name, stored as the pages store typed values (integers and dates checked); a
// column without a value keeps its default.
class RowAdder {
public:
    // Begins the transaction; throws DbError when the file cannot be written (read-only, locked).
    RowAdder(Connection *connection, const QString &table);
    ~RowAdder();
    RowAdder(const RowAdder &) = delete;
    RowAdder &operator=(const RowAdder &) = delete;

    // Inserts one row; returns its rowid. Throws DbError.
    qint64 add(const QHash<QString, QString> &values);
    // Throws DbError; the rows are then rolled back.
    void commit();
    void rollback();
    bool isOpen() const { return m_open; }

private:
    SqliteFile &m_db;
    QString m_table;
    QString m_rowidName;
    std::vector<ResultColumn> m_columns;
    RowWriter m_writer; // refers to the members above
    bool m_open = false;
};
