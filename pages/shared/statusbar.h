#pragma once

#include <QFrame>
#include <QStatusBar>

// One panel of the status bar. It only paints its text: a new text costs no layout until it is shown.
class StatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget *parent = nullptr);
    const QString &text() const { return m_text; }
    void setText(const QString &text);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

// The window's status bar: panel 0 the condition, panel 1 the counts, panel 2 the fixed update date.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);

    static const QString updateDate;

private:
    StatusPanel *m_panels[3];
};
