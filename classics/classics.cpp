#include "classics/classics.h"

#include "classics/indextext.h"
#include "db/dberror.h"
#include "db/sqlite.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>

namespace classics {

namespace {

QString buildHint()
{
    return QStringLiteral("请运行 bash setup.sh run，或 build/tools/shihai-builddb --classics %1 生成。")
        .arg(classicsschema::defaultPath);
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

// Runs a statement and hands each row to visit.
template <typename Visit> void eachRow(Statement &stmt, Visit visit)
{
    while (stmt.step())
        visit(stmt.handle());
}

} // namespace

void Classics::Closer::operator()(sqlite3 *db) const
{
    sqlite3_close(db);
}

Classics::~Classics() = default;

std::unique_ptr<Classics> Classics::open(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw ClassicsError(QStringLiteral("找不到古典诗词文件 %1，无从查找例句。").arg(path) + buildHint());
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<Classics> c(new Classics);
    c->m_db.reset(raw);
    c->m_path = path;
    if (rc != SQLITE_OK)
        throw ClassicsError(QStringLiteral("古典诗词文件 %1 打不开（%2），无从查找例句。")
                                .arg(path, QString::fromUtf8(sqlite3_errmsg(raw))) +
                            buildHint());
    try {
        Statement version(raw, QByteArrayLiteral("SELECT 值 FROM 版本 WHERE 键 = ?1"));
        version.bindText(1, classicsschema::versionKey);
        if (version.step())
            c->m_version = columnText(version.handle(), 0);
        Statement dynasties(raw, QByteArrayLiteral("SELECT 名 FROM 朝代 ORDER BY 序"));
        eachRow(dynasties, [&](sqlite3_stmt *s) { c->m_dynasties << columnText(s, 0); });
        Statement runs(raw, QByteArrayLiteral("SELECT 起, 止, 朝代 FROM 朝代段 ORDER BY 起"));
        eachRow(runs, [&](sqlite3_stmt *s) {
            c->m_runs.append({sqlite3_column_int64(s, 0), sqlite3_column_int64(s, 1),
                              int(c->m_dynasties.indexOf(columnText(s, 2)))});
        });
        Statement totals(raw, QByteArrayLiteral("SELECT 项, 值 FROM 概况"));
        eachRow(totals, [&](sqlite3_stmt *s) {
            const QString key = columnText(s, 0);
            const qint64 value = sqlite3_column_int64(s, 1);
            if (key == u"诗")
                c->m_totals.poems = value;
            else if (key == u"句")
                c->m_totals.lines = value;
            else if (key == u"字")
                c->m_totals.characters = value;
            else if (key == u"近体诗")
                c->m_totals.regulated = value;
        });
        // Fails here rather than at the first search when SQLite lacks FTS5 or the index is gone.
        Statement index(raw, QByteArrayLiteral("SELECT rowid FROM 句索引 WHERE 句索引 MATCH ?1"));
    } catch (const DbError &e) {
        throw ClassicsError(QStringLiteral("古典诗词文件 %1 已损坏或不是古典诗词文件（%2），无从查找例句。")
                                .arg(path, e.message()) +
                            buildHint());
    }
    if (c->m_version.isEmpty() || c->m_runs.isEmpty())
        throw ClassicsError(QStringLiteral("古典诗词文件 %1 中没有诗句，无从查找例句。").arg(path) +
                            buildHint());
    return c;
}

void Classics::fail(const QString &what) const
{
    throw ClassicsError(QStringLiteral("古典诗词文件 %1 读取出错（%2）。").arg(m_path, what) + buildHint());
}

Counts Classics::count(const QString &text) const
{
    const QStringList runs = searchRuns(text);
    Counts out;
    if (runs.isEmpty())
        return out;
    QList<int> byDynasty(m_dynasties.size());
    try {
        if (runs.size() == 1 && runs.first().toUcs4().size() == 1) {
            // One character: counted when the file was built.
            Statement stmt(m_db.get(), QByteArrayLiteral("SELECT 朝代, 句数 FROM 字频 WHERE 字 = ?1"));
            stmt.bindText(1, runs.first());
            eachRow(stmt, [&](sqlite3_stmt *s) {
                const qsizetype d = m_dynasties.indexOf(columnText(s, 0));
                if (d >= 0)
                    byDynasty[d] += sqlite3_column_int(s, 1);
            });
        } else {
            Statement stmt(m_db.get(), QByteArrayLiteral("SELECT rowid FROM 句索引 WHERE 句索引 MATCH ?1"));
            stmt.bindText(1, matchExpression(runs));
            // Lines come in ascending order: the run of the last line is the first to try.
            qsizetype run = 0;
            eachRow(stmt, [&](sqlite3_stmt *s) {
                const qint64 line = sqlite3_column_int64(s, 0);
                while (run < m_runs.size() && m_runs.at(run).last < line)
                    ++run;
                if (run < m_runs.size() && m_runs.at(run).first <= line && m_runs.at(run).dynasty >= 0)
                    ++byDynasty[m_runs.at(run).dynasty];
            });
        }
    } catch (const DbError &e) {
        fail(e.message());
    }
    for (qsizetype d = 0; d < byDynasty.size(); ++d) {
        if (byDynasty.at(d) == 0)
            continue;
        out.byDynasty.append({m_dynasties.at(d), byDynasty.at(d)});
        out.lines += byDynasty.at(d);
    }
    return out;
}

QList<Example> Classics::lines(const QString &text, int offset, int limit) const
{
    const QStringList runs = searchRuns(text);
    QList<Example> out;
    if (runs.isEmpty() || limit <= 0)
        return out;
    try {
        Statement stmt(
            m_db.get(),
            // The lines skipped by offset are found in the index alone, without reading their rows.
            QByteArrayLiteral(
                "SELECT 句.编号, 句.诗, 句.文, 诗.题, 诗.作者, 诗.朝代 FROM (SELECT rowid AS 号 "
                "FROM 句索引 WHERE 句索引 MATCH ?1 ORDER BY rowid LIMIT ?2 OFFSET ?3) AS 中 "
                "JOIN 句 ON 句.编号 = 中.号 JOIN 诗 ON 诗.编号 = 句.诗 ORDER BY 句.编号"));
        stmt.bindText(1, matchExpression(runs));
        stmt.bindInt64(2, limit);
        stmt.bindInt64(3, std::max(0, offset));
        eachRow(stmt, [&](sqlite3_stmt *s) {
            out.append({sqlite3_column_int64(s, 0), sqlite3_column_int64(s, 1), columnText(s, 2),
                        columnText(s, 3), columnText(s, 4), columnText(s, 5)});
        });
    } catch (const DbError &e) {
        fail(e.message());
    }
    return out;
}

std::optional<Poem> Classics::poem(qint64 id) const
{
    std::optional<Poem> out;
    try {
        Statement stmt(
            m_db.get(),
            QByteArrayLiteral("SELECT 题, 作者, 朝代, 体, 出处, 注, 首句, 句数 FROM 诗 WHERE 编号 = ?1"));
        stmt.bindInt64(1, id);
        if (!stmt.step())
            return out;
        sqlite3_stmt *s = stmt.handle();
        out =
            Poem{id, columnText(s, 0), columnText(s, 1), columnText(s, 2), columnText(s, 3), columnText(s, 4),
                 {}, columnText(s, 5)};
        const qint64 first = sqlite3_column_int64(s, 6);
        Statement lines(m_db.get(),
                        QByteArrayLiteral("SELECT 文 FROM 句 WHERE 编号 BETWEEN ?1 AND ?2 ORDER BY 编号"));
        lines.bindInt64(1, first);
        lines.bindInt64(2, first + sqlite3_column_int64(s, 7) - 1);
        eachRow(lines, [&](sqlite3_stmt *l) { out->lines << columnText(l, 0); });
    } catch (const DbError &e) {
        fail(e.message());
    }
    return out;
}

QList<RhymeWord> Classics::rhymeWords(prosody::Book book, const QString &group) const
{
    QList<RhymeWord> out;
    try {
        Statement stmt(m_db.get(), QByteArrayLiteral("SELECT 字, 次数 FROM 韵脚 WHERE 书 = ?1 AND 部 = ?2"));
        stmt.bindText(1, prosody::bookName(book));
        stmt.bindText(2, group);
        eachRow(stmt, [&](sqlite3_stmt *s) { out.append({columnText(s, 0), sqlite3_column_int(s, 1)}); });
    } catch (const DbError &e) {
        fail(e.message());
    }
    std::sort(out.begin(), out.end(), [](const RhymeWord &a, const RhymeWord &b) {
        return a.count != b.count ? a.count > b.count : a.hanzi.toUcs4() < b.hanzi.toUcs4();
    });
    return out;
}

QList<RhymeGroupCount> Classics::rhymeGroupsOf(prosody::Book book, const QString &hanzi) const
{
    QList<RhymeGroupCount> out;
    try {
        Statement stmt(
            m_db.get(),
            QByteArrayLiteral("SELECT 部, 次数 FROM 韵脚 WHERE 字 = ?1 AND 书 = ?2 ORDER BY 次数 DESC"));
        stmt.bindText(1, hanzi);
        stmt.bindText(2, prosody::bookName(book));
        eachRow(stmt, [&](sqlite3_stmt *s) { out.append({columnText(s, 0), sqlite3_column_int(s, 1)}); });
    } catch (const DbError &e) {
        fail(e.message());
    }
    return out;
}

QList<CountedMember> Classics::membersByUse(const prosody::RhymeBooks &books, prosody::Book book,
                                            int group) const
{
    QList<CountedMember> out;
    if (group < 0 || group >= books.groups(book).size())
        return out;
    QHash<char32_t, int> counts;
    for (const RhymeWord &w : rhymeWords(book, books.groups(book).at(group).name))
        counts.insert(w.hanzi.toUcs4().value(0), w.count);
    const QList<prosody::RhymeBooks::Member> members = books.members(book, group);
    QSet<char32_t> counted;
    for (const prosody::RhymeBooks::Member &m : members) {
        int count = 0;
        if (m.tone == prosody::Tone::Ping && !counted.contains(m.hanzi)) {
            count = counts.value(m.hanzi);
            counted.insert(m.hanzi);
        }
        out.append({m, count});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const CountedMember &a, const CountedMember &b) { return a.count > b.count; });
    return out;
}

} // namespace classics
