// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/sqlite.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace builddb {

// A new reference file (SQLite) written in one transaction: tables first, the CREATE INDEX statements
// of the schema at finish(), which also gives back the pages freed meanwhile. Closed when it goes out
// of scope. Throws BuildError naming the file.
class ReferenceWriter {
public:
    ReferenceWriter(const QString &path, const QStringList &createStatements);

    void exec(const QByteArray &sql);
    // Inserts rows into table through an INSERT of a value for each of its columns, which bindAll
    // binds (insertRow) as often as it has rows.
    void insert(const QString &table, const std::function<void(Statement &)> &bindAll);
    // Runs one statement, which bindAll binds and steps as often as it needs.
    void prepared(const QByteArray &sql, const std::function<void(Statement &)> &bindAll);
    void finish();

private:
    QString m_path;
    QStringList m_indexes;
    std::unique_ptr<SqliteFile> m_file;
};

// Steps a prepared insert once and makes it ready for the next row.
void run(Statement &stmt);

// Inserts one row of values through a prepared insert, numbered from 1 in their order.
template <class... Values> void insertRow(Statement &stmt, const Values &...values)
{
    stmt.bindRow(values...);
    run(stmt);
}

} // namespace builddb
