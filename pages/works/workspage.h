// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/page.h"

#include <QWidget>

#include <memory>

class DbComboBox;
class DbEdit;
class DbGrid;
class DbRichEdit;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QToolButton;
class StatusBar;
class WorksFindBar;
class WorksFindModel;
class WorksModel;
class WorksTransfer;

// 经典案例: the user's works by category, newest first, with navigation, the content editor and the
// detail panel for adding, committing, cancelling and deleting works. What the page decides is in
// WorksModel; the page shows it. The page takes the model and the find bar's `finder` as its
// children; `transfer` runs its exports and imports.
class WorksPage : public QWidget, public Page {
    Q_OBJECT
public:
    WorksPage(WorksModel *model, WorksFindModel *finder, std::unique_ptr<WorksTransfer> transfer,
              StatusBar *status, QWidget *parent = nullptr);
    ~WorksPage() override;

    void shown() override { ShowShow(); }
    // The works total, taken once at start-up.
    void computeWorksTotal();
    // The current work's text and title: what the 格律 window checks when asked from this page, and
    // how it names it.
    DbRichEdit *contentEditor() const { return nr_DBRichEdit; }
    DbEdit *titleEdit() const { return bt_DBEdit; }
    // Lists a category as a pick in the selector does.
    void listCategory(const QString &category);

    void ShowShow();
    void Show_ComboBoxChange();
    void first_SpeedButtonClick();
    void Prior_SpeedButtonClick();
    void next_SpeedButtonClick();
    void last_SpeedButtonClick();
    void add_SpeedButtonClick();
    void ok_SpeedButtonClick();
    void Cancel_SpeedButtonClick();
    void del_SpeedButtonClick();
    void lb_DBComboBoxChange();
    void bj_DBComboBoxChange();
    // A work of any category chosen in the find bar: its category is listed and it becomes the
    // current work. False when it is no longer there.
    bool showWork(qint64 rowid, const QString &category);

    // The title list's context menu: 导出本篇…, 导出本类…, 导出全部… and 导入…. A click on a title
    // makes it the current work first. The caller owns the menu.
    QMenu *titleMenu(const QPoint &pos);
    // The content editor's context menu: 检查格律 and 查韵「X」 for the character at pos, above the
    // editor's own entries. The caller owns the menu.
    QMenu *contentMenu(const QPoint &pos);

    // What the page's tests reach.
    QToolButton *first_SpeedButton;
    QToolButton *Prior_SpeedButton;
    QToolButton *next_SpeedButton;
    QToolButton *last_SpeedButton;
    QComboBox *Show_ComboBox;
    DbGrid *Show_DBGrid;
    DbRichEdit *nr_DBRichEdit;
    DbEdit *bt_DBEdit;
    DbComboBox *lb_DBComboBox;
    DbComboBox *bj_DBComboBox;
    DbEdit *sl_DBEdit;
    DbEdit *zz_DBEdit;
    DbEdit *cc_DBEdit;
    DbEdit *wz_DBEdit;
    DbEdit *rq_DBEdit;
    DbRichEdit *bz_DBRichEdit;
    WorksFindBar *findBar() const { return m_find; }

signals:
    // The user asked for the 格律 window on the work, or for the rhyme of one of its characters.
    void gelvRequested();
    void rhymeLookupRequested(const QString &hanzi);

private:
    void buildConditionBar();
    void buildList();
    void buildDetailPanel();
    void connectControls();
    void showButtons();
    void showSelector(const QString &text);

    WorksModel *m_model;
    std::unique_ptr<WorksTransfer> m_transfer;

    QFrame *Show_Panel;
    QToolButton *add_SpeedButton;
    QToolButton *del_SpeedButton;
    QFrame *Show_list_Panel;
    QFrame *Show_detail_Panel;
    QLabel *bt_Label;
    QLabel *lb_Label;
    QLabel *bj_Label;
    QLabel *sl_Label;
    QLabel *zz_Label;
    QLabel *cc_Label;
    QLabel *wz_Label;
    QLabel *rq_Label;
    QLabel *bz_Label;
    QToolButton *ok_SpeedButton;
    QToolButton *Cancel_SpeedButton;
    WorksFindBar *m_find;
};
