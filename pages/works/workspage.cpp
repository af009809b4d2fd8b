// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/workspage.h"

#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/dialogs.h"
#include "pages/shared/gelvmenu.h"
#include "pages/shared/guard.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "pages/works/findbar.h"
#include "pages/works/worksfiles.h"
#include "presentation/works/transfer.h"
#include "presentation/worksmodel.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

using namespace schema;

namespace {

// The fill of the page's lists and edits: the system's tooltip background.
void tooltipFill(QWidget *widget)
{
    look::setFill(widget, QApplication::palette().color(QPalette::ToolTipBase));
}

// The look shared by the detail panel's edits: flat, tooltip fill, black 新宋体.
template <class Control> Control *detailControl(Control *control, const QString &name, const QRect &rect)
{
    control->setObjectName(name);
    control->setFont(look::songFont());
    look::setTextColor(control, Qt::black);
    tooltipFill(control);
    control->setGeometry(rect);
    return control;
}

QLabel *detailLabel(QWidget *panel, const QString &name, const QString &caption, int left, int top)
{
    auto *label = new QLabel(caption, panel);
    label->setObjectName(name);
    label->setFont(look::songFont());
    look::setTextColor(label, look::navy);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Flat buttons never take the focus from the field being edited.
QToolButton *pageButton(QWidget *parent, const QString &name, const QString &caption,
                        QStyle::StandardPixmap glyph, const QRect &rect, bool glyphRight = false)
{
    QToolButton *button = look::speedButton(parent, name, caption, glyph, rect, glyphRight);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

WorksPage::WorksPage(WorksModel *model, WorksFindModel *finder, std::unique_ptr<WorksTransfer> transfer,
                     StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_transfer(std::move(transfer))
{
    m_model->setParent(this);
    setObjectName(QStringLiteral("Show"));
    resize(784, 518);
    buildConditionBar();
    buildList();
    buildDetailPanel();
    connect(m_model, &WorksModel::statusChanged, status, &StatusBar::setPanelText);
    connect(m_model, &WorksModel::buttonsChanged, this, &WorksPage::showButtons);
    connect(m_model, &WorksModel::selectorReset, this, &WorksPage::showSelector);
    showButtons();
    connectControls();
    finder->setParent(this);
    m_find = new WorksFindBar(finder, Show_Panel, this);
    connect(m_find, &WorksFindBar::workChosen, this,
            [this](const FoundWork &work) { guarded(this, [&] { showWork(work.rowid, work.category); }); });
    connect(m_find, &WorksFindBar::closed, nr_DBRichEdit, [this] { nr_DBRichEdit->setFocus(); });
}

// Taking the page apart can still make its controls signal (the focus leaves an edit); none of that
// may reach a handler once the model is gone.
WorksPage::~WorksPage()
{
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void WorksPage::buildConditionBar()
{
    Show_Panel = look::conditionBar(this, QStringLiteral("Show_Panel"));
    first_SpeedButton = pageButton(Show_Panel, QStringLiteral("first_SpeedButton"), QStringLiteral("顶端"),
                                   QStyle::SP_MediaSkipBackward, QRect(160, 6, 65, 25));
    Prior_SpeedButton = pageButton(Show_Panel, QStringLiteral("Prior_SpeedButton"), QStringLiteral("上一篇"),
                                   QStyle::SP_MediaSeekBackward, QRect(224, 6, 65, 25));
    next_SpeedButton = pageButton(Show_Panel, QStringLiteral("next_SpeedButton"), QStringLiteral("下一篇"),
                                  QStyle::SP_MediaSeekForward, QRect(288, 6, 65, 25), true);
    last_SpeedButton = pageButton(Show_Panel, QStringLiteral("last_SpeedButton"), QStringLiteral("末尾"),
                                  QStyle::SP_MediaSkipForward, QRect(352, 6, 65, 25), true);
    add_SpeedButton = pageButton(Show_Panel, QStringLiteral("add_SpeedButton"), QStringLiteral("添加"),
                                 QStyle::SP_FileDialogNewFolder, QRect(416, 6, 65, 25));
    del_SpeedButton = pageButton(Show_Panel, QStringLiteral("del_SpeedButton"), QStringLiteral("删除"),
                                 QStyle::SP_TrashIcon, QRect(481, 6, 65, 25));
}

void WorksPage::buildList()
{
    Show_list_Panel = new QFrame(this);
    Show_list_Panel->setObjectName(QStringLiteral("Show_list_Panel"));
    Show_list_Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Show_list_Panel->setGeometry(0, 40, 135, 478);
    Show_list_Panel->setFont(look::songFont());
    look::setTextColor(Show_list_Panel, Qt::black);

    Show_ComboBox = new QComboBox(Show_list_Panel);
    Show_ComboBox->setObjectName(QStringLiteral("Show_ComboBox"));
    Show_ComboBox->setEditable(true);
    Show_ComboBox->setInsertPolicy(QComboBox::NoInsert);
    takeAnyLength(Show_ComboBox->lineEdit());
    // A typed text is taken as typed: the first character of a category lists nothing.
    Show_ComboBox->setCompleter(nullptr);
    Show_ComboBox->setFrame(false);
    Show_ComboBox->addItems(WorksModel::categoryItems());
    Show_ComboBox->setMaxVisibleItems(5);
    Show_ComboBox->setEditText(WorksModel::defaultSelectorText());
    Show_ComboBox->setGeometry(15, 17, 105, 20);
    tooltipFill(Show_ComboBox);

    Show_DBGrid = new DbGrid(m_model->workRows(), {{colTitle, 73, Qt::AlignCenter}}, true, Show_list_Panel);
    Show_DBGrid->setObjectName(QStringLiteral("Show_DBGrid"));
    Show_DBGrid->setTitlesVisible(false);
    Show_DBGrid->setGeometry(15, 51, 105, 411);
    tooltipFill(Show_DBGrid);
    Show_DBGrid->setContextMenuPolicy(Qt::CustomContextMenu);

    nr_DBRichEdit = new DbRichEdit(m_model->workRows(), colContent, this);
    nr_DBRichEdit->setObjectName(QStringLiteral("nr_DBRichEdit"));
    nr_DBRichEdit->setFont(look::sansSerifFont());
    nr_DBRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nr_DBRichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nr_DBRichEdit->setGeometry(135, 40, 449, 478);
    nr_DBRichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
}

void WorksPage::buildDetailPanel()
{
    Show_detail_Panel = new QFrame(this);
    Show_detail_Panel->setObjectName(QStringLiteral("Show_detail_Panel"));
    Show_detail_Panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    Show_detail_Panel->setGeometry(784 - 200, 40, 200, 478);
    QWidget *panel = Show_detail_Panel;
    DataSource *source = m_model->workRows();

    auto edit = [&](const QString &field, const QString &name, const QRect &rect) {
        auto *e = detailControl(new DbEdit(source, field, panel), name, rect);
        e->setFrame(false);
        return e;
    };
    auto comboBox = [&](const QString &field, const QString &name, const QRect &rect,
                        const QStringList &items) {
        auto *box = detailControl(new DbComboBox(source, field, panel), name, rect);
        box->setFrame(false);
        box->setCompleter(nullptr); // the coupling compares the text exactly as typed
        box->addItems(items);
        box->link()->load(); // adding items showed the first one
        return box;
    };

    bt_Label = detailLabel(panel, QStringLiteral("bt_Label"), QStringLiteral("标题："), 19, 21);
    bt_DBEdit = edit(colTitle, QStringLiteral("bt_DBEdit"), QRect(58, 17, 121, 20));
    lb_Label = detailLabel(panel, QStringLiteral("lb_Label"), QStringLiteral("类别："), 19, 56);
    lb_DBComboBox = comboBox(colCategory, QStringLiteral("lb_DBComboBox"), QRect(58, 52, 121, 20),
                             WorksModel::categoryBoxItems());
    bj_Label = detailLabel(panel, QStringLiteral("bj_Label"), QStringLiteral("标记："), 19, 92);
    bj_DBComboBox =
        comboBox(colMark, QStringLiteral("bj_DBComboBox"), QRect(58, 88, 49, 20), WorksModel::markBoxItems());
    look::slimArrow(bj_DBComboBox, 14); // 『』 at a readable size in the 49 pixels beside a slim arrow
    sl_Label = detailLabel(panel, QStringLiteral("sl_Label"), QStringLiteral("№"), 118, 92);
    sl_DBEdit = edit(colCount, QStringLiteral("sl_DBEdit"), QRect(136, 88, 43, 20));
    zz_Label = detailLabel(panel, QStringLiteral("zz_Label"), QStringLiteral("作者："), 19, 128);
    zz_DBEdit = edit(colAuthor, QStringLiteral("zz_DBEdit"), QRect(58, 124, 121, 20));
    cc_Label = detailLabel(panel, QStringLiteral("cc_Label"), QStringLiteral("出处："), 19, 164);
    cc_DBEdit = edit(colSource, QStringLiteral("cc_DBEdit"), QRect(58, 160, 121, 20));
    wz_Label = detailLabel(panel, QStringLiteral("wz_Label"), QStringLiteral("网址："), 19, 200);
    wz_DBEdit = edit(colUrl, QStringLiteral("wz_DBEdit"), QRect(58, 196, 121, 20));
    rq_Label = detailLabel(panel, QStringLiteral("rq_Label"), QStringLiteral("日期："), 19, 236);
    rq_DBEdit = edit(colDate, QStringLiteral("rq_DBEdit"), QRect(58, 232, 121, 20));
    bz_Label = detailLabel(panel, QStringLiteral("bz_Label"), QStringLiteral("备注："), 19, 272);
    bz_DBRichEdit = detailControl(new DbRichEdit(source, colRemarks, panel), QStringLiteral("bz_DBRichEdit"),
                                  QRect(19, 296, 161, 121));
    bz_DBRichEdit->setFrameStyle(QFrame::Box | QFrame::Plain);

    // The mark box comes last: the coupling fills it from the category.
    QWidget *order[] = {bt_DBEdit, lb_DBComboBox, sl_DBEdit,     zz_DBEdit,    cc_DBEdit,
                        wz_DBEdit, rq_DBEdit,     bz_DBRichEdit, bj_DBComboBox};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    ok_SpeedButton = pageButton(panel, QStringLiteral("ok_SpeedButton"), QStringLiteral("录入"),
                                QStyle::SP_DialogApplyButton, QRect(27, 433, 65, 25));
    Cancel_SpeedButton = pageButton(panel, QStringLiteral("Cancel_SpeedButton"), QStringLiteral("撤消"),
                                    QStyle::SP_DialogCancelButton, QRect(107, 433, 65, 25));
}

void WorksPage::connectControls()
{
    // Every text change of the selector, picked or typed, lists that category.
    connectGuarded(Show_ComboBox, &QComboBox::editTextChanged, this, [this] { Show_ComboBoxChange(); });
    connectGuarded(first_SpeedButton, &QToolButton::clicked, this, [this] { first_SpeedButtonClick(); });
    connectGuarded(Prior_SpeedButton, &QToolButton::clicked, this, [this] { Prior_SpeedButtonClick(); });
    connectGuarded(next_SpeedButton, &QToolButton::clicked, this, [this] { next_SpeedButtonClick(); });
    connectGuarded(last_SpeedButton, &QToolButton::clicked, this, [this] { last_SpeedButtonClick(); });
    connectGuarded(add_SpeedButton, &QToolButton::clicked, this, [this] { add_SpeedButtonClick(); });
    connectGuarded(ok_SpeedButton, &QToolButton::clicked, this, [this] { ok_SpeedButtonClick(); });
    connectGuarded(Cancel_SpeedButton, &QToolButton::clicked, this, [this] { Cancel_SpeedButtonClick(); });
    connectGuarded(del_SpeedButton, &QToolButton::clicked, this, [this] { del_SpeedButtonClick(); });
    // The coupling follows the user's changes only, never a row being shown.
    connectGuarded(lb_DBComboBox, &DbComboBox::userChanged, this, [this] { lb_DBComboBoxChange(); });
    connectGuarded(bj_DBComboBox, &DbComboBox::userChanged, this, [this] { bj_DBComboBoxChange(); });
    connect(Show_DBGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const std::unique_ptr<QMenu> menu(titleMenu(pos));
        menu->exec(Show_DBGrid->viewport()->mapToGlobal(pos));
    });
    connect(nr_DBRichEdit, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const std::unique_ptr<QMenu> menu(contentMenu(pos));
        menu->exec(nr_DBRichEdit->viewport()->mapToGlobal(pos));
    });
}

QMenu *WorksPage::contentMenu(const QPoint &pos)
{
    return gelvMenu(
        nr_DBRichEdit, pos, [this] { emit gelvRequested(); },
        [this](const QString &hanzi) { emit rhymeLookupRequested(hanzi); });
}

QMenu *WorksPage::titleMenu(const QPoint &pos)
{
    if (const QModelIndex at = Show_DBGrid->indexAt(pos); at.isValid())
        Show_DBGrid->setCurrentIndex(at); // the grid moves the list as a click does
    const bool listed = m_model->anyListed();
    using Scope = WorksTransfer::Scope;
    auto *menu = new QMenu(Show_DBGrid);
    menu->setObjectName(QStringLiteral("Show_Title_Menu"));
    auto add = [&](const QString &caption, bool enabled, auto action) {
        QAction *item = menu->addAction(caption);
        item->setEnabled(enabled);
        connectGuarded(item, &QAction::triggered, this, action);
    };
    add(QStringLiteral("导出本篇…"), listed,
        [this] { worksfiles::exportWorks(this, *m_transfer, *m_model, Scope::Current); });
    add(QStringLiteral("导出本类…"), listed,
        [this] { worksfiles::exportWorks(this, *m_transfer, *m_model, Scope::Category); });
    add(QStringLiteral("导出全部…"), true,
        [this] { worksfiles::exportWorks(this, *m_transfer, *m_model, Scope::All); });
    menu->addSeparator();
    add(QStringLiteral("导入…"), true, [this] { worksfiles::importWorks(this, *m_transfer, *m_model); });
    return menu;
}

void WorksPage::showButtons()
{
    first_SpeedButton->setEnabled(m_model->firstEnabled());
    Prior_SpeedButton->setEnabled(m_model->priorEnabled());
    next_SpeedButton->setEnabled(m_model->nextEnabled());
    last_SpeedButton->setEnabled(m_model->lastEnabled());
}

// The selector names the listed works again without listing them anew.
void WorksPage::showSelector(const QString &text)
{
    const QSignalBlocker quiet(Show_ComboBox);
    Show_ComboBox->setCurrentIndex(Show_ComboBox->findText(text));
    Show_ComboBox->setEditText(text);
}

void WorksPage::computeWorksTotal()
{
    m_model->computeWorksTotal();
}

void WorksPage::listCategory(const QString &category)
{
    Show_ComboBox->setEditText(category);
}

void WorksPage::ShowShow()
{
    m_model->show();
    nr_DBRichEdit->setFocus();
}

void WorksPage::Show_ComboBoxChange()
{
    m_model->chooseCategory(Show_ComboBox->currentText());
}

void WorksPage::first_SpeedButtonClick()
{
    m_model->first();
}

void WorksPage::Prior_SpeedButtonClick()
{
    m_model->prior();
}

void WorksPage::next_SpeedButtonClick()
{
    m_model->next();
}

void WorksPage::last_SpeedButtonClick()
{
    m_model->last();
}

void WorksPage::add_SpeedButtonClick()
{
    bt_DBEdit->setFocus();
    m_model->add();
}

void WorksPage::ok_SpeedButtonClick()
{
    m_model->commit();
}

void WorksPage::Cancel_SpeedButtonClick()
{
    m_model->cancel();
}

void WorksPage::del_SpeedButtonClick()
{
    if (Dialogs::current().askYesNo(this, QStringLiteral("Confirm"), WorksModel::deleteQuestion))
        m_model->deleteCurrent();
    m_model->refreshStatus();
}

bool WorksPage::showWork(qint64 rowid, const QString &category)
{
    commitOpenEditors(this);
    // Through the selector, as a pick of the category: a refused write of the current work stops it.
    if (const int item = Show_ComboBox->findText(category); item >= 0)
        Show_ComboBox->setCurrentIndex(item);
    if (Show_ComboBox->currentText() != category)
        Show_ComboBox->setEditText(category);
    return m_model->listed() == category && m_model->moveToWork(rowid);
}

void WorksPage::lb_DBComboBoxChange()
{
    m_model->categoryEdited(lb_DBComboBox->currentText());
}

void WorksPage::bj_DBComboBoxChange()
{
    m_model->markEdited(bj_DBComboBox->currentText());
}
