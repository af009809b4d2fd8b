#pragma once

#include <QWidget>

class Database;
class StatusBar;

class WorksPage : public QWidget {
    Q_OBJECT
public:
    WorksPage(Database &db, StatusBar *status, QWidget *parent = nullptr);

    // Sums 数量 over the works the query holds at start-up (甲类) and returns to its first row.
    void computeWorksTotal();
    qint64 worksTotal() const { return m_worksTotal; }
    void ShowShow();

private:
    Database &m_db;
    StatusBar *m_status;
    qint64 m_worksTotal = 0;
};
