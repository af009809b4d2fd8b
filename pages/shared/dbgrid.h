// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/querymodel.h"

#include <QTableView>

#include <optional>
#include <utility>

// A grid bound to a query's data source: shows every row in the listed columns and makes the
// clicked row current. Unless read-only it edits in place: typing puts the row into edit state,
// Insert or moving down past the last row begins a new row, Ctrl+Delete deletes the row after
// "Delete record?", Escape discards the row's changes, and moving to another row writes a changed row.
class DbGrid : public QTableView {
    Q_OBJECT
public:
    DbGrid(DataSource *source, const QList<GridColumn> &columns, bool readOnly, QWidget *parent = nullptr);

    Query *query() const;
    QueryModel *queryModel() const { return m_model; }
    bool isReadOnly() const { return m_readOnly; }
    // Hides the title row.
    void setTitlesVisible(bool visible);
    // An open cell's text that has not reached the row yet: the query column and the text.
    std::optional<std::pair<int, QString>> typedCell() const;
    // An editor still open hands its text to the row and closes. Called before anything that may
    // post the query: the query itself never asks for it.
    void commitOpenEditor();

signals:
    void cellTyped(); // the user changed the text of an open cell

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void followCurrentRow(int row);
    bool showingNewResult() const;

    QueryModel *m_model;
    bool m_readOnly;
    bool m_following = false;  // showing the query's row: the grid does not move the query
    bool m_afterReset = false; // a new result: the next row shown scrolls to the top
};

class RecoveryKeeper;
// The grids of `window` tell the keeper whenever a cell is typed into, and give it the text of an
// open cell that has not reached its row yet.
void keepTypedCells(QWidget *window, RecoveryKeeper *keeper);
