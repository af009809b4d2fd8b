// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/rowwriter.h"
#include "db/snapshot.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class Connection;
class DataSource;

// A named SQL result with a cursor, in the manner of the pages' queries: the SQL text is a list of
// lines; opening takes a static snapshot of the rows; the current row can be edited, a new row
// inserted, and posting writes the row back to its table by rowid. Every change is announced
// through the query's data source. Nothing here calls back into a control: a control holding typed
// text hands it to the row before it asks for a post or a move.
class Query : public QObject {
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    // The query is a child of the connection and named `name`; its data source is named after it.
    Query(Connection *connection, const QString &name, const QString &sql);
    ~Query() override;

    DataSource *dataSource() const { return m_source; }

    // SQL text
    void close();
    void clearSql() { m_sql.clear(); }
    void addSql(const QString &line) { m_sql << line; }
    const QStringList &sql() const { return m_sql; }
    QString sqlText() const { return m_sql.join(u'\n'); }
    void open();
    bool isOpen() const { return m_open; }

    // Rows and the cursor
    int recordCount() const;
    int rowCount() const noexcept { return m_open ? int(m_order.size()) : 0; }
    int currentRow() const { return m_current; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void prior();
    void next();
    void last();
    void moveTo(int row);

    // Fields of the current row
    int fieldIndex(const QString &name) const { return columnNamed(m_columns, name); }
    QString text(const QString &field) const;
    qint64 integer(const QString &field) const { return typedInteger(text(field)); }
    void setText(const QString &field, const QString &value);
    // Any row, as shown: the current row shows its unposted values.
    QString cellText(int row, int column) const;
    void setCellText(int column, const QString &value);

    // Editing
    State state() const { return m_state; }
    bool isModified() const;
    bool isReadOnly() const { return m_table.isEmpty(); }
    QString tableName() const { return m_table; }
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void remove();
    // Before a move or a replacement of the SQL text: post a row with changed values, otherwise
    // leave edit or insert state (a new row without values disappears).
    void settle();
    // The result's columns, the rowid a row was read with (0 for a new row), a row's value as the
    // table holds it (without the current row's unposted value), and the current row's unposted value.
    const std::vector<ResultColumn> &columns() const { return m_columns; }
    qint64 rowid(int row) const { return row >= 0 && row < rowCount() ? m_rows.rowid(m_order[row]) : 0; }
    QString postedText(int row, int column) const;
    std::optional<QString> pendingText(int column) const;
    // Makes the row with this rowid current; false when the result does not hold it.
    bool locate(qint64 rowid);
    // The index of the field that reads this column of the base table, -1 when none does.
    int fieldOfColumn(const QString &column) const { return columnReading(m_columns, column); }
    // Called whenever a new row has been begun, to preset its values.
    void setNewRowHandler(std::function<void(Query &)> handler) { m_newRow = std::move(handler); }

private:
    void requireOpen() const;
    void requireCurrent() const;
    void requireWritable() const;
    int requireField(const QString &name) const;
    void clearRows();
    void announceReset();
    void toEnd(bool last);
    void step(int by);
    void beginNewRow(int at);
    void backToBrowse();
    void dropCurrentRow();
    QString displayText(quint32 physical, int column) const;
    RowWriter writer() const;
    void writeRow();

    Connection *m_connection;
    DataSource *m_source;
    QStringList m_sql;
    std::function<void(Query &)> m_newRow;

    bool m_open = false;
    QString m_table;     // base table of the result; empty when the result cannot be written
    QString m_rowidName; // the name under which the table's rowid is read
    std::vector<ResultColumn> m_columns;
    Snapshot m_rows;              // physical rows
    std::vector<quint32> m_order; // visible row -> physical row

    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    State m_state = State::Browse;
    RowWriter::Values m_pending; // unposted values of the current row
};
