// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/editorfollower.h"

#include <QEvent>
#include <QTextEdit>

EditorFollower::EditorFollower(QObject *parent)
    : QObject(parent)
{
}

void EditorFollower::add(QTextEdit *editor, EditorTarget::Kind kind)
{
    m_editors.append({editor, {kind, QString()}});
    editor->installEventFilter(this);
    const auto passOn = [this, editor](auto signal) {
        return [this, editor, signal] {
            if (this->editor() == editor)
                emit(this->*signal)();
        };
    };
    connect(editor, &QTextEdit::textChanged, this, passOn(&EditorFollower::textChanged));
    connect(editor, &QTextEdit::selectionChanged, this, passOn(&EditorFollower::selectionChanged));
    connect(editor, &QTextEdit::cursorPositionChanged, this, passOn(&EditorFollower::cursorPositionChanged));
    if (m_followed < 0 || editor->hasFocus())
        follow(editor);
}

void EditorFollower::setTitle(QTextEdit *editor, const QString &title)
{
    for (int i = 0; i < m_editors.size(); ++i) {
        if (m_editors.at(i).editor == editor && m_editors.at(i).target.title != title) {
            m_editors[i].target.title = title;
            if (i == m_followed)
                emit targetChanged();
        }
    }
}

void EditorFollower::follow(QTextEdit *editor)
{
    for (int i = 0; i < m_editors.size(); ++i) {
        if (m_editors.at(i).editor == editor && i != m_followed) {
            m_followed = i;
            emit followed();
            emit targetChanged();
        }
    }
}

QTextEdit *EditorFollower::editor() const
{
    return m_followed >= 0 ? m_editors.at(m_followed).editor.data() : nullptr;
}

EditorTarget EditorFollower::target() const
{
    return m_followed >= 0 ? m_editors.at(m_followed).target : EditorTarget();
}

bool EditorFollower::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        follow(qobject_cast<QTextEdit *>(watched));
    return QObject::eventFilter(watched, event);
}
