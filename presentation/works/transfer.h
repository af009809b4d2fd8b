// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/importplan.h"
#include "presentation/works/work.h"

#include <QList>
#include <QString>

class Connection;
class Database;
class WorksModel;

// 导出 and 导入 of 经典案例 without widgets: which works a scope takes, the name a save dialog
// suggests, the category an import goes into unless the user picks another, and the preview's
// comparison with what is stored.
class WorksTransfer {
public:
    enum class Scope { Current, Category, All };

    WorksTransfer(Database &db, WorksModel &model);

    Connection *connection() const;
    // The works of a scope. A new or changed work is written first, as a move writes it; throws
    // DbError when that write is refused. The current work: none when the list is empty.
    QList<Work> works(Scope scope) const;
    // A file name without suffix: the work's title, the category, or 全部作品.
    QString suggestedName(Scope scope) const;
    // The listed category, or 甲类 when the list is not one of the five.
    QString importCategory() const;
    // The poems of a file against every stored work; a changed work is written first.
    QList<ImportItem> preview(const QList<Poem> &poems) const;

private:
    QString listedCategory() const;

    Database &m_db;
    WorksModel &m_model;
};
