#pragma once

#include <QWidget>

class Database;
class StatusBar;

class CreationPage : public QWidget {
    Q_OBJECT
public:
    CreationPage(Database &db, StatusBar *status, QWidget *parent = nullptr);

    void EditShow();

private:
    Database &m_db;
    StatusBar *m_status;
};
