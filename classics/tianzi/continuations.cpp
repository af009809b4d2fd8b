// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/tianzi/continuations.h"

#include "classics/classics.h"
#include "db/dberror.h"
#include "db/sqlite.h"

#include <QFileInfo>

#include <algorithm>

namespace classics::tianzi {

namespace {

// The rows a writing session reads stay small; a measurement over many poems clears them now and then.
constexpr qsizetype kRememberedRows = 50000;

QString rebuildHint()
{
    return QStringLiteral("请运行 bash setup.sh run，或 build/tools/shihai-builddb --classics %1 重新生成。")
        .arg(classicsschema::defaultPath);
}

} // namespace

Continuations::~Continuations() = default;

std::unique_ptr<Continuations> Continuations::open(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw ClassicsError(QStringLiteral("找不到古典诗词文件 %1，无从填字。").arg(path) + rebuildHint());
    std::unique_ptr<Continuations> c(new Continuations);
    c->m_path = path;
    try {
        c->m_file = std::make_unique<SqliteFile>(path, SqliteFile::Mode::ReadOnly);
        Statement table(*c->m_file,
                        QByteArrayLiteral("SELECT count(*) FROM sqlite_schema WHERE type = 'table' "
                                          "AND name = '续字'"));
        if (!table.step() || table.int32(0) != 1)
            throw ClassicsError(QStringLiteral("古典诗词文件 %1 是旧版本，没有填字数据。").arg(path) +
                                rebuildHint());
        c->m_rowQuery =
            std::make_unique<Statement>(*c->m_file, QByteArrayLiteral("SELECT 续 FROM 续字 WHERE 键 = ?1"));
        c->m_lineQuery = std::make_unique<Statement>(
            *c->m_file, QByteArrayLiteral("SELECT 句.文, 诗.作者, 诗.题 FROM 句 JOIN 诗 ON 诗.编号 = 句.诗 "
                                          "WHERE 句.编号 = ?1"));
    } catch (const DbError &e) {
        throw ClassicsError(QStringLiteral("古典诗词文件 %1 已损坏或不是古典诗词文件（%2），无从填字。")
                                .arg(path, e.message()) +
                            rebuildHint());
    }
    return c;
}

void Continuations::fail(const QString &what) const
{
    throw ClassicsError(QStringLiteral("古典诗词文件 %1 读取出错（%2）。").arg(m_path, what) + rebuildHint());
}

QList<Next> Continuations::row(qint64 key) const
{
    const auto known = m_rows.constFind(key);
    if (known != m_rows.constEnd())
        return *known;
    if (m_rows.size() > kRememberedRows)
        m_rows.clear();
    QList<Next> nexts;
    try {
        m_rowQuery->reset();
        m_rowQuery->bindInt64(1, key);
        if (m_rowQuery->step())
            nexts = decodeNexts(m_rowQuery->blob(0));
    } catch (const DbError &e) {
        fail(e.message());
    }
    const auto held = m_heldBack.constFind(key);
    if (held != m_heldBack.constEnd()) {
        for (Next &n : nexts)
            n.count -= held->value(n.hanzi);
        nexts.removeIf([](const Next &n) { return n.count <= 0; });
        std::stable_sort(nexts.begin(), nexts.end(),
                         [](const Next &a, const Next &b) { return a.count > b.count; });
    }
    return *m_rows.insert(key, nexts);
}

void Continuations::holdBack(const QHash<qint64, QHash<char32_t, int>> &counts)
{
    for (auto it = m_heldBack.constBegin(); it != m_heldBack.constEnd(); ++it)
        m_rows.remove(it.key());
    m_heldBack = counts;
    for (auto it = m_heldBack.constBegin(); it != m_heldBack.constEnd(); ++it)
        m_rows.remove(it.key());
}

ExampleLine Continuations::example(qint64 line) const
{
    ExampleLine out{line, {}, {}, {}};
    try {
        m_lineQuery->reset();
        m_lineQuery->bindInt64(1, line);
        if (m_lineQuery->step())
            out = {line, m_lineQuery->text(0), m_lineQuery->text(1), m_lineQuery->text(2)};
    } catch (const DbError &e) {
        fail(e.message());
    }
    return out;
}

} // namespace classics::tianzi
