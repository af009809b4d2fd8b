#include "db/preparedquery.h"

#include "db/dberror.h"
#include "db/sqlite.h"

#include <QRegularExpression>

#include <sqlite3.h>

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

// The rowid goes by three names, and a table may have a column of its own under one or two of them:
// each is tried until one reads the rowid itself. None for a text that does not prepare with it.
PreparedQuery withRowid(sqlite3 *db, const QByteArray &sql)
{
    for (const QString &name : {QStringLiteral("_rowid_"), QStringLiteral("rowid"), QStringLiteral("oid")}) {
        const QByteArray withRowid = withRowidColumn(sql, name);
        if (withRowid.isEmpty())
            break;
        try {
            auto candidate = std::make_unique<Statement>(db, withRowid);
            if (firstColumnIsRowid(db, candidate->handle(), name))
                return {std::move(candidate), name};
        } catch (const DbError &) {
            break; // not a single-table result
        }
    }
    return {};
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

PreparedQuery prepareQuery(sqlite3 *db, const dialect::Translated &query)
{
    PreparedQuery prepared = withRowid(db, query.sql);
    if (!prepared.statement) // opened without a rowid, read-only
        prepared.statement = std::make_unique<Statement>(db, query.sql);
    Statement &st = *prepared.statement;
    if (!st.handle())
        throw DbError(QStringLiteral("Command text was not set for the command object."));
    requireSingleStatement(db, st.tail());
    for (int i = 0; i < query.literals.size(); ++i)
        st.bindText(i + 1, query.literals[i]);
    return prepared;
}
