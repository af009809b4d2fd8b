// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/editortarget.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QTextEdit;

// The editors the 格律 window may check and the one it follows: the last the user worked in (the
// last to take the focus), or the one a context menu asked for. Only the followed editor's changes
// are passed on.
class EditorFollower : public QObject {
    Q_OBJECT
public:
    explicit EditorFollower(QObject *parent = nullptr);

    // The first editor is followed until another takes the focus; one that has it now is followed.
    void add(QTextEdit *editor, EditorTarget::Kind kind);
    // A work's title, for the window's title.
    void setTitle(QTextEdit *editor, const QString &title);
    void follow(QTextEdit *editor);

    // The editor followed; null when it has gone.
    QTextEdit *editor() const;
    EditorTarget target() const;

signals:
    // Another editor is followed: everything starts again from its text.
    void followed();
    void targetChanged();
    // The followed editor's own signals.
    void textChanged();
    void selectionChanged();
    void cursorPositionChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Followable {
        QPointer<QTextEdit> editor; // may go first when the main window is taken apart
        EditorTarget target;
    };
    QList<Followable> m_editors;
    int m_followed = -1;
};
