#pragma once

#include "pages/shared/dbgrid.h"
#include "pages/shared/dialogs.h"

#include <QObject>
#include <QWidget>

#include <exception>

// Runs one user action; an error it raises ends the action and is shown in an error box, and the
// program keeps running. Returns false when the action failed.
template <class Action> bool guarded(QWidget *parent, Action &&action)
{
    try {
        action();
        return true;
    } catch (const std::exception &e) {
        Dialogs::current().error(parent, QString::fromUtf8(e.what()));
        return false;
    }
}

// Before an action of a page may write a row: an editor still open in one of the page's grids hands
// its text to its row, so that what the user typed is part of the write.
inline void commitOpenEditors(QWidget *page)
{
    for (DbGrid *grid : page->findChildren<DbGrid *>())
        grid->commitOpenEditor();
}

// The one way a page ties a control to its model: whenever `sender` emits `signal`, the page's open
// editors are committed and `action` runs guarded.
template <class Sender, class Signal, class Action>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, QWidget *page, Action action)
{
    return QObject::connect(sender, signal, page, [page, action] {
        commitOpenEditors(page);
        guarded(page, action);
    });
}
