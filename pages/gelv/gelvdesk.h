// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class GelvWindow;
class QLineEdit;
class QTextEdit;
class QWidget;

// The main window's 格律 window, made when first asked for. It follows the draft and the work shown
// on 经典案例 (named by its title) and opens on the editor a request came from, or on F9; both
// editors zoom.
class GelvDesk : public QObject {
    Q_OBJECT
public:
    GelvDesk(QTextEdit *draft, QTextEdit *work, QLineEdit *workTitle, QWidget *mainWindow);

    GelvWindow *window();
    // Opens the window on an editor, or looks up one of that editor's characters.
    void checkIn(QTextEdit *editor, const QString &hanzi = QString());

private:
    QTextEdit *m_draft;
    QTextEdit *m_work;
    QLineEdit *m_workTitle;
    QWidget *m_mainWindow;
    GelvWindow *m_window = nullptr;
};
