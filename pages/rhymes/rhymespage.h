#pragma once

#include <QWidget>

class Database;
class RhymesModel;
class DbGrid;
class QComboBox;
class QFrame;
class QLabel;
class QSplitter;
class QToolButton;
class StatusBar;

// 编辑整理: both rhyme tables in editable grids, narrowed together by final, by tone or by both.
class RhymesPage : public QWidget {
    Q_OBJECT
public:
    RhymesPage(Database &db, StatusBar *status, QWidget *parent = nullptr);

    void ViewShow();
    void ComboBox4Change();
    void ComboBox6Change();
    void SpeedButton2Click();

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
