// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/creationmodel.h"

#include "db/database.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "presentation/rhymestatus.h"

using namespace schema;

const QString CreationModel::notSet = QStringLiteral("请选择");
const QString CreationModel::incompleteMessage = QStringLiteral("请选择完整的条件进行查询");
const QString CreationModel::draftSaved = QStringLiteral("草稿已保存");

namespace {

// The lines that select the rows of one final and one tone with characters to show, by syllable.
void replaceLookup(Query *query, const QString &table, const QString &final, const QString &tone)
{
    query->close();
    query->clearSql();
    query->addSql(QStringLiteral("select * from %1 where ").arg(table));
    query->addSql(colFinal + u'=' + dialect::literal(final));
    query->addSql(QStringLiteral(" and "));
    query->addSql(colTone + u'=' + dialect::literal(tone));
    query->addSql(QStringLiteral(" and "));
    query->addSql(colCommon + QStringLiteral("<>\"\""));
    query->addSql(QStringLiteral(" order by ") + colSyllable);
    query->open();
}

} // namespace

CreationModel::CreationModel(Database &db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{
    // Without a draft row the first keystroke begins one; it must carry the draft's title, and the
    // draft category keeps it out of every works list.
    db.Edit_ADOQuery->setNewRowHandler([](Query &q) {
        q.setText(colTitle, draftTitle);
        q.setText(colCategory, draftCategory);
    });
}

DataSource *CreationModel::psyRows() const
{
    return m_db.Edit_psy_ADOQuery->dataSource();
}

DataSource *CreationModel::jsyRows() const
{
    return m_db.Edit_jsy_ADOQuery->dataSource();
}

DataSource *CreationModel::draftRow() const
{
    return m_db.Edit_ADOQuery->dataSource();
}

bool CreationModel::conditionsComplete(const QString &group, const QString &tone)
{
    return group != notSet && tone != notSet;
}

QString CreationModel::lookupMessage(const QString &group, const QString &tone)
{
    return conditionsComplete(group, tone) ? QString() : incompleteMessage;
}

void CreationModel::show(const QString &group, const QString &final, const QString &tone)
{
    const int n = m_db.Edit_psy_ADOQuery->recordCount();
    const int m = m_db.Edit_jsy_ADOQuery->recordCount();
    emit statusChanged(0, conditionsComplete(group, tone) ? rhymestatus::finalAndTone(final, tone)
                                                          : rhymestatus::allRecords());
    emit statusChanged(1, rhymestatus::counts(n, m));
}

void CreationModel::lookUp(const QString &group, const QString &final, const QString &tone)
{
    if (!conditionsComplete(group, tone)) {
        emit statusChanged(0, rhymestatus::allRecords());
        return;
    }
    Query *psy = m_db.Edit_psy_ADOQuery;
    Query *jsy = m_db.Edit_jsy_ADOQuery;
    // A row typed into the lower grid is written before its query is replaced; a refused write
    // stops the lookup with the row as the user left it.
    psy->settle();
    jsy->settle();
    replaceLookup(psy, tablePsy, final, tone);
    replaceLookup(jsy, tableJsy, final, tone);
    const int n = psy->recordCount();
    const int m = jsy->recordCount();
    emit statusChanged(0, rhymestatus::finalAndTone(final, tone));
    emit statusChanged(1, rhymestatus::counts(n, m));
}

void CreationModel::saveDraft()
{
    Query *draft = m_db.Edit_ADOQuery;
    draft->edit();
    draft->post();
    emit statusNote(0, draftSaved);
}

QString CreationModel::characterAt(const QString &text, int cursor, bool leftOfCaret)
{
    int at = cursor;
    if (leftOfCaret && at > 0)
        --at;
    if (at > 0 && at < text.size() && text.at(at).isLowSurrogate())
        --at;
    const QString hanzi = at < text.size() ? text.mid(at, text.at(at).isHighSurrogate() ? 2 : 1) : QString();
    const char32_t code = hanzi.toUcs4().value(0);
    return code && QChar::isLetter(code) ? hanzi : QString();
}
