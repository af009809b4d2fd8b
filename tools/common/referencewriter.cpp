// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/referencewriter.h"

#include "db/dberror.h"
#include "tools/common/builderror.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace builddb {

ReferenceWriter::ReferenceWriter(const QString &path, const QStringList &createStatements)
    : m_path(path)
{
    try {
        m_file = std::make_unique<SqliteFile>(path, SqliteFile::Mode::Create);
    } catch (const DbError &e) {
        throw BuildError(path, QStringLiteral("cannot be created: ") + e.message());
    }
    // A temporary file until the build succeeds: it needs no crash safety.
    exec("PRAGMA journal_mode = OFF");
    exec("PRAGMA synchronous = OFF");
    exec("BEGIN");
    for (const QString &sql : createStatements) {
        if (sql.startsWith(QStringLiteral("CREATE INDEX")))
            m_indexes << sql;
        else
            exec(sql.toUtf8());
    }
}

void ReferenceWriter::exec(const QByteArray &sql)
{
    try {
        m_file->exec(sql);
    } catch (const DbError &e) {
        throw BuildError(m_path, e.message());
    }
}

void ReferenceWriter::insert(const QString &table, const std::function<void(Statement &)> &bindAll)
{
    int columns = 0;
    prepared(QStringLiteral("SELECT * FROM %1").arg(quotedIdentifier(table)).toUtf8(),
             [&](Statement &all) { columns = all.columnCount(); });
    QStringList marks;
    for (int i = 1; i <= columns; ++i)
        marks << QStringLiteral("?%1").arg(i);
    prepared(
        QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(quotedIdentifier(table), marks.join(u',')).toUtf8(),
        bindAll);
}

void ReferenceWriter::prepared(const QByteArray &sql, const std::function<void(Statement &)> &bindAll)
{
    try {
        Statement stmt(*m_file, sql);
        bindAll(stmt);
    } catch (const DbError &e) {
        throw BuildError(m_path, e.message());
    }
}

void ReferenceWriter::finish()
{
    for (const QString &sql : m_indexes)
        exec(sql.toUtf8());
    exec("COMMIT");
    // Pages freed while the file was written (the full-text index's merges) are given back.
    qint64 freePages = 0;
    try {
        Statement count(*m_file, "PRAGMA freelist_count");
        if (count.step())
            freePages = count.int64(0);
    } catch (const DbError &) {
        // Not counted: the file is kept as written.
    }
    if (freePages > 0)
        exec("VACUUM");
    try {
        m_file->close();
    } catch (const DbError &) {
        throw BuildError(m_path, QStringLiteral("cannot be closed"));
    }
}

void run(Statement &stmt)
{
    stmt.step();
    stmt.reset();
}

} // namespace builddb
