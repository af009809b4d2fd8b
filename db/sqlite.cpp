#include "db/sqlite.h"

#include "db/dberror.h"

#include <sqlite3.h>

namespace {
// How long a write waits for another process's lock before the engine reports it.
constexpr int busyTimeoutMs = 1500;

void configure(sqlite3 *db)
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

Connection::Connection(const QString &path, QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("W_ADOConnection"));
    // The engine's memory statistics take a global lock at every allocation; nothing reads them.
    // (Refused once the engine is initialised, as when a second connection opens.)
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    // One thread uses the connection, so it needs no mutex of its own.
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? errorMessage() : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw DbError(message);
    }
    configure(m_db);
    // Opened now rather than when first needed, so that it reads the same file as this one.
    if (sqlite3_open_v2(sqlite3_db_filename(m_db, "main"), &m_reader,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK) {
        configure(m_reader);
    } else {
        sqlite3_close_v2(m_reader);
        m_reader = nullptr;
    }
}

Connection::~Connection()
{
    // Queries are children; they hold no statements, but go first all the same.
    qDeleteAll(children());
    sqlite3_close_v2(m_reader);
    sqlite3_close_v2(m_db);
}

QString Connection::errorMessage() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

SqliteFile::SqliteFile(const QString &path, Mode mode)
{
    const int flags = mode == Mode::ReadOnly            ? SQLITE_OPEN_READONLY
                      : mode == Mode::ReadOnlyOneThread ? SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX
                      : mode == Mode::ReadWrite         ? SQLITE_OPEN_READWRITE
                                                        : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
        sqlite3_close(m_db);
        throw DbError(message);
    }
}

SqliteFile::~SqliteFile()
{
    sqlite3_close(m_db);
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

void SqliteFile::close()
{
    if (sqlite3_close(m_db) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db)));
    m_db = nullptr;
}

QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

Statement::Statement(sqlite3 *db, const QByteArray &sql)
    : m_db(db)
{
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_stmt, &tail) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
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

void Statement::bindText(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text64(m_stmt, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
}

void Statement::bindBlob(int index, QByteArrayView value)
{
    sqlite3_bind_blob64(m_stmt, index, value.data(), sqlite3_uint64(value.size()), SQLITE_TRANSIENT);
}

void Statement::bindInt64(int index, qint64 value)
{
    sqlite3_bind_int64(m_stmt, index, value);
}

void Statement::bindNull(int index)
{
    sqlite3_bind_null(m_stmt, index);
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
