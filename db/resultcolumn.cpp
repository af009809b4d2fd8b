#include "db/resultcolumn.h"

#include <sqlite3.h>

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

ResultShape describeResult(sqlite3_stmt *statement, int first)
{
    ResultShape shape;
    const int total = sqlite3_column_count(statement);
    // The rowid, read first, names the table; a result without one writes to none.
    if (first > 0)
        shape.table = QString::fromUtf8(sqlite3_column_table_name(statement, 0));
    for (int c = first; c < total; ++c) {
        const QString columnTable = QString::fromUtf8(sqlite3_column_table_name(statement, c));
        const QString origin = QString::fromUtf8(sqlite3_column_origin_name(statement, c));
        if (columnTable != shape.table)
            shape.table.clear();
        shape.columns.push_back({QString::fromUtf8(sqlite3_column_name(statement, c)), origin,
                                 schema::columnKind(columnTable, origin)});
    }
    return shape;
}
