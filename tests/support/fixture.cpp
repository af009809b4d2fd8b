// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/fixture.h"

ScriptedDialogs::ScriptedDialogs()
{
    Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    Dialogs::install(nullptr);
}

void ScriptedDialogs::error(QWidget *, const QString &message)
{
    calls << Call{QStringLiteral("error"), QString(), message};
}

void ScriptedDialogs::message(QWidget *, const QString &message)
{
    calls << Call{QStringLiteral("message"), QString(), message};
}

bool ScriptedDialogs::askYesNo(QWidget *, const QString &title, const QString &question)
{
    calls << Call{QStringLiteral("yesno"), title, question};
    return answer;
}

Dialogs::Answer ScriptedDialogs::ask(QWidget *, const QString &title, const QString &question)
{
    calls << Call{QStringLiteral("yesno"), title, question};
    if (unanswered)
        return Answer::None;
    return answer ? Answer::Yes : Answer::No;
}

bool ScriptedDialogs::askOkCancel(QWidget *, const QString &title, const QString &question)
{
    calls << Call{QStringLiteral("okcancel"), title, question};
    return answer;
}

QStringList ScriptedDialogs::errors() const
{
    QStringList out;
    for (const Call &c : calls)
        if (c.kind == QStringLiteral("error"))
            out << c.text;
    return out;
}
