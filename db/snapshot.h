// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/textstore.h"

#include <QString>

#include <vector>

class Statement;

// The rows a query read, as the table held them: per physical row its rowid and the text of each
// column (or NULL). Rows are only appended, except that the last one may be dropped again.
class Snapshot {
public:
    void reset(int columns);
    int columnCount() const { return m_columns; }
    size_t rowCount() const { return m_rowids.size(); }

    qint64 rowid(quint32 row) const { return m_rowids[row]; }
    void setRowid(quint32 row, qint64 rowid) { m_rowids[row] = rowid; }
    // The stored text; null for NULL.
    QString text(quint32 row, int column) const
    {
        const Cell &cell = m_cells[size_t(row) * m_columns + column];
        if (cell.length == nullLength)
            return {};
        return QString::fromUtf8(m_texts.data(cell), cell.length);
    }
    void put(quint32 row, int column, const char *data, qsizetype length, bool isNull);

    // Appends every row the statement gives: its rowid (read from the first column when `withRowid`,
    // otherwise 0) and a text for each column after it.
    void readRows(Statement &st, bool withRowid);
    // Appends the rows of `other`, taking over its texts.
    void append(Snapshot &&other);
    void reserve(size_t rows);
    // A row of NULLs with rowid 0; returns its index.
    quint32 addRow();
    void removeLastRow();

private:
    using Cell = TextStore::Ref;
    static constexpr quint32 nullLength = 0xffffffffu;

    int m_columns = 0;
    TextStore m_texts;
    std::vector<Cell> m_cells;    // row * column count
    std::vector<qint64> m_rowids; // per row
};
