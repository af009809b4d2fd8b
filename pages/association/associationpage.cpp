// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/association/associationpage.h"

#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/guard.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "presentation/associationmodel.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace schema;

namespace {

QFrame *gridPanel(QWidget *page, const QString &name, const QRect &rect)
{
    auto *panel = new QFrame(page);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(rect);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    return panel;
}

DbGrid *keyGrid(QFrame *panel, const QString &name, DataSource *rows, const QString &key, int meaningWidth)
{
    auto *grid = new DbGrid(rows, {{key, 90, Qt::AlignCenter}, {colMeaning, meaningWidth}}, false, panel);
    grid->setObjectName(name);
    panel->layout()->addWidget(grid);
    return grid;
}

} // namespace

void ClickEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

AssociationPage::AssociationPage(AssociationModel *model, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    m_model->setParent(this);
    setObjectName(QStringLiteral("Think"));
    resize(784, 518);

    Panel10 = look::conditionBar(this, QStringLiteral("Panel10"));
    look::setTextColor(Panel10, look::navy);
    Think_Label = look::barLabel(Panel10, QStringLiteral("Think_Label"), QStringLiteral("条件"), 16, 12);
    Think_ComboBox = look::barComboBox(Panel10, QStringLiteral("Think_ComboBox"), 48, 8,
                                       AssociationModel::modes(), AssociationModel::defaultMode, 8);

    Think_Edit = new ClickEdit(Panel10);
    Think_Edit->setObjectName(QStringLiteral("Think_Edit"));
    takeAnyLength(Think_Edit);
    Think_Edit->setFrame(false);
    Think_Edit->setFont(look::songFont());
    Think_Edit->setGeometry(128, 8, 65, 20);
    look::setTextColor(Think_Edit, Qt::black);
    look::setFill(Think_Edit, look::skyBlue);

    Think_SpeedButton =
        look::speedButton(Panel10, QStringLiteral("Think_SpeedButton"), QStringLiteral("查询"),
                          QStyle::SP_FileDialogContentsView, QRect(208, 6, 65, 25));
    Think_SpeedButton->setFont(look::songFont());
    look::setTextColor(Think_SpeedButton, look::purple);
    setTabOrder(Think_ComboBox, Think_Edit);

    Panel13 = gridPanel(this, QStringLiteral("Panel13"), QRect(0, 40, 784, 239));
    cizu_DBGrid = keyGrid(Panel13, QStringLiteral("cizu_DBGrid"), m_model->wordRows(), colWord, 659);
    Panel14 = gridPanel(this, QStringLiteral("Panel14"), QRect(0, 279, 784, 239));
    chengyu_DBGrid = keyGrid(Panel14, QStringLiteral("chengyu_DBGrid"), m_model->idiomRows(), colIdiom, 658);
    for (DbGrid *grid : {cizu_DBGrid, chengyu_DBGrid}) {
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint &pos) {
            if (QMenu *menu = rowMenu(grid, pos)) {
                menu->exec(grid->viewport()->mapToGlobal(pos));
                delete menu;
            }
        });
    }

    connect(m_model, &AssociationModel::statusChanged, status, &StatusBar::setPanelText);
    connectGuarded(Think_SpeedButton, &QToolButton::clicked, this, [this] { Think_SpeedButtonClick(); });
    connectGuarded(Think_ComboBox, &QComboBox::editTextChanged, this, [this] { Think_ComboBoxChange(); });
    connectGuarded(Think_Edit, &ClickEdit::clicked, this, [this] { Think_EditClick(); });
}

QMenu *AssociationPage::rowMenu(DbGrid *grid, const QPoint &pos)
{
    const QModelIndex at = grid->indexAt(pos);
    if (!at.isValid())
        return nullptr;
    // The key column (the word or the idiom) is the first.
    const QString word = AssociationModel::exampleWord(grid->model()->index(at.row(), 0).data().toString());
    if (word.isEmpty())
        return nullptr;
    auto *menu = new QMenu(grid);
    QAction *examples = menu->addAction(QStringLiteral("查看例句"));
    connect(examples, &QAction::triggered, this, [this, word] { emit examplesRequested(word); });
    QAction *couplets = menu->addAction(QStringLiteral("查看对仗"));
    connect(couplets, &QAction::triggered, this, [this, word] { emit coupletsRequested(word); });
    return menu;
}

void AssociationPage::ThinkShow()
{
    Think_Edit->setFocus();
    m_model->show(Think_ComboBox->currentText(), Think_Edit->text());
}

void AssociationPage::Think_SpeedButtonClick()
{
    m_model->search(Think_ComboBox->currentText(), Think_Edit->text());
}

void AssociationPage::Think_ComboBoxChange()
{
    look::setFill(Think_ComboBox, look::moneyGreen);
    Think_Edit->setFocus();
    look::setFill(Think_Edit, look::moneyGreen);
}

void AssociationPage::Think_EditClick()
{
    look::setFill(Think_Edit, look::moneyGreen);
}
