// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/query.h"

#include "db/datasource.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/parallelread.h"
#include "db/preparedquery.h"
#include "db/resultcolumn.h"
#include "db/sqlite.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <optional>

Query::Query(Connection *connection, const QString &name, const QString &sql)
    : QObject(connection)
    , m_connection(connection)
{
    setObjectName(name);
    m_source = new DataSource(this, this);
    if (!sql.isEmpty())
        m_sql << sql;
}

Query::~Query() = default;

void Query::requireOpen() const
{
    if (!m_open)
        throw DbError(dberror::closedDataset);
}

void Query::requireCurrent() const
{
    requireOpen();
    if (m_current < 0)
        throw DbError(dberror::emptyDataset);
}

int Query::requireField(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
    return index;
}

void Query::clearRows()
{
    m_columns.clear();
    m_rows.reset(0);
    m_order.clear();
    m_order.shrink_to_fit();
    m_pending.clear();
    m_table.clear();
    m_rowidName.clear();
    m_current = -1;
    m_bof = m_eof = true;
    m_state = State::Browse;
}

void Query::close()
{
    if (!m_open)
        return;
    m_open = false;
    clearRows();
    announceReset();
}

void Query::announceReset()
{
    emit m_source->reset();
    emit m_source->currentChanged(m_current);
    emit m_source->stateChanged();
}

void Query::open()
{
    if (m_open)
        return;
    SqliteFile &db = m_connection->file();
    const dialect::Translated translated = dialect::translate(sqlText());
    const PreparedQuery prepared = prepareQuery(db, translated);
    Statement &st = *prepared.statement;
    ResultShape shape = describeResult(st, prepared.rowidName.isEmpty() ? 0 : 1);

    clearRows();
    m_columns = std::move(shape.columns);
    const int count = int(m_columns.size());
    m_rows.reset(count);
    try {
        parallelread::readAll(db, m_connection->reader(), translated, shape.table, prepared.rowidName, st,
                              m_rows);
    } catch (const DbError &) {
        clearRows();
        throw;
    }
    m_order.resize(m_rows.rowCount());
    std::iota(m_order.begin(), m_order.end(), quint32(0));
    m_table = shape.table;
    m_rowidName = prepared.rowidName;
    m_pending.assign(count, std::nullopt);
    m_open = true;
    m_current = m_order.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_order.empty();
    announceReset();
}

QString Query::displayText(quint32 physical, int column) const
{
    const QString stored = m_rows.text(physical, column);
    return m_columns[column].kind == schema::ColumnKind::Date ? dates::shownFromStored(stored) : stored;
}

int Query::recordCount() const
{
    requireOpen();
    return int(m_order.size());
}

QString Query::cellText(int row, int column) const
{
    if (row == m_current)
        if (const std::optional<QString> pending = pendingText(column))
            return *pending;
    return postedText(row, column);
}

QString Query::text(const QString &field) const
{
    requireOpen();
    const int column = requireField(field);
    return cellText(m_current, column);
}

void Query::setText(const QString &field, const QString &value)
{
    requireOpen();
    setCellText(requireField(field), value);
}

void Query::setCellText(int column, const QString &value)
{
    requireOpen();
    if (m_state == State::Browse)
        throw DbError(dberror::notEditing);
    const QString original = m_state == State::Insert ? QString() : displayText(m_order[m_current], column);
    if (value == original)
        m_pending[column].reset();
    else
        m_pending[column] = value;
    emit m_source->rowChanged(m_current);
}

bool Query::isModified() const
{
    return std::any_of(m_pending.begin(), m_pending.end(), [](const auto &v) { return v.has_value(); });
}

QString Query::postedText(int row, int column) const
{
    if (!m_open || row < 0 || row >= rowCount() || column < 0 || column >= int(m_columns.size()))
        return {};
    return displayText(m_order[row], column);
}

std::optional<QString> Query::pendingText(int column) const
{
    if (!m_open || m_state == State::Browse || column < 0 || column >= int(m_pending.size()))
        return std::nullopt;
    return m_pending[column];
}

bool Query::locate(qint64 rowid)
{
    requireOpen();
    for (int row = 0; row < rowCount(); ++row) {
        if (m_rows.rowid(m_order[row]) == rowid && !(row == m_current && m_state == State::Insert)) {
            moveTo(row);
            return m_current == row;
        }
    }
    return false;
}

void Query::first()
{
    toEnd(false);
}

void Query::last()
{
    toEnd(true);
}

void Query::toEnd(bool last)
{
    requireOpen();
    settle();
    const int n = rowCount();
    m_current = last ? n - 1 : (n ? 0 : -1);
    m_bof = !last || n == 0;
    m_eof = last || n == 0;
    emit m_source->currentChanged(m_current);
}

void Query::next()
{
    step(1);
}

void Query::prior()
{
    step(-1);
}

// One row on, or back; stepping past the end (the start) only sets eof (bof).
void Query::step(int by)
{
    requireOpen();
    settle();
    bool &end = by > 0 ? m_eof : m_bof;
    if (end)
        return;
    m_bof = m_eof = false;
    if (m_current + by >= 0 && m_current + by < rowCount()) {
        m_current += by;
        emit m_source->currentChanged(m_current);
    } else {
        end = true;
    }
}

void Query::moveTo(int row)
{
    requireOpen();
    if (row == m_current || row < 0 || row >= rowCount())
        return;
    const int before = rowCount();
    const int from = m_current;
    settle();
    // Settling may have discarded an empty new row above the target.
    if (rowCount() < before && row > from)
        --row;
    if (row == m_current)
        return;
    m_current = row;
    m_bof = m_eof = false;
    emit m_source->currentChanged(m_current);
}

void Query::requireWritable() const
{
    requireOpen();
    if (isReadOnly())
        throw DbError(dberror::readOnly);
}

void Query::edit()
{
    requireOpen();
    if (m_state != State::Browse)
        return;
    requireWritable();
    if (m_order.empty()) {
        insert();
        return;
    }
    m_state = State::Edit;
    emit m_source->stateChanged();
}

void Query::insert()
{
    requireWritable();
    settle();
    beginNewRow(m_current < 0 ? 0 : m_current);
}

void Query::append()
{
    requireWritable();
    settle();
    beginNewRow(rowCount());
}

void Query::beginNewRow(int at)
{
    const quint32 physical = m_rows.addRow();
    m_order.insert(m_order.begin() + at, physical);
    m_current = at;
    m_bof = m_eof = false;
    m_state = State::Insert;
    m_pending.assign(m_columns.size(), std::nullopt);
    emit m_source->rowInserted(at);
    emit m_source->currentChanged(at);
    emit m_source->stateChanged();
    if (m_newRow)
        m_newRow(*this);
}

void Query::post()
{
    requireOpen();
    if (m_state == State::Browse)
        return;
    writeRow();
    backToBrowse();
}

void Query::backToBrowse()
{
    m_pending.assign(m_columns.size(), std::nullopt);
    m_state = State::Browse;
    emit m_source->rowChanged(m_current);
    emit m_source->stateChanged();
}

RowWriter Query::writer() const
{
    return RowWriter(m_connection->file(), m_table, m_rowidName, m_columns);
}

// Writes the changed values of the current row (all set values of a new row) to the base table and
// reads the row back, so that it shows what the table holds. On any failure the row keeps its state
// and values and nothing is written: the write and the read back are one transaction, so that a read
// refused by another program's lock cannot leave a new row stored while the post reports failure
// (posting again would store it twice).
void Query::writeRow()
{
    const quint32 physical = m_order[m_current];
    RowWriter w = writer();
    if (!w.writes(m_pending) && m_state == State::Edit)
        return;
    // The write lock is taken first, so that waiting for another program never turns into a refusal
    // the engine gives at once to avoid a deadlock.
    SqliteFile &file = m_connection->file();
    const bool own = !file.inTransaction();
    if (own)
        file.exec("BEGIN IMMEDIATE");
    try {
        if (m_state == State::Edit)
            w.update(m_rows.rowid(physical), m_pending);
        else
            m_rows.setRowid(physical, w.insert(m_pending));
        w.reload(m_rows.rowid(physical), m_rows, physical);
        if (own)
            file.exec("COMMIT");
    } catch (...) {
        if (own)
            file.rollback();
        throw;
    }
}

void Query::cancel()
{
    if (!m_open || m_state == State::Browse)
        return;
    if (m_state == State::Edit)
        return backToBrowse();
    // A new row disappears; the row that was current before it is current again.
    m_rows.removeLastRow();
    dropCurrentRow();
}

void Query::remove()
{
    requireOpen();
    if (m_state == State::Insert)
        return cancel();
    requireCurrent();
    requireWritable();
    writer().remove(m_rows.rowid(m_order[m_current]));
    dropCurrentRow();
}

// The current row leaves the result; the one after it, or else the last, becomes current.
void Query::dropCurrentRow()
{
    const int at = m_current;
    m_order.erase(m_order.begin() + at);
    m_pending.assign(m_columns.size(), std::nullopt);
    m_state = State::Browse;
    const int n = rowCount();
    m_current = n == 0 ? -1 : std::min(at, n - 1);
    if (n == 0)
        m_bof = m_eof = true;
    emit m_source->rowRemoved(at);
    emit m_source->currentChanged(m_current);
    emit m_source->stateChanged();
}

void Query::settle()
{
    if (!m_open || m_state == State::Browse)
        return;
    if (isModified())
        post();
    else
        cancel();
}
