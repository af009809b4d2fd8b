// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/dbgrid.h"

#include "db/datasource.h"
#include "db/query.h"
#include "db/recoveryfile.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dialogs.h"
#include "pages/shared/errorguard.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// A cell's editor takes a value of any length, so editing a long value never cuts it.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            takeAnyLength(edit);
            if (auto *grid = qobject_cast<DbGrid *>(this->parent()))
                connect(edit, &QLineEdit::textEdited, grid, &DbGrid::cellTyped);
        }
        return editor;
    }
};

} // namespace

namespace {

// The row indicator column: one narrow section per row whose size never depends on its contents, so
// a new result costs no measuring of row titles.
class IndicatorHeader : public QHeaderView {
public:
    explicit IndicatorHeader(QWidget *parent)
        : QHeaderView(Qt::Vertical, parent)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setDefaultAlignment(Qt::AlignCenter);
        setFixedWidth(width);
    }
    QSize sizeHint() const override { return {width, defaultSectionSize()}; }

protected:
    QSize sectionSizeFromContents(int) const override { return {width, defaultSectionSize()}; }

private:
    static constexpr int width = 14;
};

// The title row: its height depends only on the font and style, so it is measured once instead of
// from every title whenever a new result arrives.
class TitleHeader : public QHeaderView {
public:
    explicit TitleHeader(QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
    }
    QSize sizeHint() const override
    {
        if (m_height < 0)
            m_height = QHeaderView::sizeHint().height();
        return {length(), m_height};
    }

protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            m_height = -1;
        QHeaderView::changeEvent(event);
    }

private:
    mutable int m_height = -1;
};

} // namespace

DbGrid::DbGrid(DataSource *source, const QList<GridColumn> &columns, bool readOnly, QWidget *parent)
    : QTableView(parent)
    , m_model(new QueryModel(source, columns, readOnly, this))
    , m_readOnly(readOnly)
{
    // Row heights are fixed before the rows arrive: set afterwards, each of a quarter of a million
    // rows would be resized one by one.
    setHorizontalHeader(new TitleHeader(this));
    setVerticalHeader(new IndicatorHeader(this));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setModel(m_model);
    setItemDelegate(new CellDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].width >= 0)
            setColumnWidth(i, columns[i].width);

    connect(source, &DataSource::currentChanged, this, &DbGrid::followCurrentRow);
    // After a new result the grid starts at its top; the current row follows in currentChanged.
    connect(source, &DataSource::reset, this, [this] { m_afterReset = true; });
    followCurrentRow(query()->currentRow());
}

Query *DbGrid::query() const
{
    return m_model->query();
}

void DbGrid::setTitlesVisible(bool visible)
{
    horizontalHeader()->setVisible(visible);
}

std::optional<std::pair<int, QString>> DbGrid::typedCell() const
{
    if (state() != QAbstractItemView::EditingState || currentIndex().row() != query()->currentRow())
        return std::nullopt;
    const auto *editor = qobject_cast<const QLineEdit *>(indexWidget(currentIndex()));
    const int field = m_model->fieldOf(currentIndex().column());
    if (!editor || field < 0)
        return std::nullopt;
    return std::pair(field, editor->text());
}

// The query's current row moved: show it, without moving the query again.
void DbGrid::followCurrentRow(int row)
{
    // Setting the current index below calls currentChanged, which must not move the query back.
    if (m_following)
        return;
    m_following = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, column);
        if (index != currentIndex())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        // A new result is laid out when it is painted; scrolling now would lay it out at once.
        if (m_afterReset)
            verticalScrollBar()->setValue(0);
        else
            scrollTo(index);
    } else {
        selectionModel()->clearCurrentIndex();
    }
    m_afterReset = false;
    m_following = false;
}

// The user moved to another cell: move the query there. When the row under edit cannot be written,
// the error is shown and the grid stays on that row.
void DbGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (showingNewResult()) {
        setAttribute(Qt::WA_InputMethodEnabled, current.isValid() && !m_readOnly);
        return;
    }
    // The base class commits and closes an editor open on the previous cell, so the row holds what was
    // typed before the query moves.
    QTableView::currentChanged(current, previous);
    if (m_following || m_model->isChanging() || !current.isValid() || current.row() == query()->currentRow())
        return;
    const bool moved = guarded(this, [&] { query()->moveTo(current.row()); });
    if (!moved)
        followCurrentRow(query()->currentRow());
}

void DbGrid::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (!showingNewResult())
        QTableView::selectionChanged(selected, deselected);
}

// The grid is taking a new result's first row: the whole viewport is repainted anyway, so the
// view's own updates of the old and new cells, which would lay out the new result at once, are spared.
bool DbGrid::showingNewResult() const
{
    if (!m_following || !m_afterReset)
        return false;
    viewport()->update();
    return true;
}

// Before anything may write the row: an editor still open hands its text to the row first.
void DbGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void DbGrid::keyPressEvent(QKeyEvent *event)
{
    if (m_readOnly || state() == QAbstractItemView::EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    Query *q = query();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    // Each key that works on the query commits an open editor first, so the row holds what was typed.
    const auto onQuery = [this](auto &&action) {
        commitOpenEditor();
        guarded(this, action);
    };
    if (event->key() == Qt::Key_Insert && !ctrl) {
        onQuery([&] { q->insert(); });
    } else if (event->key() == Qt::Key_Delete && ctrl) {
        if (q->rowCount() > 0 &&
            Dialogs::current().askOkCancel(this, QStringLiteral("Confirm"), QStringLiteral("Delete record?")))
            onQuery([&] { q->remove(); });
    } else if (event->key() == Qt::Key_Escape && q->state() != Query::State::Browse) {
        commitOpenEditor();
        q->cancel();
    } else if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && q->isOpen() &&
               q->currentRow() == q->rowCount() - 1 &&
               !(q->state() == Query::State::Insert && !q->isModified())) {
        onQuery([&] { q->append(); });
    } else {
        QTableView::keyPressEvent(event);
    }
}

void keepTypedCells(QWidget *window, RecoveryKeeper *keeper)
{
    const QList<DbGrid *> grids = window->findChildren<DbGrid *>();
    for (DbGrid *grid : grids)
        QObject::connect(grid, &DbGrid::cellTyped, keeper, &RecoveryKeeper::changed);
    keeper->setTypingSource([grids](Query *q) -> std::optional<RecoveryKeeper::Typing> {
        for (DbGrid *grid : grids)
            if (grid->query() == q)
                if (const auto cell = grid->typedCell())
                    return RecoveryKeeper::Typing{cell->first, cell->second};
        return std::nullopt;
    });
}
