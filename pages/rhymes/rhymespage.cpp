// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/rhymes/rhymespage.h"

#include "db/schema.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/guard.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "presentation/finals.h"
#include "presentation/rhymesmodel.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>

using namespace schema;

namespace {

DbGrid *rhymeGrid(DataSource *rows, const QString &name, QWidget *parent)
{
    const QList<GridColumn> columns = {
        {colFinal}, {colSyllable}, {colTone}, {colCommon, 325}, {colRare, 324}};
    auto *grid = new DbGrid(rows, columns, false, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->setFont(look::sansSerifFont());
    return grid;
}

} // namespace

RhymesPage::RhymesPage(RhymesModel *model, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    m_model->setParent(this);
    const QString &all = RhymesModel::all;
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
    View_psy_DBGrid = rhymeGrid(m_model->psyRows(), QStringLiteral("View_psy_DBGrid"), View_Splitter);
    View_jsy_DBGrid = rhymeGrid(m_model->jsyRows(), QStringLiteral("View_jsy_DBGrid"), View_Splitter);
    View_Splitter->addWidget(View_psy_DBGrid);
    View_Splitter->addWidget(View_jsy_DBGrid);
    View_Splitter->setStretchFactor(1, 1);
    const int upper = 345;
    View_Splitter->setSizes({upper, View_Splitter->height() - upper - View_Splitter->handleWidth()});

    connect(m_model, &RhymesModel::statusChanged, status, &StatusBar::setPanelText);
    // A pick of the item already shown changes no text but is still a choice of that group.
    connectGuarded(ComboBox4, &QComboBox::editTextChanged, this, [this] { ComboBox4Change(); });
    connectGuarded(ComboBox4, &QComboBox::activated, this, [this] { ComboBox4Change(); });
    connectGuarded(ComboBox6, &QComboBox::editTextChanged, this, [this] { ComboBox6Change(); });
    connectGuarded(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
}

void RhymesPage::ViewShow()
{
    m_model->show(ComboBox4->currentText(), ComboBox5->currentText(), ComboBox6->currentText());
}

void RhymesPage::ComboBox4Change()
{
    if (const finals::Group *group = finals::findGroup(ComboBox4->currentText()))
        look::showFinals(ComboBox4, ComboBox5, group->itemList());
    if (ComboBox4->currentText() == RhymesModel::all) {
        ComboBox5->setEditText(RhymesModel::all);
        ComboBox5->setEnabled(false);
        look::setFill(ComboBox4, look::skyBlue);
        look::setFill(ComboBox5, look::skyBlue);
    }
}

void RhymesPage::ComboBox6Change()
{
    look::setFill(ComboBox6, ComboBox6->currentText() == RhymesModel::all ? look::skyBlue : look::moneyGreen);
}

void RhymesPage::SpeedButton2Click()
{
    m_model->lookUp(ComboBox4->currentText(), ComboBox5->currentText(), ComboBox6->currentText());
}
