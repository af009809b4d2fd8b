// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/coupletpairs.h"

#include "db/dberror.h"
#include "db/sqlite.h"

#include <QFileInfo>

namespace classics {

namespace {

constexpr qsizetype kRememberedCouplets = 20000;

QString rebuildHint()
{
    return QStringLiteral("请运行 bash setup.sh run，或 build/tools/shihai-builddb --classics %1 重新生成。")
        .arg(classicsschema::defaultPath);
}

} // namespace

CoupletPairs::~CoupletPairs() = default;

std::unique_ptr<CoupletPairs> CoupletPairs::open(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw ClassicsError(QStringLiteral("找不到古典诗词文件 %1，无从查找对仗。").arg(path) +
                            rebuildHint());
    std::unique_ptr<CoupletPairs> p(new CoupletPairs);
    p->m_path = path;
    try {
        p->m_file = std::make_unique<SqliteFile>(path, SqliteFile::Mode::ReadOnly);
    } catch (const DbError &e) {
        throw ClassicsError(
            QStringLiteral("古典诗词文件 %1 打不开（%2），无从查找对仗。").arg(path, e.message()) +
            rebuildHint());
    }
    const SqliteFile &db = *p->m_file;
    try {
        Statement tables(db, QByteArrayLiteral("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND "
                                               "name IN ('对语', '对仗', '类对', '联')"));
        if (!tables.step() || tables.int32(0) != 4)
            throw ClassicsError(QStringLiteral("古典诗词文件 %1 是旧版本，没有对仗数据。").arg(path) +
                                rebuildHint());
        Statement totals(db, QByteArrayLiteral("SELECT 项, 值 FROM 概况"));
        totals.forEachRow([&](const Statement &s) {
            const QString key = s.text(0);
            const qint64 value = s.int64(1);
            if (key == u"对仗诗")
                p->m_totals.poems = value;
            else if (key == u"对仗联")
                p->m_totals.couplets = value;
            else if (key == u"对语")
                p->m_totals.units = value;
            else if (key == u"对仗对")
                p->m_totals.pairs = value;
            else if (key == u"对类")
                p->m_totals.groups = value;
            else if (key == u"对字")
                p->m_totals.characters = value;
        });
        Statement groups(db, QByteArrayLiteral("SELECT 甲, 乙, 分 FROM 类对"));
        groups.forEachRow([&](const Statement &s) {
            p->m_groupPairs.insert((quint64(quint32(s.int32(0))) << 32) | quint32(s.int32(1)),
                                   s.int32(2) / 100.0);
        });
        p->m_variants = prosody::Variants::read(db);
        p->m_unitQuery = std::make_unique<Statement>(
            db, QByteArrayLiteral("SELECT 编号, 次数, 类 FROM 对语 WHERE 文 = ?1"));
        p->m_pairQuery = std::make_unique<Statement>(
            db, QByteArrayLiteral("SELECT 次数, 外 FROM 对仗 WHERE 甲 = ?1 AND 乙 = ?2"));
    } catch (const DbError &e) {
        throw ClassicsError(QStringLiteral("古典诗词文件 %1 已损坏或不是古典诗词文件（%2），无从查找对仗。")
                                .arg(path, e.message()) +
                            rebuildHint());
    }
    return p;
}

void CoupletPairs::fail(const QString &what) const
{
    throw ClassicsError(QStringLiteral("古典诗词文件 %1 读取出错（%2）。").arg(m_path, what) + rebuildHint());
}

CoupletPairs::Unit CoupletPairs::unit(const QString &written) const
{
    const QString text = m_variants.standard(written);
    const auto found = m_units.constFind(text);
    if (found != m_units.constEnd())
        return found.value();
    Unit u;
    try {
        m_unitQuery->bindText(1, text);
        if (m_unitQuery->step())
            u = {m_unitQuery->int64(0), m_unitQuery->int32(1), m_unitQuery->int32(2)};
        m_unitQuery->reset();
    } catch (const DbError &e) {
        m_unitQuery->reset();
        fail(e.message());
    }
    m_units.insert(text, u);
    return u;
}

CoupletPairs::Pair CoupletPairs::pair(const QString &a, const QString &b) const
{
    const QString key = a + u'\t' + b;
    const auto found = m_pairs.constFind(key);
    if (found != m_pairs.constEnd())
        return found.value();
    Pair out;
    const Unit x = unit(a), y = unit(b);
    if (x.id && y.id) {
        try {
            m_pairQuery->bindInt64(1, x.id);
            m_pairQuery->bindInt64(2, y.id);
            if (m_pairQuery->step())
                out = {m_pairQuery->int32(0), m_pairQuery->int32(1)};
            m_pairQuery->reset();
        } catch (const DbError &e) {
            m_pairQuery->reset();
            fail(e.message());
        }
    }
    m_pairs.insert(key, out);
    return out;
}

int CoupletPairs::pairCount(const QString &a, const QString &b) const
{
    return pair(a, b).count;
}

int CoupletPairs::outerCount(const QString &a, const QString &b) const
{
    return pair(a, b).outer;
}

double CoupletPairs::groupAffinity(int a, int b) const
{
    // Two groups that never meet stand against each other less than any pair that does.
    constexpr double kNever = -10;
    return m_groupPairs.value((quint64(quint32(a)) << 32) | quint32(b), kNever);
}

int CoupletPairs::groupOf(const QString &text) const
{
    return unit(text).group;
}

std::optional<prosody::Couplet> CoupletPairs::remembered(const QString &key) const
{
    const auto found = m_couplets.constFind(key);
    return found == m_couplets.constEnd() ? std::nullopt : std::optional(found.value());
}

void CoupletPairs::remember(const QString &key, const prosody::Couplet &couplet) const
{
    // Bounded, so a long session of drafts does not grow it without end.
    if (m_couplets.size() >= kRememberedCouplets)
        m_couplets.clear();
    m_couplets.insert(key, couplet);
}

int CoupletPairs::unitCount(const QString &word) const
{
    return unit(word).count;
}

QList<Partner> CoupletPairs::partners(const QString &word, int limit) const
{
    QList<Partner> out;
    const Unit u = unit(word);
    if (!u.id || limit <= 0)
        return out;
    try {
        Statement stmt(
            *m_file,
            QByteArrayLiteral("SELECT 对语.文, 对仗.次数, 对仗.例 FROM 对仗 JOIN 对语 ON 对语.编号 = 对仗.乙 "
                              "WHERE 对仗.甲 = ?1 ORDER BY 对仗.分 DESC, 对仗.次数 DESC, 对仗.乙 LIMIT ?2"));
        stmt.bindInt64(1, u.id);
        stmt.bindInt64(2, limit);
        stmt.forEachRow([&](const Statement &s) { out.append({s.text(0), s.int32(1), s.int64(2)}); });
    } catch (const DbError &e) {
        fail(e.message());
    }
    return out;
}

std::optional<CoupletExample> CoupletPairs::couplet(qint64 id) const
{
    std::optional<CoupletExample> out;
    try {
        Statement stmt(*m_file,
                       QByteArrayLiteral("SELECT 联.诗, 联.位, 联.上, 联.下, 诗.题, 诗.作者, 诗.朝代 FROM 联 "
                                         "JOIN 诗 ON 诗.编号 = 联.诗 WHERE 联.编号 = ?1"));
        stmt.bindInt64(1, id);
        if (stmt.step())
            out = CoupletExample{id,           stmt.int64(0), stmt.text(1), stmt.text(2),
                                 stmt.text(3), stmt.text(4),  stmt.text(5), stmt.text(6)};
    } catch (const DbError &e) {
        fail(e.message());
    }
    return out;
}

} // namespace classics
