// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/querymodel.h"

#include "db/datasource.h"
#include "db/query.h"
#include "pages/shared/errorguard.h"

#include <QScopedValueRollback>

QueryModel::QueryModel(DataSource *source, const QList<GridColumn> &columns, bool readOnly, QObject *parent)
    : QAbstractTableModel(parent)
    , m_source(source)
    , m_columns(columns)
    , m_readOnly(readOnly)
{
    resolveFields();
    // The data source reports changes after they happened; each is passed on as a complete step.
    connect(source, &DataSource::reset, this, [this] {
        const QScopedValueRollback changing(m_changing, true);
        beginResetModel();
        resolveFields();
        endResetModel();
    });
    connect(source, &DataSource::rowInserted, this, [this](int row) {
        const QScopedValueRollback changing(m_changing, true);
        beginInsertRows({}, row, row);
        endInsertRows();
    });
    connect(source, &DataSource::rowRemoved, this, [this](int row) {
        const QScopedValueRollback changing(m_changing, true);
        beginRemoveRows({}, row, row);
        endRemoveRows();
    });
    connect(source, &DataSource::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        indicatorChanged(row);
    });
    connect(source, &DataSource::currentChanged, this, &QueryModel::indicatorChanged);
    connect(source, &DataSource::stateChanged, this, [this] { indicatorChanged(query()->currentRow()); });
}

Query *QueryModel::query() const
{
    return m_source->query();
}

void QueryModel::resolveFields()
{
    m_fields.clear();
    for (const GridColumn &c : m_columns)
        m_fields << query()->fieldIndex(c.field);
}

void QueryModel::indicatorChanged(int row)
{
    const int count = rowCount();
    if (m_indicatorRow >= 0 && m_indicatorRow < count)
        emit headerDataChanged(Qt::Vertical, m_indicatorRow, m_indicatorRow);
    m_indicatorRow = query()->currentRow();
    if (row >= 0 && row < count && row != m_indicatorRow)
        emit headerDataChanged(Qt::Vertical, row, row);
    if (m_indicatorRow >= 0 && m_indicatorRow < count)
        emit headerDataChanged(Qt::Vertical, m_indicatorRow, m_indicatorRow);
}

int QueryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : query()->rowCount();
}

int QueryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant QueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return query()->cellText(index.row(), m_fields[index.column()]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[index.column()].alignment | Qt::AlignVCenter);
    return {};
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_columns.size() ? m_columns[section].field : QString();
    if (section != query()->currentRow())
        return QString();
    switch (query()->state()) {
    case Query::State::Edit:
        return QStringLiteral("I");
    case Query::State::Insert:
        return QStringLiteral("*");
    case Query::State::Browse:
        break;
    }
    return QStringLiteral("▶");
}

Qt::ItemFlags QueryModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !m_readOnly && m_fields[index.column()] >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool QueryModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || m_readOnly || m_fields[index.column()] < 0)
        return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString() && query()->state() == Query::State::Browse)
        return true; // nothing typed: the row stays as it is
    return guarded(nullptr, [&] {
        Query *q = query();
        q->moveTo(index.row());
        q->edit();
        q->setCellText(m_fields[index.column()], text);
    });
}
