#include "tools/dictionary/dbwriter.h"

#include "db/dberror.h"
#include "db/schema.h"
#include "tools/common/builderror.h"

#include <functional>

namespace builddb {

namespace {

bool isIndexStatement(const QString &sql)
{
    return sql.startsWith(QStringLiteral("CREATE INDEX"), Qt::CaseInsensitive);
}

} // namespace

DatabaseWriter::DatabaseWriter(const QString &path)
    : m_path(path)
{
    try {
        m_file = std::make_unique<SqliteFile>(path, SqliteFile::Mode::Create);
    } catch (const DbError &e) {
        throw BuildError(m_path, QStringLiteral("cannot be created: ") + e.message());
    }
    // The file is a temporary one until the build succeeds, so it needs no crash safety.
    exec(QStringLiteral("PRAGMA journal_mode = OFF"));
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
    exec(QStringLiteral("BEGIN"));
    for (const QString &sql : schema::createStatements())
        if (!isIndexStatement(sql))
            exec(sql);
    exec(schema::insertDraftStatement());
}

DatabaseWriter::~DatabaseWriter() = default;

void DatabaseWriter::exec(const QString &sql)
{
    try {
        m_file->exec(sql.toUtf8());
    } catch (const DbError &e) {
        fail(e.message());
    }
}

void DatabaseWriter::fail(const QString &what) const
{
    throw BuildError(m_path, what);
}

namespace {

// One INSERT run once per row; a failure throws BuildError naming the file.
class Inserter {
public:
    Inserter(sqlite3 *db, const QString &sql, const std::function<void(const QString &)> &fail)
        : m_fail(fail)
    {
        try {
            m_stmt = std::make_unique<Statement>(db, sql.toUtf8());
        } catch (const DbError &e) {
            m_fail(QStringLiteral("cannot prepare: ") + sql + QStringLiteral(": ") + e.message());
        }
    }

    Inserter &text(int column, const QString &value)
    {
        m_stmt->bindText(column, value);
        return *this;
    }

    Inserter &integer(int column, qint64 value)
    {
        m_stmt->bindInt64(column, value);
        return *this;
    }

    void run()
    {
        try {
            m_stmt->step();
        } catch (const DbError &e) {
            m_fail(QStringLiteral("cannot insert a row: ") + e.message());
        }
        m_stmt->reset();
    }

private:
    std::unique_ptr<Statement> m_stmt;
    std::function<void(const QString &)> m_fail;
};

} // namespace

void DatabaseWriter::writeRhymes(const QString &table, const QList<RhymeRow> &rows)
{
    Inserter insert(m_file->handle(),
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
    Inserter insert(m_file->handle(),
                    QStringLiteral("INSERT INTO %1 (%1, %2) VALUES (?1, ?2)").arg(table, schema::colMeaning),
                    [this](const QString &what) { fail(what); });
    for (const Entry &entry : entries)
        insert.text(1, entry.key).text(2, entry.meaning).run();
}

void DatabaseWriter::writeWorks(const QList<Work> &works, const QDate &date)
{
    using namespace schema;
    Inserter insert(
        m_file->handle(),
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
    try {
        m_file->close();
    } catch (const DbError &e) {
        fail(QStringLiteral("cannot be closed: ") + e.message());
    }
}

} // namespace builddb
