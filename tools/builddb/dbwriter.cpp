#include "tools/builddb/dbwriter.h"

#include "db/schema.h"
#include "tools/builddb/builderror.h"

#include <sqlite3.h>

#include <functional>
#include <memory>

namespace builddb {

namespace {

// A prepared statement, finalized when it goes out of scope.
using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

bool isIndexStatement(const QString &sql)
{
    return sql.startsWith(QStringLiteral("CREATE INDEX"), Qt::CaseInsensitive);
}

} // namespace

DatabaseWriter::DatabaseWriter(const QString &path)
    : m_path(path)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        fail(QStringLiteral("cannot be created"));
    // The file is a temporary one until the build succeeds, so it needs no crash safety.
    exec(QStringLiteral("PRAGMA journal_mode = OFF"));
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
    exec(QStringLiteral("BEGIN"));
    for (const QString &sql : schema::createStatements())
        if (!isIndexStatement(sql))
            exec(sql);
    exec(schema::insertDraftStatement());
}

DatabaseWriter::~DatabaseWriter()
{
    sqlite3_close(m_db);
}

void DatabaseWriter::exec(const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        fail(message);
    }
}

void DatabaseWriter::fail(const QString &what) const
{
    const QString detail = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
    throw BuildError(m_path,
                     detail.isEmpty() || detail == what ? what : what + QStringLiteral(": ") + detail);
}

namespace {

class Inserter {
public:
    Inserter(sqlite3 *db, const QString &sql, const std::function<void(const QString &)> &fail)
        : m_stmt(nullptr, sqlite3_finalize)
        , m_fail(fail)
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            m_fail(QStringLiteral("cannot prepare: ") + sql);
        m_stmt.reset(stmt);
    }

    Inserter &text(int column, const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_stmt.get(), column, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }

    Inserter &integer(int column, qint64 value)
    {
        sqlite3_bind_int64(m_stmt.get(), column, value);
        return *this;
    }

    void run()
    {
        if (sqlite3_step(m_stmt.get()) != SQLITE_DONE)
            m_fail(QStringLiteral("cannot insert a row"));
        sqlite3_reset(m_stmt.get());
    }

private:
    Statement m_stmt;
    std::function<void(const QString &)> m_fail;
};

} // namespace

void DatabaseWriter::writeRhymes(const QString &table, const QList<RhymeRow> &rows)
{
    Inserter insert(m_db,
                    QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5, %6) VALUES (?1, ?2, ?3, ?4, ?5)")
                        .arg(table, schema::colFinal, schema::colSyllable, schema::colTone, schema::colCommon,
                             schema::colRare),
                    [this](const QString &what) { fail(what); });
    for (const RhymeRow &row : rows)
        insert.text(1, row.final)
            .text(2, row.syllable)
            .text(3, row.tone)
            .text(4, row.common)
            .text(5, row.rare)
            .run();
}

void DatabaseWriter::writeEntries(const QString &table, const QList<Entry> &entries)
{
    // The key column carries the table's name.
    Inserter insert(m_db,
                    QStringLiteral("INSERT INTO %1 (%1, %2) VALUES (?1, ?2)").arg(table, schema::colMeaning),
                    [this](const QString &what) { fail(what); });
    for (const Entry &entry : entries)
        insert.text(1, entry.key).text(2, entry.meaning).run();
}

void DatabaseWriter::writeWorks(const QList<Work> &works, const QDate &date)
{
    using namespace schema;
    Inserter insert(
        m_db,
        QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5, %6, %7, %8, %9, %10, %11) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)")
            .arg(tableWorks, colTitle, colCategory, colMark, colCount, colAuthor, colSource, colUrl, colDate)
            .arg(colRemarks, colContent),
        [this](const QString &what) { fail(what); });
    const QString day = date.toString(Qt::ISODate);
    for (const Work &work : works) {
        insert.text(1, work.title)
            .text(2, work.category)
            .text(3, markOf(work.category))
            .integer(4, work.count)
            .text(5, work.author)
            .text(6, work.source)
            .text(7, QString())
            .text(8, day)
            .text(9, work.remarks)
            .text(10, work.content)
            .run();
    }
}

void DatabaseWriter::finish()
{
    for (const QString &sql : schema::createStatements())
        if (isIndexStatement(sql))
            exec(sql);
    exec(QStringLiteral("COMMIT"));
    if (sqlite3_close(m_db) != SQLITE_OK)
        fail(QStringLiteral("cannot be closed"));
    m_db = nullptr;
}

} // namespace builddb
