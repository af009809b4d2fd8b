// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QTextEdit;
class QWidget;

// Ctrl+wheel over a widget, and Ctrl+= (or Ctrl++) and Ctrl+- while the focus is in it, zoom it in
// and out a step; Ctrl+0 sets it back. What a step does is the widget's own; the level reached is
// kept in the user's settings under a name and comes back at the next start.
class Zoom : public QObject {
    Q_OBJECT
public:
    // Levels run from min to max, 0 being the widget as made; apply shows a level.
    Zoom(QWidget *widget, const QString &name, int min, int max, std::function<void(int)> apply);

    int level() const { return m_level; }
    void setLevel(int level);
    // The wheel over another widget too (a scroll area's viewport).
    void watchWheel(QWidget *area);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_name;
    int m_min;
    int m_max;
    std::function<void(int)> m_apply;
    int m_level = 0;
    int m_wheel = 0; // the wheel's turn not yet a whole step (touchpads turn it in small parts)
};

// An editor's text larger or smaller, two pixels a step; only the view changes, never the text.
Zoom *zoomEditor(QTextEdit *editor, const QString &name);
