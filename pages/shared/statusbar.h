#pragma once

#include <QStatusBar>

class QLabel;

// The window's status bar: panel 0 the condition, panel 1 the counts, panel 2 the fixed update date.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);

    static const QString updateDate;

private:
    QLabel *m_panels[3];
};
