#pragma once

#include <QWidget>

class StatusBar;

class AboutPage : public QWidget {
    Q_OBJECT
public:
    explicit AboutPage(StatusBar *status, QWidget *parent = nullptr);

    void AboutShow();

private:
    StatusBar *m_status;
};
