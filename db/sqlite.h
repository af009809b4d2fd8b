#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// The one connection to the database file. Opens an existing file read-write (read-only when the
// file is write-protected) and never creates one.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(const QString &path, QObject *parent = nullptr);
    ~Connection() override;

    sqlite3 *handle() const { return m_db; }
    QString errorMessage() const;
    // A second, read-only connection to the same file, opened with this one, for reading on another
    // thread. Null when it could not be opened.
    sqlite3 *reader() const { return m_reader; }

private:
    sqlite3 *m_db = nullptr;
    sqlite3 *m_reader = nullptr;
};

// A table or column name as an SQL identifier, whatever characters it holds.
QString quotedIdentifier(const QString &name);

// Owns a connection to a file for tools and tests; closed when it goes out of scope. Throws DbError
// when the file cannot be opened.
class SqliteFile {
public:
    // ReadOnlyOneThread: read by one thread at a time, without SQLite's locking of every call (a file read
    // through once, as the rhyme books are at start).
    enum class Mode { ReadOnly, ReadOnlyOneThread, ReadWrite, Create };
    SqliteFile(const QString &path, Mode mode);
    ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    sqlite3 *handle() const { return m_db; }
    // Runs statements that take no values. Throws DbError.
    void exec(const QByteArray &sql);
    // Closes the file now. Throws DbError when it cannot be closed.
    void close();

private:
    sqlite3 *m_db = nullptr;
};

// Owns one prepared statement; finalized when it goes out of scope. Values are always bound.
class Statement {
public:
    Statement(sqlite3 *db, const QByteArray &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    sqlite3_stmt *handle() const { return m_stmt; }
    // Bytes of the SQL text that follow the first statement.
    const QByteArray &tail() const { return m_tail; }

    void bindText(int index, const QString &value);
    void bindInt64(int index, qint64 value);
    void bindNull(int index);
    void bindBlob(int index, QByteArrayView value);
    // Makes the statement ready to run again; its bindings stay.
    void reset();
    // Steps once; true when a row is ready. Throws DbError on failure.
    bool step();

    // Steps through every row, handing the statement to `visit` at each.
    template <class Visit> void forEachRow(Visit visit)
    {
        while (step())
            visit(*this);
    }

    // Columns of the row at hand.
    int columnCount() const;
    bool isNull(int column) const;
    qint64 int64(int column) const;
    int int32(int column) const;
    QString text(int column) const; // null for NULL
    // The column's UTF-8 bytes, valid until the next step or reset: compared or decoded without a
    // QString for every row of a large table.
    QByteArrayView bytes(int column) const;
    // The column's bytes as stored (a BLOB), valid until the next step or reset.
    QByteArrayView blob(int column) const;
    // The one character the column holds, decoded straight from its UTF-8 bytes; 0 when it holds
    // none or more than one.
    char32_t character(int column) const;

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    QByteArray m_tail;
};
