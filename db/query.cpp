#include "db/query.h"

#include "db/datasource.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/parallelread.h"
#include "db/scansplit.h"
#include "db/sqlite.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <optional>

namespace {

// Adds the rowid, under `name`, as the first result column of a plain SELECT, so that rows can be
// written back.
QByteArray withRowidColumn(const QByteArray &sql, const QString &name)
{
    static const QRegularExpression select(QStringLiteral("^\\s*select\\s+(?!(distinct|all)\\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(sql);
    const QRegularExpressionMatch m = select.match(text);
    if (!m.hasMatch())
        return {};
    return (text.left(m.capturedEnd()) + name + QStringLiteral(", ") + text.mid(m.capturedEnd())).toUtf8();
}

// True when `name`, read as the first result column, is the table's rowid rather than a column of its
// own under that name. (The engine describes the rowid as an integer primary key under any of its
// names, and a column under its own declaration.)
bool firstColumnIsRowid(sqlite3 *db, sqlite3_stmt *h, const QString &name)
{
    const char *table = sqlite3_column_table_name(h, 0);
    const char *type = nullptr;
    int primaryKey = 0;
    return table &&
           sqlite3_table_column_metadata(db, sqlite3_column_database_name(h, 0), table,
                                         name.toUtf8().constData(), &type, nullptr, nullptr, &primaryKey,
                                         nullptr) == SQLITE_OK &&
           primaryKey && type && qstricmp(type, "INTEGER") == 0;
}

// Throws unless the bytes after the first statement are only blanks, semicolons or comments.
void requireSingleStatement(sqlite3 *db, QByteArray tail)
{
    while (!tail.trimmed().isEmpty()) {
        Statement next(db, tail);
        if (next.handle())
            throw DbError(QStringLiteral("Characters found after end of SQL statement."));
        tail = next.tail();
    }
}

} // namespace

Query::Query(Connection *connection, const QString &name, const QString &sql)
    : QObject(connection)
    , m_connection(connection)
{
    setObjectName(name);
    m_source = new DataSource(this);
    if (!sql.isEmpty())
        m_sql << sql;
}

Query::~Query() = default;

QuietWalk::QuietWalk(Query *query)
    : m_query(query)
    , m_wasBlocked(query->dataSource()->blockSignals(true))
{
}

QuietWalk::~QuietWalk()
{
    m_query->dataSource()->blockSignals(m_wasBlocked);
    if (!m_wasBlocked)
        emit m_query->dataSource()->currentChanged(m_query->currentRow());
}

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
    emit m_source->reset();
    emit m_source->currentChanged(-1);
    emit m_source->stateChanged();
}

void Query::clearSql()
{
    m_sql.clear();
}

void Query::addSql(const QString &line)
{
    m_sql << line;
}

void Query::open()
{
    if (m_open)
        return;
    sqlite3 *db = m_connection->handle();
    const dialect::Translated translated = dialect::translate(sqlText());

    std::unique_ptr<Statement> st;
    QString rowidName;
    // The rowid goes by three names; a table may have a column of its own under one or two of them.
    for (const QString &name : {QStringLiteral("_rowid_"), QStringLiteral("rowid"), QStringLiteral("oid")}) {
        const QByteArray withRowid = withRowidColumn(translated.sql, name);
        if (withRowid.isEmpty())
            break;
        try {
            auto candidate = std::make_unique<Statement>(db, withRowid);
            if (firstColumnIsRowid(db, candidate->handle(), name)) {
                st = std::move(candidate);
                rowidName = name;
                break;
            }
        } catch (const DbError &) {
            break; // not a single-table result: opened below without a rowid, read-only
        }
    }
    const bool hasRowid = !rowidName.isEmpty();
    if (!st)
        st = std::make_unique<Statement>(db, translated.sql);
    if (!st->handle())
        throw DbError(QStringLiteral("Command text was not set for the command object."));
    requireSingleStatement(db, st->tail());
    for (int i = 0; i < translated.literals.size(); ++i)
        st->bindText(i + 1, translated.literals[i]);

    sqlite3_stmt *h = st->handle();
    const int first = hasRowid ? 1 : 0;
    const int total = sqlite3_column_count(h);
    std::vector<ResultColumn> columns;
    QString table = hasRowid ? QString::fromUtf8(sqlite3_column_table_name(h, 0)) : QString();
    for (int c = first; c < total; ++c) {
        const QString columnTable = QString::fromUtf8(sqlite3_column_table_name(h, c));
        const QString origin = QString::fromUtf8(sqlite3_column_origin_name(h, c));
        if (columnTable != table)
            table.clear();
        columns.push_back(
            {QString::fromUtf8(sqlite3_column_name(h, c)), origin, schema::columnKind(columnTable, origin)});
    }

    clearRows();
    m_columns = std::move(columns);
    const int count = int(m_columns.size());
    m_rows.reset(count);
    try {
        sqlite3 *reader = m_connection->reader();
        scansplit::Plan plan;
        if (hasRowid && reader && sqlite3_get_autocommit(db))
            plan = scansplit::plan(db, translated, table, rowidName);
        if (!plan.ranges.empty())
            parallelread::read(db, reader, translated, plan, m_rows);
        else
            m_rows.readRows(*st, hasRowid);
    } catch (const DbError &) {
        clearRows();
        throw;
    }
    m_order.resize(m_rows.rowCount());
    std::iota(m_order.begin(), m_order.end(), quint32(0));
    m_table = table;
    m_rowidName = rowidName;
    m_pending.assign(count, std::nullopt);
    m_open = true;
    m_current = m_order.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_order.empty();
    emit m_source->reset();
    emit m_source->currentChanged(m_current);
    emit m_source->stateChanged();
}

QString Query::displayText(quint32 physical, int column) const
{
    const QString stored = m_rows.text(physical, column);
    if (m_columns[column].kind == schema::ColumnKind::Date) {
        const QDate date = dates::fromStored(stored);
        if (date.isValid())
            return dates::display(date);
    }
    return stored;
}

int Query::recordCount() const
{
    requireOpen();
    return int(m_order.size());
}

int Query::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString Query::cellText(int row, int column) const
{
    if (!m_open || row < 0 || row >= int(m_order.size()) || column < 0 || column >= int(m_columns.size()))
        return {};
    if (row == m_current && m_state != State::Browse && m_pending[column])
        return *m_pending[column];
    return displayText(m_order[row], column);
}

QString Query::text(const QString &field) const
{
    requireOpen();
    const int column = requireField(field);
    return cellText(m_current, column);
}

qint64 Query::integer(const QString &field) const
{
    const QString value = typedValue(text(field));
    bool ok = false;
    const qint64 whole = value.toLongLong(&ok);
    if (ok)
        return whole;
    const double number = value.toDouble(&ok);
    return ok ? qRound64(number) : 0;
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

std::optional<recovery::Row> Query::unwritten(int typingColumn, const QString &typingText) const
{
    if (!m_open || m_table.isEmpty() || m_current < 0)
        return std::nullopt;
    const bool typing = typingColumn >= 0 && typingColumn < int(m_columns.size());
    if (m_state == State::Browse && !typing)
        return std::nullopt;
    recovery::Row row{m_table, std::nullopt, {}};
    if (m_state != State::Insert)
        row.rowid = m_rows.rowid(m_order[m_current]);
    for (size_t c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].origin.isEmpty())
            continue;
        std::optional<QString> value = m_state == State::Browse ? std::nullopt : m_pending[c];
        if (typing && int(c) == typingColumn) {
            const QString original =
                m_state == State::Insert ? QString() : displayText(m_order[m_current], int(c));
            value = typingText == original ? std::nullopt : std::optional<QString>(typingText);
        }
        if (value)
            row.fields << recovery::Field{m_columns[c].origin, *value};
    }
    if (row.fields.isEmpty())
        return std::nullopt;
    return row;
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

int Query::fieldOfColumn(const QString &column) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].origin == column)
            return int(i);
    return -1;
}

void Query::first()
{
    requireOpen();
    settle();
    const int n = rowCount();
    m_current = n ? 0 : -1;
    m_bof = true;
    m_eof = n == 0;
    emit m_source->currentChanged(m_current);
}

void Query::last()
{
    requireOpen();
    settle();
    const int n = rowCount();
    m_current = n - 1;
    m_eof = true;
    m_bof = n == 0;
    emit m_source->currentChanged(m_current);
}

void Query::next()
{
    requireOpen();
    settle();
    if (m_eof)
        return;
    m_bof = m_eof = false;
    if (m_current + 1 < rowCount()) {
        ++m_current;
        emit m_source->currentChanged(m_current);
    } else {
        m_eof = true;
    }
}

void Query::prior()
{
    requireOpen();
    settle();
    if (m_bof)
        return;
    m_bof = m_eof = false;
    if (m_current > 0) {
        --m_current;
        emit m_source->currentChanged(m_current);
    } else {
        m_bof = true;
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

void Query::edit()
{
    requireOpen();
    if (m_state != State::Browse)
        return;
    if (isReadOnly())
        throw DbError(dberror::readOnly);
    if (m_order.empty()) {
        insert();
        return;
    }
    m_state = State::Edit;
    emit m_source->stateChanged();
}

void Query::insert()
{
    requireOpen();
    if (isReadOnly())
        throw DbError(dberror::readOnly);
    settle();
    beginNewRow(m_current < 0 ? 0 : m_current);
}

void Query::append()
{
    requireOpen();
    if (isReadOnly())
        throw DbError(dberror::readOnly);
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
    m_pending.assign(m_columns.size(), std::nullopt);
    m_state = State::Browse;
    emit m_source->rowChanged(m_current);
    emit m_source->stateChanged();
}

RowWriter Query::writer() const
{
    return RowWriter(m_connection->handle(), m_table, m_rowidName, m_columns);
}

// Writes the changed values of the current row (all set values of a new row) to the base table and
// reads the row back, so that it shows what the table holds. On any failure the row keeps its state
// and values.
void Query::writeRow()
{
    const quint32 physical = m_order[m_current];
    RowWriter w = writer();
    if (m_state == State::Edit) {
        if (!w.update(m_rows.rowid(physical), m_pending))
            return;
    } else {
        m_rows.setRowid(physical, w.insert(m_pending));
    }
    w.reload(m_rows.rowid(physical), m_rows, physical);
}

void Query::cancel()
{
    if (!m_open || m_state == State::Browse)
        return;
    if (m_state == State::Edit) {
        m_pending.assign(m_columns.size(), std::nullopt);
        m_state = State::Browse;
        emit m_source->rowChanged(m_current);
        emit m_source->stateChanged();
        return;
    }
    // A new row disappears; the row that was current before it is current again.
    const int at = m_current;
    m_order.erase(m_order.begin() + at);
    m_rows.removeLastRow();
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

void Query::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    requireCurrent();
    if (isReadOnly())
        throw DbError(dberror::readOnly);
    writer().remove(m_rows.rowid(m_order[m_current]));

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
