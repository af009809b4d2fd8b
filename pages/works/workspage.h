#pragma once

#include <QWidget>

class Database;
class DbComboBox;
class DbEdit;
class DbGrid;
class DbRichEdit;
class QComboBox;
class QFrame;
class QLabel;
class QToolButton;
class Query;
class StatusBar;

// 经典案例: the user's works by category, newest first, with navigation, the content editor and the
// detail panel for adding, committing, cancelling and deleting works.
class WorksPage : public QWidget {
    Q_OBJECT
public:
    WorksPage(Database &db, StatusBar *status, QWidget *parent = nullptr);

    // Sums 数量 over the works the query holds at start-up (甲类) and returns to its first row.
    // A work without a number counts 0.
    void computeWorksTotal();
    qint64 worksTotal() const { return m_worksTotal; }

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

    // Presets of a new work.
    static const QString presetAuthor;
    static const QString presetSource;
    static const QString presetUrl;
    static const QString deleteQuestion;

    // Condition bar
    QFrame *Show_Panel;
    QToolButton *first_SpeedButton;
    QToolButton *Prior_SpeedButton;
    QToolButton *next_SpeedButton;
    QToolButton *last_SpeedButton;
    QToolButton *add_SpeedButton;
    QToolButton *del_SpeedButton;
    // Left column and centre
    QFrame *Show_list_Panel;
    QComboBox *Show_ComboBox;
    DbGrid *Show_DBGrid;
    DbRichEdit *nr_DBRichEdit;
    // Detail panel
    QFrame *Show_detail_Panel;
    QLabel *bt_Label;
    DbEdit *bt_DBEdit;
    QLabel *lb_Label;
    DbComboBox *lb_DBComboBox;
    QLabel *bj_Label;
    DbComboBox *bj_DBComboBox;
    QLabel *sl_Label;
    DbEdit *sl_DBEdit;
    QLabel *zz_Label;
    DbEdit *zz_DBEdit;
    QLabel *cc_Label;
    DbEdit *cc_DBEdit;
    QLabel *wz_Label;
    DbEdit *wz_DBEdit;
    QLabel *rq_Label;
    DbEdit *rq_DBEdit;
    QLabel *bz_Label;
    DbRichEdit *bz_DBRichEdit;
    QToolButton *ok_SpeedButton;
    QToolButton *Cancel_SpeedButton;

private:
    Query *query() const;
    void buildConditionBar();
    void buildList();
    void buildDetailPanel();
    // The series form when `series` holds for the selector's text, else the record form.
    void writeStatus(bool series);
    bool selectorShowsSeries() const;

    Database &m_db;
    StatusBar *m_status;
    qint64 m_worksTotal = 0;
    // The selector text whose works are listed, shown again when a category change is refused.
    QString m_listed;
};
