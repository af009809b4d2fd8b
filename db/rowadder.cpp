// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/rowadder.h"

#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite.h"

#include <utility>

namespace {

std::vector<ResultColumn> columnsOf(const QString &table)
{
    std::vector<ResultColumn> out;
    for (const QString &name : schema::columnsOf(table))
        out.push_back({name, name, schema::columnKind(table, name)});
    return out;
}

} // namespace

RowAdder::RowAdder(Connection *connection, const QString &table)
    : m_db(connection->file())
    , m_table(table)
    , m_rowidName(QStringLiteral("rowid"))
    , m_columns(columnsOf(table))
    , m_writer(m_db, m_table, m_rowidName, m_columns)
{
    if (m_columns.empty())
        throw DbError(QStringLiteral("Table '%1' not found").arg(table));
    // IMMEDIATE takes the write lock now: a file another program holds is refused before any row.
    Statement(m_db, "BEGIN IMMEDIATE").step();
    m_open = true;
}

RowAdder::~RowAdder()
{
    rollback();
}

qint64 RowAdder::add(const QHash<QString, QString> &values)
{
    if (!m_open)
        throw DbError(QStringLiteral("No transaction is active"));
    RowWriter::Values row(m_columns.size());
    for (size_t c = 0; c < m_columns.size(); ++c) {
        const auto it = values.constFind(m_columns[c].name);
        if (it != values.constEnd())
            row[c] = *it;
    }
    return m_writer.insert(row);
}

void RowAdder::commit()
{
    if (!m_open)
        throw DbError(QStringLiteral("No transaction is active"));
    try {
        Statement(m_db, "COMMIT").step();
    } catch (...) {
        rollback();
        throw;
    }
    m_open = false;
}

void RowAdder::rollback()
{
    if (!std::exchange(m_open, false))
        return;
    // A failed statement may have ended the transaction already; then there is nothing to undo.
    m_db.rollback();
}
