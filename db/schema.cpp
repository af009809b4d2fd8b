// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/schema.h"

namespace schema {

QStringList tables()
{
    return {tablePsy, tableJsy, tableWorks, tableWords, tableIdioms};
}

QStringList columnsOf(const QString &table)
{
    if (table == tablePsy || table == tableJsy)
        return {colFinal, colSyllable, colTone, colCommon, colRare};
    if (table == tableWorks)
        return {colTitle,  colCategory, colMark, colCount,   colAuthor,
                colSource, colUrl,      colDate, colRemarks, colContent};
    if (table == tableWords || table == tableIdioms)
        return {table, colMeaning};
    return {};
}

ColumnKind columnKind(const QString &table, const QString &column)
{
    if (table == tableWorks) {
        if (column == colCount)
            return ColumnKind::Integer;
        if (column == colDate)
            return ColumnKind::Date;
    }
    return ColumnKind::Text;
}

QStringList createStatements()
{
    QStringList out;
    for (const QString &t : {tablePsy, tableJsy})
        out << QStringLiteral("CREATE TABLE %1 (%2 TEXT DEFAULT '', %3 TEXT DEFAULT '', %4 TEXT DEFAULT '', "
                              "%5 TEXT DEFAULT '', %6 TEXT DEFAULT '')")
                   .arg(t, colFinal, colSyllable, colTone, colCommon, colRare);
    // 日期 holds ISO dates (yyyy-MM-dd) so that ordering by it is chronological.
    out << QStringLiteral("CREATE TABLE %1 (%2 TEXT DEFAULT '', %3 TEXT DEFAULT '', %4 TEXT DEFAULT '', "
                          "%5 INTEGER DEFAULT 0, %6 TEXT DEFAULT '', %7 TEXT DEFAULT '', %8 TEXT DEFAULT '', "
                          "%9 TEXT, %10 TEXT DEFAULT '', %11 TEXT DEFAULT '')")
               .arg(tableWorks, colTitle, colCategory, colMark, colCount, colAuthor, colSource, colUrl,
                    colDate)
               .arg(colRemarks, colContent);
    out << QStringLiteral("CREATE TABLE %1 (%1 TEXT DEFAULT '', %2 TEXT DEFAULT '')")
               .arg(tableWords, colMeaning);
    out << QStringLiteral("CREATE TABLE %1 (%1 TEXT DEFAULT '', %2 TEXT DEFAULT '')")
               .arg(tableIdioms, colMeaning);

    for (const QString &t : {tablePsy, tableJsy})
        out << QStringLiteral("CREATE INDEX %1_韵母_声调 ON %1 (%2, %3)").arg(t, colFinal, colTone);
    out << QStringLiteral("CREATE INDEX %1_类别_日期 ON %1 (%2, %3)").arg(tableWorks, colCategory, colDate);
    out << QStringLiteral("CREATE INDEX %1_标题 ON %1 (%2)").arg(tableWorks, colTitle);
    // NOCASE matches the collation of LIKE, so prefix searches can use these indexes.
    for (const QString &t : {tableWords, tableIdioms})
        out << QStringLiteral("CREATE INDEX %1_key ON %1 (%1 COLLATE NOCASE)").arg(t);
    return out;
}

QString insertDraftStatement()
{
    return QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES ('%6', '%7', '', 0)")
        .arg(tableWorks, colTitle, colCategory, colContent, colCount, draftTitle, draftCategory);
}

} // namespace schema
