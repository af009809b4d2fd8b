// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/rhymesmodel.h"

#include "db/database.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "presentation/rhymestatus.h"

#include <optional>

using namespace schema;

const QString RhymesModel::all = QStringLiteral("-全部-");

namespace {

// Replaces the query's lines by those of one of the four cases; a final or tone left out sets no
// condition on it.
void replaceRows(Query *query, const QString &table, const std::optional<QString> &final,
                 const std::optional<QString> &tone)
{
    query->close();
    query->clearSql();
    if (!final && !tone) {
        query->addSql(QStringLiteral("select * from %1").arg(table));
    } else {
        query->addSql(QStringLiteral("select * from %1 where ").arg(table));
        if (final)
            query->addSql(colFinal + u'=' + dialect::literal(*final));
        if (final && tone)
            query->addSql(QStringLiteral(" and "));
        if (tone)
            query->addSql(colTone + u'=' + dialect::literal(*tone));
        if (final && tone)
            query->addSql(QStringLiteral(" order by ") + colSyllable);
        else if (final)
            query->addSql(QStringLiteral(" order by %1 DESC,%2").arg(colTone, colSyllable));
    }
    query->open();
}

} // namespace

RhymesModel::RhymesModel(Database &db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{
}

DataSource *RhymesModel::psyRows() const
{
    return m_db.View_psy_ADOQuery->dataSource();
}

DataSource *RhymesModel::jsyRows() const
{
    return m_db.View_jsy_ADOQuery->dataSource();
}

void RhymesModel::writeStatus(const QString &group, const QString &final, const QString &tone, int psy,
                              int jsy)
{
    const bool anyFinal = group == all;
    const bool anyTone = tone == all;
    QString condition;
    if (anyFinal && anyTone)
        condition = rhymestatus::allRecords();
    else if (anyFinal)
        condition = rhymestatus::toneOnly(tone);
    else if (anyTone)
        condition = rhymestatus::finalOnly(final);
    else
        condition = rhymestatus::finalAndTone(final, tone);
    emit statusChanged(0, condition);
    emit statusChanged(1, rhymestatus::counts(psy, jsy));
}

void RhymesModel::show(const QString &group, const QString &final, const QString &tone)
{
    const int n = m_db.View_psy_ADOQuery->recordCount();
    const int m = m_db.View_jsy_ADOQuery->recordCount();
    writeStatus(group, final, tone, n, m);
}

void RhymesModel::lookUp(const QString &group, const QString &final, const QString &tone)
{
    Query *psy = m_db.View_psy_ADOQuery;
    Query *jsy = m_db.View_jsy_ADOQuery;
    // Rows typed into either grid are written before the queries are replaced; a refused write
    // stops here with the row as the user left it.
    psy->settle();
    jsy->settle();
    const std::optional<QString> byFinal = group == all ? std::nullopt : std::optional<QString>(final);
    const std::optional<QString> byTone = tone == all ? std::nullopt : std::optional<QString>(tone);
    replaceRows(psy, tablePsy, byFinal, byTone);
    replaceRows(jsy, tableJsy, byFinal, byTone);
    writeStatus(group, final, tone, psy->recordCount(), jsy->recordCount());
}
