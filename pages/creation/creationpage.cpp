// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/creation/creationpage.h"

#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/dialogs.h"
#include "pages/shared/gelvmenu.h"
#include "pages/shared/guard.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "presentation/creationmodel.h"
#include "presentation/finals.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>

using namespace schema;

namespace {

QFrame *loweredPanel(QWidget *parent, const QString &name, const QRect &rect)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(rect);
    return panel;
}

} // namespace

CreationPage::CreationPage(CreationModel *model, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    m_model->setParent(this);
    setObjectName(QStringLiteral("Edit"));
    resize(784, 518);

    Panel1 = look::conditionBar(this, QStringLiteral("Panel1"));
    Label1 = look::barLabel(Panel1, QStringLiteral("Label1"), QStringLiteral("韵母"), 16, 12);
    ComboBox1 = look::barComboBox(Panel1, QStringLiteral("ComboBox1"), 48, 8, finals::groupTexts(),
                                  CreationModel::notSet, 6);
    ComboBox2 = look::barComboBox(Panel1, QStringLiteral("ComboBox2"), 128, 8, finals::startItems(),
                                  CreationModel::notSet, 8);
    ComboBox2->setEnabled(false);
    Label3 = look::barLabel(Panel1, QStringLiteral("Label3"), QStringLiteral("声调"), 208, 12);
    ComboBox3 = look::barComboBox(
        Panel1, QStringLiteral("ComboBox3"), 240, 8,
        {QStringLiteral("阴平"), QStringLiteral("阳平"), QStringLiteral("上声"), QStringLiteral("去声")},
        CreationModel::notSet, 4);
    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, ComboBox3);
    Edit_ok_SpeedButton =
        look::speedButton(Panel1, QStringLiteral("Edit_ok_SpeedButton"), QStringLiteral("查看"),
                          QStyle::SP_FileDialogContentsView, QRect(328, 6, 65, 25));
    Edit_save_SpeedButton =
        look::speedButton(Panel1, QStringLiteral("Edit_save_SpeedButton"), QStringLiteral("保存草稿"),
                          QStyle::SP_DialogSaveButton, QRect(682, 6, 81, 25));
    Edit_gelv_SpeedButton =
        look::speedButton(Panel1, QStringLiteral("Edit_gelv_SpeedButton"), QStringLiteral("格律"),
                          QStyle::SP_FileDialogDetailedView, QRect(416, 6, 65, 25));
    connect(Edit_gelv_SpeedButton, &QToolButton::clicked, this, &CreationPage::gelvRequested);

    Panel5 = loweredPanel(this, QStringLiteral("Panel5"), QRect(0, 40, 476, 478));
    Edit_Splitter = new QSplitter(Qt::Vertical, Panel5);
    Edit_Splitter->setObjectName(QStringLiteral("Edit_Splitter"));
    Edit_Splitter->setHandleWidth(2);
    Edit_Splitter->setChildrenCollapsible(false);
    Edit_Splitter->setGeometry(Panel5->contentsRect());
    const QList<GridColumn> columns = {{colSyllable}, {colCommon, 400}};
    Edit_psy_DBGrid = new DbGrid(m_model->psyRows(), columns, true, Edit_Splitter);
    Edit_psy_DBGrid->setObjectName(QStringLiteral("Edit_psy_DBGrid"));
    Edit_jsy_DBGrid = new DbGrid(m_model->jsyRows(), columns, false, Edit_Splitter);
    Edit_jsy_DBGrid->setObjectName(QStringLiteral("Edit_jsy_DBGrid"));
    Edit_Splitter->addWidget(Edit_psy_DBGrid);
    Edit_Splitter->addWidget(Edit_jsy_DBGrid);
    Edit_Splitter->setStretchFactor(1, 1);
    const int upper = 345;
    Edit_Splitter->setSizes({upper, Edit_Splitter->height() - upper - Edit_Splitter->handleWidth()});

    Panel9 = loweredPanel(this, QStringLiteral("Panel9"), QRect(476, 40, 308, 478));
    Edit_DBRichEdit = new DbRichEdit(m_model->draftRow(), colContent, Panel9);
    Edit_DBRichEdit->setObjectName(QStringLiteral("Edit_DBRichEdit"));
    Edit_DBRichEdit->setGeometry(Panel9->contentsRect());
    Edit_DBRichEdit->setFrameShape(QFrame::NoFrame);
    Edit_DBRichEdit->setFont(look::songFont());
    Edit_DBRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Edit_DBRichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Edit_DBRichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Edit_DBRichEdit, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = draftMenu(pos);
        menu->exec(Edit_DBRichEdit->viewport()->mapToGlobal(pos));
        delete menu;
    });

    connect(m_model, &CreationModel::statusChanged, status, &StatusBar::setPanelText);
    connect(m_model, &CreationModel::statusNote, status, &StatusBar::showBriefly);
    // A pick of the item already shown changes no text but is still a choice of that group.
    connectGuarded(ComboBox1, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
    connectGuarded(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connectGuarded(ComboBox3, &QComboBox::editTextChanged, this, [this] { ComboBox3Change(); });
    connectGuarded(Edit_ok_SpeedButton, &QToolButton::clicked, this, [this] { Edit_ok_SpeedButtonClick(); });
    connectGuarded(Edit_save_SpeedButton, &QToolButton::clicked, this,
                   [this] { Edit_save_SpeedButtonClick(); });
}

QMenu *CreationPage::draftMenu(const QPoint &pos)
{
    return gelvMenu(
        Edit_DBRichEdit, pos, [this] { emit gelvRequested(); },
        [this](const QString &hanzi) { emit rhymeLookupRequested(hanzi); }, [this] { emit cipuRequested(); });
}

void CreationPage::EditShow()
{
    Edit_DBRichEdit->setFocus();
    m_model->show(ComboBox1->currentText(), ComboBox2->currentText(), ComboBox3->currentText());
}

void CreationPage::ComboBox1Change()
{
    if (const finals::Group *group = finals::findGroup(ComboBox1->currentText()))
        look::showFinals(ComboBox1, ComboBox2, group->itemList());
}

void CreationPage::ComboBox3Change()
{
    look::setFill(ComboBox3, look::moneyGreen);
}

void CreationPage::Edit_ok_SpeedButtonClick()
{
    const QString message = CreationModel::lookupMessage(ComboBox1->currentText(), ComboBox3->currentText());
    if (!message.isEmpty())
        Dialogs::current().message(this, message);
    m_model->lookUp(ComboBox1->currentText(), ComboBox2->currentText(), ComboBox3->currentText());
}

void CreationPage::Edit_save_SpeedButtonClick()
{
    m_model->saveDraft();
}
