#include "dbgrid.h"

#include "datasource.h"
#include "dialogs.h"
#include "guard.h"
#include "query.h"

#include <QHeaderView>
#include <QKeyEvent>

DbGrid::DbGrid(DataSource *source, const QList<GridColumn> &columns, bool readOnly, QWidget *parent)
    : QTableView(parent)
    , m_model(new QueryModel(source, columns, readOnly, this))
    , m_readOnly(readOnly)
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Fixed row heights keep a grid of a quarter of a million rows as fast as a small one.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].width >= 0)
            setColumnWidth(i, columns[i].width);

    connect(source, &DataSource::currentChanged, this, &DbGrid::followCurrentRow);
    connect(source, &DataSource::reset, this, [this] { followCurrentRow(query()->currentRow()); });
    connect(source, &DataSource::updateData, this, &DbGrid::commitOpenEditor);
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

// The query's current row moved: show it, without moving the query again.
void DbGrid::followCurrentRow(int row)
{
    if (m_following)
        return;
    m_following = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    } else {
        selectionModel()->clearCurrentIndex();
    }
    m_following = false;
}

// The user moved to another cell: move the query there. When the row under edit cannot be written,
// the error is shown and the grid stays on that row.
void DbGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_following || m_model->isChanging() || !current.isValid() || current.row() == query()->currentRow())
        return;
    const bool moved = guarded(this, [&] { query()->moveTo(current.row()); });
    if (!moved)
        followCurrentRow(query()->currentRow());
}

// An editor still open when the row is about to be written hands its text to the row first.
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
    if (event->key() == Qt::Key_Insert && !ctrl) {
        guarded(this, [&] { q->insert(); });
    } else if (event->key() == Qt::Key_Delete && ctrl) {
        if (q->rowCount() > 0 &&
            Dialogs::current().askOkCancel(this, QStringLiteral("Confirm"), QStringLiteral("Delete record?")))
            guarded(this, [&] { q->remove(); });
    } else if (event->key() == Qt::Key_Escape && q->state() != Query::State::Browse) {
        q->cancel();
    } else if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && q->isOpen() &&
               q->currentRow() == q->rowCount() - 1 &&
               !(q->state() == Query::State::Insert && !q->isModified())) {
        guarded(this, [&] { q->append(); });
    } else {
        QTableView::keyPressEvent(event);
    }
}
