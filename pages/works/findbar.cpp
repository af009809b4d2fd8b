// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/findbar.h"

#include "pages/shared/look.h"
#include "presentation/worksfindmodel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The free room of the condition bar, right of its buttons, and the list below it over the page.
const QRect barRect(552, 7, 226, 26);
const QRect resultsRect(434, 38, 346, 300);
} // namespace

WorksFindBar::WorksFindBar(WorksFindModel *model, QWidget *conditionBar, QWidget *page)
    : QFrame(conditionBar)
    , m_model(model)
{
    setObjectName(QStringLiteral("find_Bar"));
    setGeometry(barRect);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("find_Edit"));
    m_edit->setFont(look::songFont());
    m_edit->setPlaceholderText(QStringLiteral("查找：标题、作者或诗句"));
    m_edit->setGeometry(0, 2, 200, 22);
    m_close = new QToolButton(this);
    m_close->setObjectName(QStringLiteral("find_CloseButton"));
    m_close->setText(QStringLiteral("×"));
    m_close->setToolTip(QStringLiteral("关闭查找（Esc）"));
    m_close->setAutoRaise(true);
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setGeometry(202, 2, 22, 22);

    m_results = new QFrame(page);
    m_results->setObjectName(QStringLiteral("find_Results"));
    m_results->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_results->setGeometry(resultsRect);
    look::setFill(m_results, QApplication::palette().color(QPalette::ToolTipBase));
    m_results->setAutoFillBackground(true);
    m_summary = new QLabel(m_results);
    m_summary->setObjectName(QStringLiteral("find_Summary"));
    m_summary->setFont(look::songFont());
    m_list = new QListView(m_results);
    m_list->setObjectName(QStringLiteral("find_List"));
    m_list->setFont(look::songFont());
    m_list->setModel(model);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setUniformItemSizes(true);
    // A long line ends in … (its tooltip has the words found), not in a sideways scroll.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    auto *layout = new QVBoxLayout(m_results);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    layout->addWidget(m_summary);
    layout->addWidget(m_list);

    hide();
    m_results->hide();
    connect(m_edit, &QLineEdit::textChanged, this, &WorksFindBar::find);
    connect(m_model, &WorksFindModel::summaryChanged, m_summary, &QLabel::setText);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex &index) { choose(index.row()); });
    connect(m_close, &QToolButton::clicked, this, &WorksFindBar::dismiss);
    m_edit->installEventFilter(this);
    m_list->installEventFilter(this);
    // The list stays only while the find has the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (m_results->isVisible() && now && !m_results->isAncestorOf(now) && now != m_edit)
            showResults(false);
    });
    auto *shortcut = new QShortcut(QKeySequence::Find, page);
    shortcut->setObjectName(QStringLiteral("find_Shortcut"));
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, &WorksFindBar::open);
}

void WorksFindBar::open()
{
    show();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
    find(m_edit->text());
}

void WorksFindBar::dismiss()
{
    showResults(false);
    hide();
    emit closed();
}

void WorksFindBar::find(const QString &text)
{
    m_model->find(text);
    showResults(!m_model->text().isEmpty());
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(0));
}

// As high as its lines need, up to the room below the bar.
void WorksFindBar::showResults(bool shown)
{
    m_results->setVisible(shown);
    if (!shown)
        return;
    const int rows = m_model->rowCount();
    const int margins = m_results->layout()->contentsMargins().top() * 2 + m_results->layout()->spacing();
    const int lines = rows ? m_list->sizeHintForRow(0) * rows + 2 * m_list->frameWidth() : 0;
    const int height = margins + m_summary->sizeHint().height() + lines + 2;
    m_results->resize(resultsRect.width(), qMin(height, resultsRect.height()));
    m_list->setVisible(rows > 0);
    m_results->raise();
}

void WorksFindBar::pick(int step)
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    showResults(true);
    const int row = qBound(0, m_list->currentIndex().row() + step, rows - 1);
    m_list->setCurrentIndex(m_model->index(row));
}

void WorksFindBar::choose(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const FoundWork work = m_model->work(row);
    m_edit->setFocus(); // not left on the list as it hides
    showResults(false);
    emit workChosen(work);
}

bool WorksFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Escape:
        dismiss();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose(m_list->currentIndex().row());
        return true;
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (watched != m_edit)
            break; // the list moves itself
        pick(static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down ? 1 : -1);
        return true;
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
        if (watched == m_edit) {
            QApplication::sendEvent(m_list, event);
            return true;
        }
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}
