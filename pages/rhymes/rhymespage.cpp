#include "pages/rhymes/rhymespage.h"

#include "db/database.h"
#include "db/dialect.h"
#include "pages/creation/finals.h"
#include "pages/creation/rhymestatus.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>

#include <optional>

using namespace schema;

const QString RhymesPage::all = QStringLiteral("-全部-");

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

DbGrid *rhymeGrid(Query *query, const QString &name, QWidget *parent)
{
    const QList<GridColumn> columns = {
        {colFinal}, {colSyllable}, {colTone}, {colCommon, 325}, {colRare, 324}};
    auto *grid = new DbGrid(query->dataSource(), columns, false, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->setFont(look::sansSerifFont());
    return grid;
}

} // namespace

RhymesPage::RhymesPage(Database &db, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_status(status)
{
    setObjectName(QStringLiteral("View"));
    resize(784, 518);

    Panel2 = look::conditionBar(this, QStringLiteral("Panel2"));
    Label2 = look::barLabel(Panel2, QStringLiteral("Label2"), QStringLiteral("韵母"), 16, 12);
    ComboBox4 =
        look::barComboBox(Panel2, QStringLiteral("ComboBox4"), 48, 8, finals::groupTexts() << all, all, 7);
    ComboBox5 = look::barComboBox(Panel2, QStringLiteral("ComboBox5"), 128, 8, finals::startItems(), all, 8);
    ComboBox5->setEnabled(false);
    Label4 = look::barLabel(Panel2, QStringLiteral("Label4"), QStringLiteral("声调"), 208, 12);
    ComboBox6 = look::barComboBox(
        Panel2, QStringLiteral("ComboBox6"), 240, 8,
        {QStringLiteral("阴平"), QStringLiteral("阳平"), QStringLiteral("上声"), QStringLiteral("去声"), all},
        all, 5);
    setTabOrder(ComboBox4, ComboBox5);
    setTabOrder(ComboBox5, ComboBox6);
    SpeedButton2 = look::speedButton(Panel2, QStringLiteral("SpeedButton2"), QStringLiteral("查看"),
                                     QStyle::SP_FileDialogContentsView, QRect(328, 6, 65, 25));

    Panel6 = new QFrame(this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel6->setLineWidth(1);
    Panel6->setGeometry(0, 40, 784, 478);
    View_Splitter = new QSplitter(Qt::Vertical, Panel6);
    View_Splitter->setObjectName(QStringLiteral("View_Splitter"));
    View_Splitter->setHandleWidth(2);
    View_Splitter->setChildrenCollapsible(false);
    View_Splitter->setGeometry(Panel6->contentsRect());
    View_psy_DBGrid = rhymeGrid(db.View_psy_ADOQuery, QStringLiteral("View_psy_DBGrid"), View_Splitter);
    View_jsy_DBGrid = rhymeGrid(db.View_jsy_ADOQuery, QStringLiteral("View_jsy_DBGrid"), View_Splitter);
    View_Splitter->addWidget(View_psy_DBGrid);
    View_Splitter->addWidget(View_jsy_DBGrid);
    View_Splitter->setStretchFactor(1, 1);
    const int upper = 345;
    View_Splitter->setSizes({upper, View_Splitter->height() - upper - View_Splitter->handleWidth()});
}

QString RhymesPage::conditionText() const
{
    const bool anyFinal = ComboBox4->currentText() == all;
    const bool anyTone = ComboBox6->currentText() == all;
    if (anyFinal && anyTone)
        return rhymestatus::allRecords();
    if (anyFinal)
        return rhymestatus::toneOnly(ComboBox6->currentText());
    if (anyTone)
        return rhymestatus::finalOnly(ComboBox5->currentText());
    return rhymestatus::finalAndTone(ComboBox5->currentText(), ComboBox6->currentText());
}

void RhymesPage::ViewShow()
{
    const int n = m_db.View_psy_ADOQuery->recordCount();
    const int m = m_db.View_jsy_ADOQuery->recordCount();
    m_status->setPanelText(0, conditionText());
    m_status->setPanelText(1, rhymestatus::counts(n, m));
}

void RhymesPage::ComboBox4Change()
{
    finals::chooseGroup(ComboBox4, ComboBox5);
    if (ComboBox4->currentText() == all) {
        ComboBox5->setEditText(all);
        ComboBox5->setEnabled(false);
        look::setFill(ComboBox4, look::skyBlue);
        look::setFill(ComboBox5, look::skyBlue);
    }
}

void RhymesPage::ComboBox6Change()
{
    look::setFill(ComboBox6, ComboBox6->currentText() == all ? look::skyBlue : look::moneyGreen);
}

void RhymesPage::SpeedButton2Click()
{
    Query *psy = m_db.View_psy_ADOQuery;
    Query *jsy = m_db.View_jsy_ADOQuery;
    // Rows typed into either grid are written before the queries are replaced; a refused write
    // stops here with the row as the user left it.
    psy->settle();
    jsy->settle();
    const bool anyFinal = ComboBox4->currentText() == all;
    const bool anyTone = ComboBox6->currentText() == all;
    const std::optional<QString> final =
        anyFinal ? std::nullopt : std::optional<QString>(ComboBox5->currentText());
    const std::optional<QString> tone =
        anyTone ? std::nullopt : std::optional<QString>(ComboBox6->currentText());
    replaceRows(psy, tablePsy, final, tone);
    replaceRows(jsy, tableJsy, final, tone);
    const int n = psy->recordCount();
    const int m = jsy->recordCount();
    m_status->setPanelText(0, conditionText());
    m_status->setPanelText(1, rhymestatus::counts(n, m));
}
