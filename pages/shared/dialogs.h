// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Every message and question of the program goes through the installed Dialogs object, so a test
// can answer them without a modal loop.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An engine or data-layer error: error icon, OK, the application title.
    virtual void error(QWidget *parent, const QString &message);
    // A checked user-input problem: no icon, OK only, the application title as caption.
    virtual void message(QWidget *parent, const QString &message);
    // Question icon, Yes and No, Yes the default, Escape answers No. True on Yes.
    virtual bool askYesNo(QWidget *parent, const QString &title, const QString &question);
    // The same question, telling No from no answer at all (the program ended while it was open).
    enum class Answer { Yes, No, None };
    virtual Answer ask(QWidget *parent, const QString &title, const QString &question);
    // Confirmation icon, OK and Cancel. True on OK.
    virtual bool askOkCancel(QWidget *parent, const QString &title, const QString &question);

    static Dialogs &current();
    // Replaces the current object (not owned); nullptr restores the message boxes.
    static void install(Dialogs *dialogs);
};
