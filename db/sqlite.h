// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <concepts>
#include <cstddef>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// The version of the SQLite library the program runs with.
QString sqliteVersion();

// A table or column name as an SQL identifier, whatever characters it holds.
QString quotedIdentifier(const QString &name);

// Owns a connection to a file; closed when it goes out of scope. Throws DbError when the file cannot
// be opened. The engine's handle stays inside the data layer: everything a caller needs is a member.
class SqliteFile {
public:
    // ReadOnlyOneThread: read by one thread at a time, without SQLite's locking of every call (a file read
    // through once, as the rhyme books are at start). The Query modes serve the query dialect of the
    // main window: the file's one writer and its second, read-only connection.
    enum class Mode { ReadOnly, ReadOnlyOneThread, ReadWrite, Create, QueryWriter, QueryReader };
    SqliteFile(const QString &path, Mode mode);
    ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    // Runs statements that take no values. Throws DbError.
    void exec(const QByteArray &sql);
    // Undoes the transaction open on the file, if any; a failure leaves nothing more to undo.
    void rollback() noexcept;
    // Closes the file now. Throws DbError when it cannot be closed.
    void close();

    // True while a transaction is open (BEGIN without its COMMIT or ROLLBACK).
    bool inTransaction() const;
    // Of the last INSERT on this connection.
    qint64 lastInsertRowId() const;
    // Rows the last INSERT, UPDATE or DELETE changed.
    qint64 changes() const;
    // The file's full path as the engine opened it.
    QString fileName() const;
    // Whether `column` of `table` is declared INTEGER PRIMARY KEY, an other name of the rowid.
    bool isIntegerPrimaryKey(const QByteArray &database, const QByteArray &table,
                             const QString &column) const;

    // How long a write waits for another program's lock before the engine reports it.
    void setBusyTimeout(int milliseconds);
    // Statements longer than this are refused from now on.
    void limitStatementLength(int bytes);

private:
    friend class Statement;
    QString errorMessage() const;

    sqlite3 *m_db = nullptr;
};

// The one connection to the database file of the main window. Opens an existing file read-write
// (read-only when the file is write-protected) and never creates one.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(const QString &path, QObject *parent = nullptr);
    ~Connection() override;

    SqliteFile &file() const { return *m_file; }
    // A second, read-only connection to the same file, opened with this one, for reading on another
    // thread. Null when it could not be opened.
    SqliteFile *reader() const { return m_reader.get(); }

private:
    std::unique_ptr<SqliteFile> m_file;
    std::unique_ptr<SqliteFile> m_reader;
};

// Owns one prepared statement; finalized when it goes out of scope. Values are always bound; a bind
// the engine refuses throws DbError with its message.
class Statement {
public:
    Statement(const SqliteFile &file, const QByteArray &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // True when the SQL text held no statement, only blanks or comments.
    bool isEmpty() const { return !m_stmt; }
    // Bytes of the SQL text that follow the first statement.
    const QByteArray &tail() const { return m_tail; }
    int parameterCount() const;

    void bindText(int index, const QString &value);
    void bindInt64(int index, qint64 value);
    void bindNull(int index);
    void bindBlob(int index, QByteArrayView value);
    // One value by its type: a text, a whole number, a BLOB, NULL (nullptr or an empty optional).
    void bind(int index, const QString &value) { bindText(index, value); }
    void bind(int index, std::integral auto value) { bindInt64(index, qint64(value)); }
    void bind(int index, const QByteArray &value) { bindBlob(index, value); }
    void bind(int index, std::nullptr_t) { bindNull(index); }
    template <class T> void bind(int index, const std::optional<T> &value)
    {
        if (value)
            bind(index, *value);
        else
            bindNull(index);
    }
    // Binds a whole row, the values numbered from 1; throws DbError unless they are as many as the
    // statement's parameters.
    template <class... Values> void bindRow(const Values &...values)
    {
        requireParameters(int(sizeof...(values)));
        int index = 0;
        (bind(++index, values), ...);
    }

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

    // Columns of the result: their names, and where a column reads a table's column, its database,
    // table and column (empty otherwise).
    int columnCount() const;
    QString columnName(int column) const;
    QByteArray columnDatabase(int column) const;
    QByteArray columnTable(int column) const;
    QString columnOrigin(int column) const;

    // Columns of the row at hand.
    bool isNull(int column) const;
    qint64 int64(int column) const;
    int int32(int column) const;
    QString text(int column) const; // null for NULL
    // The column's UTF-8 bytes, valid until the next step or reset: compared or decoded without a
    // QString for every row of a large table. Its data is null for NULL.
    QByteArrayView bytes(int column) const;
    // The column's bytes as stored (a BLOB), valid until the next step or reset.
    QByteArrayView blob(int column) const;
    // The one character the column holds, decoded straight from its UTF-8 bytes; 0 when it holds
    // none or more than one.
    char32_t character(int column) const;

private:
    void check(int rc) const;
    void requireParameters(int count) const;

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    QByteArray m_tail;
};
