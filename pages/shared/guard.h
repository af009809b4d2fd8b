// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/dbgrid.h"
#include "pages/shared/errorguard.h"

#include <QObject>
#include <QWidget>

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
