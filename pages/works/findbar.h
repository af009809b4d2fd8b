// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/worksfindmodel.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QListView;
class QToolButton;

// 经典案例's find bar: Ctrl+F opens it at the right of the page's condition bar, where no control
// is; what is found as one types is listed below it, over the page. Up and Down pick a line,
// Return or a click chooses it, Escape or × closes the bar. The search is the model's.
class WorksFindBar : public QFrame {
    Q_OBJECT
public:
    // The bar sits in `conditionBar`; its list floats over `page`, which Ctrl+F opens it from.
    WorksFindBar(WorksFindModel *model, QWidget *conditionBar, QWidget *page);

    // Shows the bar with its text selected, found anew (the works may have changed since).
    void open();
    void dismiss();

    QLineEdit *edit() const { return m_edit; }
    QListView *list() const { return m_list; }
    QWidget *results() const { return m_results; }

signals:
    void workChosen(const FoundWork &work);
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void find(const QString &text);
    void pick(int step);
    void choose(int row);
    void showResults(bool shown);

    WorksFindModel *m_model;
    QLineEdit *m_edit;
    QToolButton *m_close;
    QFrame *m_results;
    QLabel *m_summary;
    QListView *m_list;
};
