// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/database.h"
#include "db/dberror.h"
#include "db/query.h"

#include <QObject>
#include <QString>

// A page model over its own connection to a test's file, keeping the status texts it has sent.
template <class PageModel> struct OpenModel {
    QObject owner;
    Database db;
    PageModel model;
    QString panels[2];
    explicit OpenModel(const QString &path)
        : db(path, &owner)
        , model(db)
    {
        QObject::connect(&model, &PageModel::statusChanged, &owner,
                         [this](int panel, const QString &text) { panels[panel] = text; });
    }
};

// The message of the engine error an action raises; empty when it raises none.
template <class Action> QString errorOf(Action &&action)
{
    try {
        action();
    } catch (const DbError &e) {
        return e.message();
    }
    return {};
}

// A cell typed into a grid and not yet written.
inline void typeInto(Query *q, int row, const QString &column, const QString &text)
{
    q->moveTo(row);
    q->edit();
    q->setText(column, text);
}
