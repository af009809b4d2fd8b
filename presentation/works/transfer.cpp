// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/transfer.h"

#include "db/database.h"
#include "db/query.h"
#include "presentation/categories.h"
#include "presentation/works/library.h"
#include "presentation/worksmodel.h"

WorksTransfer::WorksTransfer(Database &db, WorksModel &model)
    : m_db(db)
    , m_model(model)
{
}

Connection *WorksTransfer::connection() const
{
    return m_db.connection();
}

QString WorksTransfer::listedCategory() const
{
    const QString listed = m_model.listed();
    return listed == categories::defaultQuery ? categories::table[0].category : listed;
}

QList<Work> WorksTransfer::works(Scope scope) const
{
    Query *q = m_db.Show_ADOQuery;
    q->settle();
    switch (scope) {
    case Scope::Current:
        if (q->currentRow() < 0)
            return {};
        return {library::current(*q)};
    case Scope::Category:
        return library::ofCategory(connection(), listedCategory());
    case Scope::All:
        break;
    }
    return library::all(connection());
}

QString WorksTransfer::suggestedName(Scope scope) const
{
    QString name;
    if (scope == Scope::Current && m_db.Show_ADOQuery->currentRow() >= 0)
        name = library::current(*m_db.Show_ADOQuery).title;
    else if (scope == Scope::Category)
        name = listedCategory();
    else if (scope == Scope::All)
        name = QStringLiteral("全部作品");
    // Characters no file system takes, and control characters, become spaces.
    for (QChar &c : name)
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = u' ';
    name = name.simplified().left(60);
    return name.isEmpty() || name.startsWith(u'.') ? QStringLiteral("作品") : name;
}

QString WorksTransfer::importCategory() const
{
    const QString listed = listedCategory();
    return categories::markOf(listed) ? listed : categories::table[0].category;
}

QList<ImportItem> WorksTransfer::preview(const QList<Poem> &poems) const
{
    m_db.Show_ADOQuery->settle();
    return importplan::plan(poems, library::all(connection()));
}
