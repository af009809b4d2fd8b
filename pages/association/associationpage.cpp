#include "pages/association/associationpage.h"

#include "db/database.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

using namespace schema;

namespace {

const QString defaultMode = QStringLiteral("-默认-");
const QString prefixMode = QStringLiteral("字首");
const QString infixMode = QStringLiteral("包含");
const QString suffixMode = QStringLiteral("字尾");

// The like pattern of a mode, or none when the mode text is not one of the four.
std::optional<QString> pattern(const QString &mode, const QString &text)
{
    if (mode == defaultMode || mode == suffixMode)
        return u'%' + text;
    if (mode == prefixMode)
        return text + u'%';
    if (mode == infixMode)
        return u'%' + text + u'%';
    return std::nullopt;
}

// The mode as the status text names it: the default mode searches by suffix.
QString modeWord(const QString &mode)
{
    return mode == defaultMode ? suffixMode : mode;
}

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

DbGrid *keyGrid(QFrame *panel, const QString &name, Query *query, const QString &key, int meaningWidth)
{
    auto *grid = new DbGrid(query->dataSource(), {{key, 90, Qt::AlignCenter}, {colMeaning, meaningWidth}},
                            false, panel);
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

AssociationPage::AssociationPage(Database &db, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_status(status)
{
    setObjectName(QStringLiteral("Think"));
    resize(784, 518);

    Panel10 = look::conditionBar(this, QStringLiteral("Panel10"));
    look::setTextColor(Panel10, look::navy);
    Think_Label = look::barLabel(Panel10, QStringLiteral("Think_Label"), QStringLiteral("条件"), 16, 12);
    Think_ComboBox = look::barComboBox(Panel10, QStringLiteral("Think_ComboBox"), 48, 8,
                                       {prefixMode, infixMode, suffixMode}, defaultMode, 8);

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
    cizu_DBGrid = keyGrid(Panel13, QStringLiteral("cizu_DBGrid"), m_db.Cizu_ADOQuery, colWord, 659);
    Panel14 = gridPanel(this, QStringLiteral("Panel14"), QRect(0, 279, 784, 239));
    chengyu_DBGrid = keyGrid(Panel14, QStringLiteral("chengyu_DBGrid"), m_db.Chengyu_ADOQuery, colIdiom, 658);
    for (DbGrid *grid : {cizu_DBGrid, chengyu_DBGrid}) {
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint &pos) {
            if (QMenu *menu = rowMenu(grid, pos)) {
                menu->exec(grid->viewport()->mapToGlobal(pos));
                delete menu;
            }
        });
    }
}

QMenu *AssociationPage::rowMenu(DbGrid *grid, const QPoint &pos)
{
    const QModelIndex at = grid->indexAt(pos);
    if (!at.isValid())
        return nullptr;
    // The key column (the word or the idiom) is the first.
    const QString word = grid->model()->index(at.row(), 0).data().toString().trimmed();
    if (word.isEmpty())
        return nullptr;
    auto *menu = new QMenu(grid);
    QAction *examples = menu->addAction(QStringLiteral("查看例句"));
    connect(examples, &QAction::triggered, this, [this, word] { emit examplesRequested(word); });
    return menu;
}

void AssociationPage::ThinkShow()
{
    Think_Edit->setFocus();
    writeStatus();
}

// Both queries get the same pattern, 词组 first. Rows with unwritten changes are written before
// either result is replaced, so a refused write leaves both grids as they were.
void AssociationPage::Think_SpeedButtonClick()
{
    const QString mode = Think_ComboBox->currentText();
    const QString text = Think_Edit->text();
    if (const std::optional<QString> like = pattern(mode, text)) {
        const struct {
            Query *query;
            const QString &table;
        } searches[] = {{m_db.Cizu_ADOQuery, tableWords}, {m_db.Chengyu_ADOQuery, tableIdioms}};
        for (const auto &s : searches)
            s.query->settle();
        for (const auto &s : searches) {
            s.query->close();
            s.query->clearSql();
            s.query->addSql(
                QStringLiteral("select * from %1 where %1 like %2").arg(s.table, dialect::literal(*like)));
            s.query->open();
        }
    }
    writeStatus();
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

// Both panels describe the current mode and text over the current results; a count that cannot
// be taken leaves both as they were.
void AssociationPage::writeStatus()
{
    const int words = m_db.Cizu_ADOQuery->recordCount();
    const int idioms = m_db.Chengyu_ADOQuery->recordCount();
    const QString mode = Think_ComboBox->currentText();
    const QString text = Think_Edit->text();
    m_status->setPanelText(0, text.isEmpty() ? QStringLiteral("查询条件：显示全部数据")
                                             : QStringLiteral("查询条件：%1=%2").arg(modeWord(mode), text));
    m_status->setPanelText(1, QStringLiteral("查询结果：词组=%1 成语=%2").arg(words).arg(idioms));
}
