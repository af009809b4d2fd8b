// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStatusBar>
#include <QString>

class QTimer;

// The window's status bar: panel 0 the condition, panel 1 the counts, panel 2 the fixed update date.
// It paints its three panels itself, 330, 330 and the rest of the bar wide: a new text costs no
// layout until the bar is shown.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    QString panelText(int panel) const { return m_texts[panel]; }
    void setPanelText(int panel, const QString &text);
    // Shows `text` in panel 0 or 1 for a moment, then the text it replaced, unless the panel has been
    // given another text meanwhile.
    void showBriefly(int panel, const QString &text);
    static constexpr int briefMs = 2000;
    // Where a panel is drawn, in the bar's coordinates.
    QRect panelRect(int panel) const;

    static const QString updateDate;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void briefOver(int panel);

    QString m_texts[3];
    struct Brief {
        QTimer *timer;
        QString text;     // shown for a moment
        QString replaced; // shown again after it
    };
    Brief m_briefs[2];
};
