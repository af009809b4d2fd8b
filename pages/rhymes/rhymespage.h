// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/page.h"

#include <QWidget>

class DbGrid;
class RhymesModel;
class QComboBox;
class QFrame;
class QLabel;
class QSplitter;
class QToolButton;
class StatusBar;

// 编辑整理: both rhyme tables in editable grids, narrowed together by final, by tone or by both. The
// page takes `model` as its child.
class RhymesPage : public QWidget, public Page {
    Q_OBJECT
public:
    RhymesPage(RhymesModel *model, StatusBar *status, QWidget *parent = nullptr);

    void shown() override { ViewShow(); }

    void ViewShow();
    void ComboBox4Change();
    void ComboBox6Change();
    void SpeedButton2Click();

    // What the page's tests reach.
    QComboBox *ComboBox4;
    QComboBox *ComboBox5;
    QComboBox *ComboBox6;
    QToolButton *SpeedButton2;
    DbGrid *View_psy_DBGrid;
    DbGrid *View_jsy_DBGrid;

private:
    QFrame *Panel2;
    QLabel *Label2;
    QLabel *Label4;
    QFrame *Panel6;
    QSplitter *View_Splitter;

    RhymesModel *m_model;
};
