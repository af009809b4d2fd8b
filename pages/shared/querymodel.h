// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QList>

class DataSource;
class Query;

// One column of a bound grid: the field it shows, its width (-1: the grid's default) and alignment.
struct GridColumn {
    QString field;
    int width = -1;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// The rows of a query as a table model; the query's data source keeps it current. The vertical
// header shows the row indicator: ▶ on the current row, I while it is edited, * for a new row.
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    QueryModel(DataSource *source, const QList<GridColumn> &columns, bool readOnly,
               QObject *parent = nullptr);

    Query *query() const;
    const QList<GridColumn> &columns() const { return m_columns; }
    // True while rows are being added, removed or replaced: a view's current index then moves by
    // itself and must not move the query.
    bool isChanging() const { return m_changing; }
    // The query field a column shows, -1 when the query has none of that name.
    int fieldOf(int column) const { return column >= 0 && column < m_fields.size() ? m_fields[column] : -1; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    void resolveFields();
    void indicatorChanged(int row);

    DataSource *m_source;
    QList<GridColumn> m_columns;
    QList<int> m_fields; // query column of each grid column, -1 when missing
    bool m_readOnly;
    int m_indicatorRow = -1;
    bool m_changing = false; // rows being replaced: the view's current index moves by itself
};
