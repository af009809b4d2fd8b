// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/scansplit.h"

#include "db/sqlite.h"

#include <QRegularExpression>

#include <limits>

namespace {

// Below this many rows, starting a second thread costs more than it saves.
constexpr qint64 minimumRows = 20000;
constexpr int partCount = 8;

// All rows of one table, or the rows whose column is like a pattern.
const QRegularExpression &wholeTableRead()
{
    static const QRegularExpression shape(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+([^\\s;?()]+)\\s*"
                       "(?:where\\s+([^\\s;?()]+)\\s+like\\s+\\?)?\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    return shape;
}

// True when the engine's plan for the query is one full pass over the table in rowid order.
bool plansFullScan(SqliteFile &db, const dialect::Translated &query, const QString &table)
{
    Statement plan(db, "EXPLAIN QUERY PLAN " + query.sql);
    for (int i = 0; i < query.literals.size(); ++i)
        plan.bindText(i + 1, query.literals[i]);
    QStringList steps;
    while (plan.step())
        steps << plan.text(3);
    return steps == QStringList{QStringLiteral("SCAN ") + table};
}

} // namespace

namespace scansplit {

Plan plan(SqliteFile &db, const dialect::Translated &query, const QString &table, const QString &rowidName)
{
    const QRegularExpressionMatch m = wholeTableRead().match(QString::fromUtf8(query.sql));
    const bool test = m.hasCaptured(2);
    if (!m.hasMatch() || m.captured(1) != table || query.literals.size() != (test ? 1 : 0))
        return {};
    // A pattern that starts with a fixed text can be answered from an index, in its order.
    if (test && !query.literals[0].startsWith(u'%') && !query.literals[0].startsWith(u'_'))
        return {};

    // Each of min and max alone is one step down the table's tree; together they are a full scan.
    Statement range(db, QStringLiteral("SELECT (SELECT min(%1) FROM %2), (SELECT max(%1) FROM %2)")
                            .arg(rowidName, quotedIdentifier(table))
                            .toUtf8());
    if (!range.step() || range.isNull(0))
        return {};
    const qint64 low = range.int64(0);
    const quint64 span = quint64(range.int64(1)) - quint64(low);
    if (span < quint64(minimumRows))
        return {};
    // In write-ahead-log mode, holding a read lock does not keep other programs from committing, so
    // the second connection could see a later state of the file.
    Statement journal(db, "PRAGMA journal_mode");
    if (!journal.step() || journal.text(0).compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0 ||
        !plansFullScan(db, query, table))
        return {};

    Plan plan;
    const QString between = QStringLiteral(" WHERE ") + rowidName + QStringLiteral(" BETWEEN ");
    plan.sql =
        (QStringLiteral("SELECT ") + rowidName + QStringLiteral(", * FROM ") + m.captured(1) +
         (test ? between + QStringLiteral("?2 AND ?3 AND ") + m.captured(2) + QStringLiteral(" LIKE ?1")
               : between + QStringLiteral("?1 AND ?2")))
            .toUtf8();
    // Rows differ in length, so equal ranges are not equal work: more parts than threads let a thread
    // that finishes early take the next part.
    qint64 start = std::numeric_limits<qint64>::min();
    for (int i = 1; i < partCount; ++i) {
        const qint64 end = qint64(quint64(low) + span / partCount * quint64(i));
        plan.ranges.emplace_back(start, end);
        start = end + 1;
    }
    plan.ranges.emplace_back(start, std::numeric_limits<qint64>::max());
    return plan;
}

} // namespace scansplit
