#pragma once

#include <QLineEdit>
#include <QWidget>

class Database;
class DbGrid;
class QComboBox;
class QFrame;
class QLabel;
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
// the typed text, one search over both tables.
class AssociationPage : public QWidget {
    Q_OBJECT
public:
    AssociationPage(Database &db, StatusBar *status, QWidget *parent = nullptr);

    void ThinkShow();
    void Think_SpeedButtonClick();
    void Think_ComboBoxChange();
    void Think_EditClick();

    QFrame *Panel10;
    QLabel *Think_Label;
    QComboBox *Think_ComboBox;
    ClickEdit *Think_Edit;
    QToolButton *Think_SpeedButton;
    QFrame *Panel13;
    DbGrid *cizu_DBGrid;
    QFrame *Panel14;
    DbGrid *chengyu_DBGrid;

private:
    void writeStatus();

    Database &m_db;
    StatusBar *m_status;
};
