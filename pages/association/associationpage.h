#pragma once

#include <QWidget>

class Database;
class StatusBar;

class AssociationPage : public QWidget {
    Q_OBJECT
public:
    AssociationPage(Database &db, StatusBar *status, QWidget *parent = nullptr);

    void ThinkShow();

private:
    Database &m_db;
    StatusBar *m_status;
};
