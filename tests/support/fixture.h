// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/dialogs.h"
#include "tests/support/dbfixture.h"

// Answers every message and question without a modal loop, and remembers what was asked.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    struct Call {
        QString kind; // "error", "message", "yesno", "okcancel"
        QString title;
        QString text;
    };
    QList<Call> calls;
    bool answer = true;      // the answer to the next questions
    bool unanswered = false; // ask() gets no answer at all, as when the program ends while it is open

    void error(QWidget *parent, const QString &message) override;
    void message(QWidget *parent, const QString &message) override;
    bool askYesNo(QWidget *parent, const QString &title, const QString &question) override;
    Answer ask(QWidget *parent, const QString &title, const QString &question) override;
    bool askOkCancel(QWidget *parent, const QString &title, const QString &question) override;

    QStringList errors() const;
    void clear() { calls.clear(); }
};
