// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/dialogs.h"

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
