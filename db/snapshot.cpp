// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/snapshot.h"

#include "db/sqlite.h"

void Snapshot::reset(int columns)
{
    m_columns = columns;
    m_texts.clear();
    m_cells.clear();
    m_cells.shrink_to_fit();
    m_rowids.clear();
    m_rowids.shrink_to_fit();
}

void Snapshot::put(quint32 row, int column, const char *data, qsizetype length, bool isNull)
{
    Cell &cell = m_cells[size_t(row) * m_columns + column];
    cell = isNull ? Cell{0, nullLength} : m_texts.add(data, size_t(length));
}

void Snapshot::readRows(Statement &st, bool withRowid)
{
    const int first = withRowid ? 1 : 0;
    const int end = m_columns + first;
    TextStore &texts = m_texts;
    std::vector<Cell> &cells = m_cells;
    while (st.step()) {
        m_rowids.push_back(withRowid ? st.int64(0) : 0);
        for (int c = first; c < end; ++c) {
            // Only NULL (or a failed conversion) gives no text.
            const QByteArrayView text = st.bytes(c);
            cells.push_back(text.data() ? texts.add(text.data(), size_t(text.size())) : Cell{0, nullLength});
        }
    }
}

void Snapshot::append(Snapshot &&other)
{
    const quint32 offset = m_texts.append(std::move(other.m_texts));
    for (const Cell &cell : other.m_cells)
        m_cells.push_back(cell.length == 0 || cell.length == nullLength ? cell
                                                                        : TextStore::shifted(cell, offset));
    m_rowids.insert(m_rowids.end(), other.m_rowids.begin(), other.m_rowids.end());
    other.reset(other.m_columns);
}

void Snapshot::reserve(size_t rows)
{
    m_cells.reserve(rows * m_columns);
    m_rowids.reserve(rows);
}

quint32 Snapshot::addRow()
{
    m_rowids.push_back(0);
    m_cells.resize(m_cells.size() + m_columns, Cell{0, nullLength});
    return quint32(m_rowids.size() - 1);
}

void Snapshot::removeLastRow()
{
    m_rowids.pop_back();
    m_cells.resize(m_cells.size() - m_columns);
}
