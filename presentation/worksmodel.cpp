// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/worksmodel.h"

#include "db/database.h"
#include "db/dates.h"
#include "db/dialect.h"
#include "db/query.h"
#include "db/quietwalk.h"
#include "db/schema.h"
#include "presentation/categories.h"
#include "presentation/worksstatus.h"

#include <QDate>

using namespace schema;

const QString WorksModel::presetAuthor = QStringLiteral("无名氏");
const QString WorksModel::presetSource = QStringLiteral("【听雨小筑】");
// A public collection of classical Chinese verse, the kind of source a new work is taken from.
const QString WorksModel::presetUrl = QStringLiteral("https://github.com/chinese-poetry/chinese-poetry");
const QString WorksModel::deleteQuestion = QStringLiteral("确定要删除此数据么？");

namespace {
const QString seriesCategory = categories::table[0].category; // 甲类: counted in series and poems
}

WorksModel::WorksModel(Database &db, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_listed(categories::defaultQuery)
{
}

QStringList WorksModel::categoryItems()
{
    return categories::categoryTexts();
}

QString WorksModel::defaultSelectorText()
{
    return categories::defaultQuery;
}

QStringList WorksModel::categoryBoxItems()
{
    return categories::categoryTexts();
}

QStringList WorksModel::markBoxItems()
{
    return categories::markTexts();
}

Query *WorksModel::query() const
{
    return m_db.Show_ADOQuery;
}

DataSource *WorksModel::workRows() const
{
    return query()->dataSource();
}

bool WorksModel::anyListed() const
{
    return query()->rowCount() > 0;
}

void WorksModel::computeWorksTotal()
{
    Query *q = query();
    const QuietWalk quiet(q); // the detail panel need not show every work on the way
    m_worksTotal = 0;
    const int n = q->recordCount();
    for (int i = 0; i < n; ++i) {
        m_worksTotal += q->integer(colCount); // no number reads as 0
        q->next();
    }
    q->first();
}

void WorksModel::writeStatus(bool series)
{
    const int n = query()->recordCount();
    const worksstatus::Texts texts = series ? worksstatus::series(n, m_worksTotal) : worksstatus::records(n);
    emit statusChanged(0, texts.condition);
    emit statusChanged(1, texts.counts);
}

void WorksModel::refreshStatus()
{
    writeStatus(m_listed == seriesCategory || m_listed == categories::defaultQuery);
}

void WorksModel::show()
{
    refreshStatus();
}

void WorksModel::chooseCategory(const QString &text)
{
    Query *q = query();
    // A new or changed work is written before its list is replaced, as a move writes it. When the
    // write is refused the change stops with the row as the user left it.
    try {
        q->settle();
    } catch (...) {
        emit selectorReset(m_listed);
        throw;
    }
    m_listed = text;
    q->close();
    q->clearSql();
    q->addSql(QStringLiteral("select * from  作品 where "));
    q->addSql(QStringLiteral("类别=") + dialect::literal(text));
    q->addSql(QStringLiteral(" order by 日期 desc"));
    q->open();
    // Only 甲类 itself: a typed "-默认方式查询-" lists nothing and reads as records here.
    writeStatus(text == seriesCategory);
}

void WorksModel::setButtons(bool first, bool prior, bool next, bool last)
{
    m_first = first;
    m_prior = prior;
    m_next = next;
    m_last = last;
    emit buttonsChanged();
}

void WorksModel::first()
{
    query()->first();
    setButtons(false, false, true, true);
}

void WorksModel::prior()
{
    Query *q = query();
    q->prior();
    const bool atFirst = q->bof();
    setButtons(m_first && !atFirst, m_prior && !atFirst, true, true);
}

void WorksModel::next()
{
    Query *q = query();
    q->next();
    const bool atLast = q->eof();
    setButtons(true, true, m_next && !atLast, m_last && !atLast);
}

void WorksModel::last()
{
    query()->last();
    setButtons(true, true, false, false);
}

bool WorksModel::moveToWork(qint64 rowid)
{
    Query *q = query();
    if (!q->locate(rowid)) {
        chooseCategory(m_listed); // added since the list was read
        if (!q->locate(rowid))
            return false;
    }
    const bool atFirst = q->currentRow() == 0;
    const bool atLast = q->currentRow() == q->rowCount() - 1;
    setButtons(!atFirst, !atFirst, !atLast, !atLast);
    return true;
}

void WorksModel::add()
{
    Query *q = query();
    // A changed row is written first; on an empty list edit already begins a row, which the insert
    // replaces, so exactly one new row results.
    q->edit();
    q->insert();
    const QString category = m_listed == categories::defaultQuery ? seriesCategory : m_listed;
    if (const auto mark = categories::markOf(category)) {
        q->setText(colCategory, category);
        q->setText(colMark, *mark);
    }
    q->setText(colCount, QStringLiteral("0"));
    q->setText(colAuthor, presetAuthor);
    q->setText(colSource, presetSource);
    q->setText(colUrl, presetUrl);
    q->setText(colDate, dates::display(QDate::currentDate()));
}

void WorksModel::commit()
{
    Query *q = query();
    // An empty list has no work to write: edit would begin an empty one and store it.
    if (q->rowCount() > 0) {
        q->edit();
        q->post();
    }
    refreshStatus();
}

void WorksModel::cancel()
{
    query()->cancel();
}

void WorksModel::deleteCurrent()
{
    Query *q = query();
    q->edit();
    q->remove();
}

void WorksModel::exported(int works, const QString &fileName)
{
    emit statusChanged(1, worksstatus::exported(works, fileName));
}

void WorksModel::imported(const QString &category, int works)
{
    chooseCategory(category);
    emit selectorReset(category);
    emit statusChanged(1, worksstatus::imported(works, category));
}

// The partner is set through the row, so category and mark are written together.
void WorksModel::categoryEdited(const QString &category)
{
    if (const auto mark = categories::markOf(category)) {
        Query *q = query();
        q->edit();
        q->setText(colMark, *mark);
    }
}

void WorksModel::markEdited(const QString &mark)
{
    if (const auto category = categories::categoryOf(mark)) {
        Query *q = query();
        q->edit();
        q->setText(colCategory, *category);
    }
}
