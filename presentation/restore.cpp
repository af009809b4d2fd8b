// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/restore.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"

#include <QFile>
#include <QFileInfo>

using namespace schema;

namespace restore {
namespace {

// The queries over a table that the user types into, the one that lists the whole table last.
QList<Query *> queriesOver(const Database &db, const QString &table)
{
    if (table == tableWorks)
        return {db.Edit_ADOQuery, db.Show_ADOQuery};
    if (table == tableJsy)
        return {db.Edit_jsy_ADOQuery, db.View_jsy_ADOQuery};
    if (table == tablePsy)
        return {db.View_psy_ADOQuery};
    if (table == tableWords)
        return {db.Cizu_ADOQuery};
    if (table == tableIdioms)
        return {db.Chengyu_ADOQuery};
    return {};
}

QString fieldText(const recovery::Row &row, const QString &column)
{
    for (const recovery::Field &f : row.fields)
        if (f.column == column)
            return f.text;
    return {};
}

// Lists the row in `browser`: a work by its stored category, any other row with its whole table.
bool listRow(const Database &db, Query *browser, const recovery::Row &row,
             const std::function<void(const QString &)> &listCategory)
{
    if (row.table == tableWorks) {
        const std::optional<QString> category = db.storedText(tableWorks, *row.rowid, colCategory);
        if (!category)
            return false;
        listCategory(*category);
    } else {
        browser->settle();
        browser->close();
        browser->clearSql();
        browser->addSql(QStringLiteral("select * from ") + row.table);
        browser->open();
    }
    return browser->locate(*row.rowid);
}

} // namespace

QList<recovery::Row> differing(const Database &db, const QList<recovery::Row> &rows)
{
    QList<recovery::Row> out;
    for (recovery::Row row : rows) {
        if (row.rowid) {
            row.fields.removeIf([&](const recovery::Field &f) {
                return db.storedText(row.table, *row.rowid, f.column) == f.text;
            });
        }
        if (!row.fields.isEmpty())
            out << row;
    }
    return out;
}

void putBack(Database &db, const std::function<void(const QString &)> &listCategory,
             const QList<recovery::Row> &rows)
{
    QList<Query *> taken; // a query holds one row under edit
    for (const recovery::Row &row : rows) {
        QList<Query *> candidates = queriesOver(db, row.table);
        candidates.removeIf([&](Query *q) { return taken.contains(q); });
        if (candidates.isEmpty())
            throw DbError(QStringLiteral("恢复的内容无处可放：%1").arg(row.table));
        Query *target = nullptr;
        if (row.rowid) {
            for (Query *q : std::as_const(candidates))
                if (q->locate(*row.rowid)) {
                    target = q;
                    break;
                }
            if (!target && listRow(db, candidates.last(), row, listCategory))
                target = candidates.last();
        }
        if (target) {
            target->edit();
        } else {
            // A new draft goes back to the draft when there is none; any other new row to the list.
            const bool draft = row.table == tableWorks && candidates.first() == db.Edit_ADOQuery &&
                               db.Edit_ADOQuery->rowCount() == 0 && fieldText(row, colTitle) == draftTitle;
            target = draft ? db.Edit_ADOQuery : candidates.last();
            target->append();
        }
        for (const recovery::Field &f : row.fields) {
            const int field = target->fieldOfColumn(f.column);
            if (field < 0)
                throw DbError(QStringLiteral("%1: Field '%2' not found").arg(target->objectName(), f.column));
            target->setCellText(field, f.text);
        }
        taken << target;
    }
}

} // namespace restore

namespace restore {
namespace {

// The one-line message for a file that cannot be offered, naming where it was put.
QString setAsideMessage(recovery::Problem problem, const QString &file, const QString &aside)
{
    const QString what = problem == recovery::Problem::Damaged ? QStringLiteral("恢复文件已损坏")
                                                               : QStringLiteral("恢复文件不属于这个数据库");
    if (aside.isEmpty())
        return QStringLiteral("%1，未能改名，仍留在 %2。").arg(what, QFileInfo(file).fileName());
    return QStringLiteral("%1，已另存为 %2。").arg(what, QFileInfo(aside).fileName());
}

} // namespace

Offer prepare(const Database &db, RecoveryKeeper &keeper)
{
    Offer offer;
    offer.file = keeper.leftFile();
    if (offer.file.isEmpty())
        return offer;
    const std::optional<recovery::Contents> found = recovery::read(offer.file, keeper.fingerprint());
    if (!found) {
        keeper.hold(false);
        return offer;
    }
    if (found->problem != recovery::Problem::None) {
        const QString aside = recovery::setAside(offer.file);
        offer.message = setAsideMessage(found->problem, offer.file, aside);
        keeper.hold(aside.isEmpty());
        return offer;
    }
    offer.rows = found->rows;
    try {
        offer.rows = differing(db, offer.rows);
    } catch (const DbError &) {
        // not comparable with the file: offered whole
    }
    if (offer.rows.isEmpty()) {
        QFile::remove(offer.file); // everything in it reached the database before the program ended
        keeper.hold(false);
    }
    return offer;
}

void decline(RecoveryKeeper &keeper, const Offer &offer)
{
    keeper.hold(recovery::setAside(offer.file).isEmpty());
}

} // namespace restore
