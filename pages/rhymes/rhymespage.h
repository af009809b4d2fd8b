#pragma once

#include <QWidget>

class Database;
class StatusBar;

class RhymesPage : public QWidget {
    Q_OBJECT
public:
    RhymesPage(Database &db, StatusBar *status, QWidget *parent = nullptr);

    void ViewShow();

private:
    Database &m_db;
    StatusBar *m_status;
};
