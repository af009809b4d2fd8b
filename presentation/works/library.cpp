// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/library.h"

#include "db/dates.h"
#include "db/dialect.h"
#include "db/query.h"
#include "db/rtf.h"
#include "db/schema.h"
#include "presentation/categories.h"

#include <algorithm>

using namespace schema;

namespace {

Work rowOf(const Query &query, int row)
{
    auto cell = [&](const QString &column) { return query.cellText(row, query.fieldIndex(column)); };
    // The query shows dates in the short format, which reads back as typed.
    return {cell(colTitle), rtf::displayText(cell(colContent)), cell(colCategory),
            dates::fromTyped(cell(colDate))};
}

QList<Work> select(Connection *connection, const QString &condition)
{
    Query query(connection, QStringLiteral("Works_Export_ADOQuery"),
                QStringLiteral("select * from 作品 where %1 order by 日期 desc").arg(condition));
    query.open();
    QList<Work> out;
    out.reserve(query.rowCount());
    for (int row = 0; row < query.rowCount(); ++row)
        out << rowOf(query, row);
    return out;
}

int rank(const QString &category)
{
    const QStringList order = categories::categoryTexts();
    const auto at = order.indexOf(category);
    return at < 0 ? int(order.size()) : int(at);
}

} // namespace

namespace library {

QList<Work> ofCategory(Connection *connection, const QString &category)
{
    if (category == draftCategory)
        return {};
    return select(connection, QStringLiteral("类别=") + dialect::literal(category));
}

QList<Work> all(Connection *connection)
{
    // A work without a category is still one of them.
    QList<Work> works =
        select(connection, QStringLiteral("ifnull(类别, '')<>") + dialect::literal(draftCategory));
    std::stable_sort(works.begin(), works.end(), [](const Work &a, const Work &b) {
        const int ra = rank(a.category);
        const int rb = rank(b.category);
        return ra != rb ? ra < rb : (ra == int(categories::table.size()) && a.category < b.category);
    });
    return works;
}

Work current(const Query &query)
{
    return rowOf(query, query.currentRow());
}

} // namespace library
