// SPDX-License-Identifier: GPL-3.0-or-later
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

// An INSERT of the columns, their values numbered in order.
QString insertInto(const QString &table, const QStringList &columns)
{
    QStringList marks;
    for (qsizetype i = 1; i <= columns.size(); ++i)
        marks << QStringLiteral("?%1").arg(i);
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

// One INSERT run once per row; a failure throws BuildError naming the file.
class Inserter {
public:
    Inserter(const SqliteFile &file, const QString &sql, const std::function<void(const QString &)> &fail)
        : m_fail(fail)
    {
        try {
            m_stmt = std::make_unique<Statement>(file, sql.toUtf8());
        } catch (const DbError &e) {
            m_fail(QStringLiteral("cannot prepare: ") + sql + QStringLiteral(": ") + e.message());
        }
    }

    template <class... Values> void row(const Values &...values)
    {
        try {
            m_stmt->bindRow(values...);
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
    using namespace schema;
    Inserter insert(*m_file, insertInto(table, {colFinal, colSyllable, colTone, colCommon, colRare}),
                    [this](const QString &what) { fail(what); });
    for (const RhymeRow &row : rows)
        insert.row(row.final, row.syllable, row.tone, row.common, row.rare);
}

void DatabaseWriter::writeEntries(const QString &table, const QList<Entry> &entries)
{
    // The key column carries the table's name.
    Inserter insert(*m_file, insertInto(table, {table, schema::colMeaning}),
                    [this](const QString &what) { fail(what); });
    for (const Entry &entry : entries)
        insert.row(entry.key, entry.meaning);
}

void DatabaseWriter::writeWorks(const QList<Work> &works, const QDate &date)
{
    using namespace schema;
    Inserter insert(*m_file,
                    insertInto(tableWorks, {colTitle, colCategory, colMark, colCount, colAuthor, colSource,
                                            colUrl, colDate, colRemarks, colContent}),
                    [this](const QString &what) { fail(what); });
    const QString day = date.toString(Qt::ISODate);
    for (const Work &work : works)
        insert.row(work.title, work.category, markOf(work.category), work.count, work.author, work.source,
                   QString(), day, work.remarks, work.content);
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
