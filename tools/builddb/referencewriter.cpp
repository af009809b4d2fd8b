#include "tools/builddb/referencewriter.h"

#include "db/dberror.h"
#include "tools/builddb/builderror.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace builddb {

void ReferenceWriter::Closer::operator()(sqlite3 *db) const
{
    sqlite3_close(db);
}

ReferenceWriter::ReferenceWriter(const QString &path, const QStringList &createStatements)
    : m_path(path)
{
    sqlite3 *db = nullptr;
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    m_db.reset(db);
    if (rc != SQLITE_OK)
        throw BuildError(path, QStringLiteral("cannot be created: ") + QString::fromUtf8(sqlite3_errmsg(db)));
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
    char *error = nullptr;
    if (sqlite3_exec(m_db.get(), sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        throw BuildError(m_path, message);
    }
}

void ReferenceWriter::insert(const QString &table, int columns,
                             const std::function<void(Statement &)> &bindAll)
{
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
        Statement stmt(m_db.get(), sql);
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
    sqlite3_stmt *stmt = nullptr;
    int freePages = 0;
    if (sqlite3_prepare_v2(m_db.get(), "PRAGMA freelist_count", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        freePages = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    if (freePages > 0)
        exec("VACUUM");
    if (sqlite3_close(m_db.release()) != SQLITE_OK)
        throw BuildError(m_path, QStringLiteral("cannot be closed"));
}

void run(Statement &stmt)
{
    stmt.step();
    stmt.reset();
}

std::unique_ptr<QTemporaryFile> temporaryBeside(const QString &path)
{
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath()))
        throw BuildError(target.absolutePath(), QStringLiteral("cannot be created"));
    auto temporary = std::make_unique<QTemporaryFile>(
        QDir(target.absolutePath()).filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!temporary->open())
        throw BuildError(temporary->fileTemplate(),
                         QStringLiteral("cannot be created: ") + temporary->errorString());
    temporary->close();
    temporary->setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return temporary;
}

void replace(QTemporaryFile &temporary, const QString &path)
{
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        throw BuildError(path, QStringLiteral("cannot be written: ") +
                                   QString::fromLocal8Bit(std::strerror(errno)));
    temporary.setAutoRemove(false);
}

} // namespace builddb
