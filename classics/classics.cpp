// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/classics.h"

#include "classics/indextext.h"
#include "db/dberror.h"
#include "db/sqlite.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace classics {

namespace {

QString buildHint()
{
    return QStringLiteral("请运行 bash setup.sh run，或 build/tools/shihai-builddb --classics %1 生成。")
        .arg(classicsschema::defaultPath);
}

} // namespace

Classics::~Classics() = default;

std::unique_ptr<Classics> Classics::open(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw ClassicsError(QStringLiteral("找不到古典诗词文件 %1，无从查找例句。").arg(path) + buildHint());
    std::unique_ptr<Classics> c(new Classics);
    c->m_path = path;
    try {
        c->m_file = std::make_unique<SqliteFile>(path, SqliteFile::Mode::ReadOnly);
    } catch (const DbError &e) {
        throw ClassicsError(
            QStringLiteral("古典诗词文件 %1 打不开（%2），无从查找例句。").arg(path, e.message()) +
            buildHint());
    }
    const SqliteFile &db = *c->m_file;
    try {
        Statement version(db, QByteArrayLiteral("SELECT 值 FROM 版本 WHERE 键 = ?1"));
        version.bindText(1, classicsschema::versionKey);
        if (version.step())
            c->m_version = version.text(0);
        Statement dynasties(db, QByteArrayLiteral("SELECT 名 FROM 朝代 ORDER BY 序"));
        dynasties.forEachRow([&](const Statement &s) { c->m_dynasties << s.text(0); });
        Statement runs(db, QByteArrayLiteral("SELECT 起, 止, 朝代 FROM 朝代段 ORDER BY 起"));
        runs.forEachRow([&](const Statement &s) {
            c->m_runs.append({s.int64(0), s.int64(1), int(c->m_dynasties.indexOf(s.text(2)))});
        });
        Statement totals(db, QByteArrayLiteral("SELECT 项, 值 FROM 概况"));
        totals.forEachRow([&](const Statement &s) {
            const QString key = s.text(0);
            const qint64 value = s.int64(1);
            if (key == u"诗")
                c->m_totals.poems = value;
            else if (key == u"句")
                c->m_totals.lines = value;
            else if (key == u"字")
                c->m_totals.characters = value;
            else if (key == u"近体诗")
                c->m_totals.regulated = value;
        });
        c->m_variants = prosody::Variants::read(db);
        // Fails here rather than at the first search when SQLite lacks FTS5 or the index is gone.
        Statement index(db, QByteArrayLiteral("SELECT rowid FROM 句索引 WHERE 句索引 MATCH ?1"));
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
    const QStringList runs = searchRuns(m_variants.standard(text));
    Counts out;
    if (runs.isEmpty())
        return out;
    QList<int> byDynasty(m_dynasties.size());
    try {
        if (runs.size() == 1 && runs.first().toUcs4().size() == 1) {
            // One character: counted when the file was built.
            Statement stmt(*m_file, QByteArrayLiteral("SELECT 朝代, 句数 FROM 字频 WHERE 字 = ?1"));
            stmt.bindText(1, runs.first());
            stmt.forEachRow([&](const Statement &s) {
                const qsizetype d = m_dynasties.indexOf(s.text(0));
                if (d >= 0)
                    byDynasty[d] += s.int32(1);
            });
        } else {
            Statement stmt(*m_file, QByteArrayLiteral("SELECT rowid FROM 句索引 WHERE 句索引 MATCH ?1"));
            stmt.bindText(1, matchExpression(runs));
            // Lines come in ascending order: the run of the last line is the first to try.
            qsizetype run = 0;
            stmt.forEachRow([&](const Statement &s) {
                const qint64 line = s.int64(0);
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
    const QStringList runs = searchRuns(m_variants.standard(text));
    QList<Example> out;
    if (runs.isEmpty() || limit <= 0)
        return out;
    try {
        Statement stmt(
            *m_file,
            // The lines skipped by offset are found in the index alone, without reading their rows.
            QByteArrayLiteral(
                "SELECT 句.编号, 句.诗, 句.文, 诗.题, 诗.作者, 诗.朝代 FROM (SELECT rowid AS 号 "
                "FROM 句索引 WHERE 句索引 MATCH ?1 ORDER BY rowid LIMIT ?2 OFFSET ?3) AS 中 "
                "JOIN 句 ON 句.编号 = 中.号 JOIN 诗 ON 诗.编号 = 句.诗 ORDER BY 句.编号"));
        stmt.bindText(1, matchExpression(runs));
        stmt.bindInt64(2, limit);
        stmt.bindInt64(3, std::max(0, offset));
        stmt.forEachRow([&](const Statement &s) {
            out.append({s.int64(0), s.int64(1), s.text(2), s.text(3), s.text(4), s.text(5)});
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
            *m_file,
            QByteArrayLiteral("SELECT 题, 作者, 朝代, 体, 出处, 注, 首句, 句数 FROM 诗 WHERE 编号 = ?1"));
        stmt.bindInt64(1, id);
        if (!stmt.step())
            return out;
        out =
            Poem{id, stmt.text(0), stmt.text(1), stmt.text(2), stmt.text(3), stmt.text(4), {}, stmt.text(5)};
        const qint64 first = stmt.int64(6);
        Statement lines(*m_file,
                        QByteArrayLiteral("SELECT 文 FROM 句 WHERE 编号 BETWEEN ?1 AND ?2 ORDER BY 编号"));
        lines.bindInt64(1, first);
        lines.bindInt64(2, first + stmt.int64(7) - 1);
        lines.forEachRow([&](const Statement &l) { out->lines << l.text(0); });
    } catch (const DbError &e) {
        fail(e.message());
    }
    return out;
}

QList<RhymeWord> Classics::rhymeWords(prosody::Book book, const QString &group) const
{
    QList<RhymeWord> out;
    try {
        Statement stmt(*m_file, QByteArrayLiteral("SELECT 字, 次数 FROM 韵脚 WHERE 书 = ?1 AND 部 = ?2"));
        stmt.bindText(1, prosody::bookName(book));
        stmt.bindText(2, group);
        stmt.forEachRow([&](const Statement &s) { out.append({s.text(0), s.int32(1)}); });
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
            *m_file,
            QByteArrayLiteral("SELECT 部, 次数 FROM 韵脚 WHERE 字 = ?1 AND 书 = ?2 ORDER BY 次数 DESC"));
        stmt.bindText(1, m_variants.standard(hanzi));
        stmt.bindText(2, prosody::bookName(book));
        stmt.forEachRow([&](const Statement &s) { out.append({s.text(0), s.int32(1)}); });
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
