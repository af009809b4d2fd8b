#include "scansplit.h"

#include "sqlite.h"

#include <QRegularExpression>

#include <sqlite3.h>

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
bool plansFullScan(sqlite3 *db, const dialect::Translated &query, const QString &table)
{
    Statement plan(db, "EXPLAIN QUERY PLAN " + query.sql);
    for (int i = 0; i < query.literals.size(); ++i)
        plan.bindText(i + 1, query.literals[i]);
    QStringList steps;
    while (plan.step())
        steps << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(plan.handle(), 3)));
    return steps == QStringList{QStringLiteral("SCAN ") + table};
}

} // namespace

namespace scansplit {

std::vector<std::pair<qint64, qint64>> parts(sqlite3 *db, const dialect::Translated &query,
                                             const QString &table, const QString &rowidName)
{
    const QRegularExpressionMatch m = wholeTableRead().match(QString::fromUtf8(query.sql));
    if (!m.hasMatch() || m.captured(1) != table || query.literals.size() != (m.hasCaptured(2) ? 1 : 0))
        return {};
    if (m.hasCaptured(2)) {
        // A pattern that starts with a fixed text can be answered from an index, in its order.
        const QString pattern = query.literals.value(0);
        if (!pattern.startsWith(u'%') && !pattern.startsWith(u'_'))
            return {};
    }
    // In write-ahead-log mode, holding a read lock does not keep other programs from committing, so
    // the second connection could see a later state of the file.
    Statement journal(db, "PRAGMA journal_mode");
    if (!journal.step() ||
        qstricmp(reinterpret_cast<const char *>(sqlite3_column_text(journal.handle(), 0)), "wal") == 0)
        return {};

    // Each of min and max alone is one step down the table's tree; together they are a full scan.
    const QString quoted = u'"' + QString(table).replace(u'"', QStringLiteral("\"\"")) + u'"';
    Statement range(db, QStringLiteral("SELECT (SELECT min(%1) FROM %2), (SELECT max(%1) FROM %2)")
                            .arg(rowidName, quoted)
                            .toUtf8());
    if (!range.step() || sqlite3_column_type(range.handle(), 0) == SQLITE_NULL)
        return {};
    const qint64 low = sqlite3_column_int64(range.handle(), 0);
    const quint64 span = quint64(sqlite3_column_int64(range.handle(), 1)) - quint64(low);
    if (span < quint64(minimumRows) || !plansFullScan(db, query, table))
        return {};
    // Rows differ in length, so equal ranges are not equal work: more parts than threads let a thread
    // that finishes early take the next part.
    std::vector<std::pair<qint64, qint64>> ranges;
    qint64 start = std::numeric_limits<qint64>::min();
    for (int i = 1; i < partCount; ++i) {
        const qint64 end = qint64(quint64(low) + span / partCount * quint64(i));
        ranges.emplace_back(start, end);
        start = end + 1;
    }
    ranges.emplace_back(start, std::numeric_limits<qint64>::max());
    return ranges;
}

QByteArray rangeQuery(const dialect::Translated &query, const QString &rowidName)
{
    const QRegularExpressionMatch m = wholeTableRead().match(QString::fromUtf8(query.sql));
    Q_ASSERT(m.hasMatch());
    const bool test = m.hasCaptured(2);
    const QString range = rowidName + QStringLiteral(" BETWEEN ");
    const QString text = QStringLiteral("SELECT ") + rowidName + QStringLiteral(", * FROM ") + m.captured(1) +
                         (test ? QStringLiteral(" WHERE ") + range + QStringLiteral("?2 AND ?3 AND ") +
                                     m.captured(2) + QStringLiteral(" LIKE ?1")
                               : QStringLiteral(" WHERE ") + range + QStringLiteral("?1 AND ?2"));
    return text.toUtf8();
}

} // namespace scansplit
