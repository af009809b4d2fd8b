// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/sqlite.h"

#include "db/dberror.h"

#include <sqlite3.h>

namespace {
// How long a write waits for another process's lock before the engine reports it.
constexpr int busyTimeoutMs = 1500;

int openFlags(SqliteFile::Mode mode)
{
    switch (mode) {
    case SqliteFile::Mode::ReadOnly:
        return SQLITE_OPEN_READONLY;
    case SqliteFile::Mode::ReadOnlyOneThread:
        return SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
    case SqliteFile::Mode::ReadWrite:
        return SQLITE_OPEN_READWRITE;
    case SqliteFile::Mode::Create:
        return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    case SqliteFile::Mode::QueryWriter:
        // One thread uses the connection, so it needs no mutex of its own.
        return SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    case SqliteFile::Mode::QueryReader:
        return SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
    }
    return 0;
}

void configureForQueries(sqlite3 *db)
{
    // A double-quoted text is a literal in the query dialect; the translator binds it, so the
    // engine must never fall back to reading an unknown identifier as a string.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    sqlite3_extended_result_codes(db, 0);
    // Reading the file through a memory map spares a copy of every page a query reads.
    sqlite3_exec(db, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
}
} // namespace

QString sqliteVersion()
{
    return QString::fromLatin1(sqlite3_libversion());
}

SqliteFile::SqliteFile(const QString &path, Mode mode)
{
    const int flags = openFlags(mode);
    if (mode == Mode::QueryWriter)
        // The engine's memory statistics take a global lock at every allocation; nothing reads them.
        // (Refused once the engine is initialised, as when a second connection opens.)
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
        sqlite3_close(m_db);
        throw DbError(message);
    }
    if (mode == Mode::QueryWriter || mode == Mode::QueryReader)
        configureForQueries(m_db);
}

SqliteFile::~SqliteFile()
{
    // A statement still open keeps the connection until it is finalized.
    sqlite3_close_v2(m_db);
}

void SqliteFile::exec(const QByteArray &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
        sqlite3_free(error);
        throw DbError(message);
    }
}

void SqliteFile::rollback() noexcept
{
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteFile::close()
{
    if (sqlite3_close(m_db) != SQLITE_OK)
        throw DbError(errorMessage());
    m_db = nullptr;
}

bool SqliteFile::inTransaction() const
{
    return !sqlite3_get_autocommit(m_db);
}

qint64 SqliteFile::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

qint64 SqliteFile::changes() const
{
    return sqlite3_changes64(m_db);
}

QString SqliteFile::fileName() const
{
    return QString::fromUtf8(sqlite3_db_filename(m_db, "main"));
}

bool SqliteFile::isIntegerPrimaryKey(const QByteArray &database, const QByteArray &table,
                                     const QString &column) const
{
    const char *type = nullptr;
    int primaryKey = 0;
    return sqlite3_table_column_metadata(m_db, database.constData(), table.constData(),
                                         column.toUtf8().constData(), &type, nullptr, nullptr, &primaryKey,
                                         nullptr) == SQLITE_OK &&
           primaryKey && type && qstricmp(type, "INTEGER") == 0;
}

void SqliteFile::setBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(m_db, milliseconds);
}

void SqliteFile::limitStatementLength(int bytes)
{
    sqlite3_limit(m_db, SQLITE_LIMIT_SQL_LENGTH, bytes);
}

QString SqliteFile::errorMessage() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

Connection::Connection(const QString &path, QObject *parent)
    : QObject(parent)
    , m_file(std::make_unique<SqliteFile>(path, SqliteFile::Mode::QueryWriter))
{
    setObjectName(QStringLiteral("W_ADOConnection"));
    // Opened now rather than when first needed, so that it reads the same file as this one.
    try {
        m_reader = std::make_unique<SqliteFile>(m_file->fileName(), SqliteFile::Mode::QueryReader);
    } catch (const DbError &) {
        // Without it, every query is read on the calling thread.
    }
}

Connection::~Connection()
{
    // Queries are children; they hold no statements, but go first all the same.
    qDeleteAll(children());
}

QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

Statement::Statement(const SqliteFile &file, const QByteArray &sql)
    : m_db(file.m_db)
{
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_stmt, &tail) != SQLITE_OK) {
        const QString message = file.errorMessage();
        sqlite3_finalize(m_stmt);
        throw DbError(message);
    }
    if (tail)
        m_tail = QByteArray(tail, int(sql.constData() + sql.size() - tail));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::check(int rc) const
{
    if (rc != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db)));
}

int Statement::parameterCount() const
{
    return sqlite3_bind_parameter_count(m_stmt);
}

void Statement::requireParameters(int count) const
{
    if (count != parameterCount())
        throw DbError(QStringLiteral("%1 values bound to a statement of %2 parameters: %3")
                          .arg(count)
                          .arg(parameterCount())
                          .arg(QString::fromUtf8(sqlite3_sql(m_stmt))));
}

void Statement::bindText(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    check(sqlite3_bind_text64(m_stmt, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                              SQLITE_UTF8));
}

void Statement::bindBlob(int index, QByteArrayView value)
{
    check(sqlite3_bind_blob64(m_stmt, index, value.data(), sqlite3_uint64(value.size()), SQLITE_TRANSIENT));
}

void Statement::bindInt64(int index, qint64 value)
{
    check(sqlite3_bind_int64(m_stmt, index, value));
}

void Statement::bindNull(int index)
{
    check(sqlite3_bind_null(m_stmt, index));
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_stmt);
    throw DbError(message);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QByteArray Statement::columnDatabase(int column) const
{
    return QByteArray(sqlite3_column_database_name(m_stmt, column));
}

QByteArray Statement::columnTable(int column) const
{
    return QByteArray(sqlite3_column_table_name(m_stmt, column));
}

QString Statement::columnOrigin(int column) const
{
    return QString::fromUtf8(sqlite3_column_origin_name(m_stmt, column));
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 Statement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

int Statement::int32(int column) const
{
    return sqlite3_column_int(m_stmt, column);
}

QString Statement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column)) : QString();
}

QByteArrayView Statement::blob(int column) const
{
    const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

QByteArrayView Statement::bytes(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

char32_t Statement::character(int column) const
{
    const QByteArrayView b = bytes(column);
    const auto byte = [&](qsizetype i) { return char32_t(quint8(b[i])); };
    const auto follows = [&](qsizetype from) {
        for (qsizetype i = from; i < b.size(); ++i)
            if ((byte(i) & 0xC0) != 0x80)
                return false;
        return true;
    };
    // The lead byte tells the length of its sequence; the column must be exactly one sequence.
    if (b.size() == 1 && byte(0) < 0x80)
        return byte(0);
    if (!follows(1))
        return 0;
    if (b.size() == 2 && (byte(0) & 0xE0) == 0xC0)
        return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    if (b.size() == 3 && (byte(0) & 0xF0) == 0xE0)
        return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    if (b.size() == 4 && (byte(0) & 0xF8) == 0xF0)
        return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    return 0;
}
