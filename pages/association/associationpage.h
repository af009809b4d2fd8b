// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/page.h"

#include <QLineEdit>
#include <QWidget>

class AssociationModel;
class DbGrid;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QToolButton;
class StatusBar;

// A one-line edit that tells when the mouse clicked it, as distinct from gaining the focus.
class ClickEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// 词语联想: the words of 词组 and the idioms of 成语 whose key begins with, contains or ends with
// the typed text, one search over both tables. The page takes `model` as its child.
class AssociationPage : public QWidget, public Page {
    Q_OBJECT
public:
    AssociationPage(AssociationModel *model, StatusBar *status, QWidget *parent = nullptr);

    void shown() override { ThinkShow(); }

    void ThinkShow();
    void Think_SpeedButtonClick();
    void Think_ComboBoxChange();
    void Think_EditClick();

    // The menu of a grid's row at pos: 查看例句 and 查看对仗 of the row's word or idiom. The caller owns
    // it; null when pos is on no row.
    QMenu *rowMenu(DbGrid *grid, const QPoint &pos);

    // What the page's tests reach.
    QComboBox *Think_ComboBox;
    ClickEdit *Think_Edit;
    DbGrid *cizu_DBGrid;
    DbGrid *chengyu_DBGrid;

signals:
    // The user asked to see a word in the lines of the classics.
    void examplesRequested(const QString &word);
    // The user asked for the words the classics set against a word.
    void coupletsRequested(const QString &word);

private:
    QFrame *Panel10;
    QLabel *Think_Label;
    QToolButton *Think_SpeedButton;
    QFrame *Panel13;
    QFrame *Panel14;

    AssociationModel *m_model;
};
