// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/page.h"

#include <QWidget>

class CreationModel;
class DbGrid;
class DbRichEdit;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QSplitter;
class QToolButton;
class StatusBar;

// 开始创作: pick a final through its vowel group and a tone, list the matching syllables of 平舌音
// (upper grid) and 卷舌音 (lower grid), and write in the draft editor beside them. The page takes
// `model` as its child.
class CreationPage : public QWidget, public Page {
    Q_OBJECT
public:
    CreationPage(CreationModel *model, StatusBar *status, QWidget *parent = nullptr);

    void shown() override { EditShow(); }
    // The draft being written: what the 格律 window checks when asked from this page.
    DbRichEdit *draftEditor() const { return Edit_DBRichEdit; }

    void EditShow();
    void ComboBox1Change();
    void ComboBox3Change();
    void Edit_ok_SpeedButtonClick();
    void Edit_save_SpeedButtonClick();

    // The draft editor's context menu: 检查格律 and 查韵「X」 for the character at pos, above the
    // editor's own entries. The caller owns the menu.
    QMenu *draftMenu(const QPoint &pos);

    // What the page's tests reach.
    QComboBox *ComboBox1;
    QComboBox *ComboBox2;
    QComboBox *ComboBox3;
    QToolButton *Edit_ok_SpeedButton;
    DbGrid *Edit_psy_DBGrid;
    DbGrid *Edit_jsy_DBGrid;
    DbRichEdit *Edit_DBRichEdit;

signals:
    // The user asked for the 格律 window, for the rhyme of one character, or for the 词谱.
    void gelvRequested();
    void rhymeLookupRequested(const QString &hanzi);
    void cipuRequested();

private:
    QFrame *Panel1;
    QLabel *Label1;
    QLabel *Label3;
    QToolButton *Edit_save_SpeedButton;
    QToolButton *Edit_gelv_SpeedButton;
    QFrame *Panel5;
    QSplitter *Edit_Splitter;
    QFrame *Panel9;

    CreationModel *m_model;
};
