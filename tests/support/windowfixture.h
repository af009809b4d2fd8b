// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/W_Unit.h"
#include "tests/support/fixture.h"

#include <QString>

#include <memory>

// The whole window over a test's own database, as the program runs it: the database's folder is the
// working directory, every message and question is answered by `dialogs`, and open() gives a window
// shown, active and done with its start. A test makes one per case.
class WindowFixture : public Fixture {
public:
    // A fresh database.
    WindowFixture();
    // A fresh copy of a database prepared once for the whole suite (with the other files of its folder).
    explicit WindowFixture(const Fixture &prepared);
    WindowFixture(const WindowFixture &) = delete;
    WindowFixture &operator=(const WindowFixture &) = delete;

    std::unique_ptr<ScriptedDialogs> dialogs = std::make_unique<ScriptedDialogs>();

    // A new window in place of any before it: shown, active, and its start's queued work (the recovery
    // question, the 格律 window reopened) run, so that what it did not do can be asserted at once.
    TW *open();
    TW *window() const { return m_window.get(); }
    // The window taken apart, as the program ends after it closed.
    void drop() { m_window.reset(); }

    // A control by its objectName, in the window or in `in`; the run ends when there is none.
    template <class T> T *child(const QString &name) const { return child<T>(m_window.get(), name); }
    template <class T> static T *child(QObject *in, const QString &name)
    {
        T *found = in ? in->findChild<T *>(name) : nullptr;
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    // Turns to a page as a click on its tab does (0 开始创作 … 4 关于软件).
    void showPage(int index) const;
    QString panel(int index) const;

private:
    WorkingDirectory m_cwd;
    std::unique_ptr<TW> m_window; // declared last: it goes before the dialogs and the folder
    bool m_started = false;
};
