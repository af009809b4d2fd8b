// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/preparedquery.h"

#include "db/dberror.h"
#include "db/sqlite.h"

#include <QRegularExpression>

namespace {

// Adds the rowid, under `name`, as the first result column of a plain SELECT; empty for any other.
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
bool firstColumnIsRowid(const SqliteFile &db, const Statement &st, const QString &name)
{
    const QByteArray table = st.columnTable(0);
    return !table.isNull() && db.isIntegerPrimaryKey(st.columnDatabase(0), table, name);
}

// The rowid goes by three names, and a table may have a column of its own under one or two of them:
// each is tried until one reads the rowid itself. None for a text that does not prepare with it.
PreparedQuery withRowid(SqliteFile &db, const QByteArray &sql)
{
    for (const QString &name : {QStringLiteral("_rowid_"), QStringLiteral("rowid"), QStringLiteral("oid")}) {
        const QByteArray withRowid = withRowidColumn(sql, name);
        if (withRowid.isEmpty())
            break;
        try {
            auto candidate = std::make_unique<Statement>(db, withRowid);
            if (firstColumnIsRowid(db, *candidate, name))
                return {std::move(candidate), name};
        } catch (const DbError &) {
            break; // not a single-table result
        }
    }
    return {};
}

// Throws unless the bytes after the first statement are only blanks, semicolons or comments.
void requireSingleStatement(SqliteFile &db, QByteArray tail)
{
    while (!tail.trimmed().isEmpty()) {
        Statement next(db, tail);
        if (!next.isEmpty())
            throw DbError(QStringLiteral("Characters found after end of SQL statement."));
        tail = next.tail();
    }
}

} // namespace

PreparedQuery prepareQuery(SqliteFile &db, const dialect::Translated &query)
{
    PreparedQuery prepared = withRowid(db, query.sql);
    if (!prepared.statement) // opened without a rowid, read-only
        prepared.statement = std::make_unique<Statement>(db, query.sql);
    Statement &st = *prepared.statement;
    if (st.isEmpty())
        throw DbError(QStringLiteral("Command text was not set for the command object."));
    requireSingleStatement(db, st.tail());
    for (int i = 0; i < query.literals.size(); ++i)
        st.bindText(i + 1, query.literals[i]);
    return prepared;
}
