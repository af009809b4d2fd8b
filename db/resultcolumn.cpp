// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/resultcolumn.h"

#include "db/sqlite.h"

int columnNamed(const std::vector<ResultColumn> &columns, const QString &name)
{
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int columnReading(const std::vector<ResultColumn> &columns, const QString &origin)
{
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].origin == origin)
            return int(i);
    return -1;
}

ResultShape describeResult(const Statement &statement, int first)
{
    ResultShape shape;
    const int total = statement.columnCount();
    // The rowid, read first, names the table; a result without one writes to none.
    if (first > 0)
        shape.table = QString::fromUtf8(statement.columnTable(0));
    for (int c = first; c < total; ++c) {
        const QString columnTable = QString::fromUtf8(statement.columnTable(c));
        const QString origin = statement.columnOrigin(c);
        if (columnTable != shape.table)
            shape.table.clear();
        shape.columns.push_back({statement.columnName(c), origin, schema::columnKind(columnTable, origin)});
    }
    return shape;
}
