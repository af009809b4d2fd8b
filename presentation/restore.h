// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/recoveryfile.h"

#include <functional>

class Database;
class RecoveryKeeper;

// Putting the texts of a recovery file back into the rows they were typed into.
namespace restore {

// The rows and texts that differ from what the database holds now (a text written just before the
// program ended is not offered again).
QList<recovery::Row> differing(const Database &db, const QList<recovery::Row> &rows);

// Each row goes back into a query that shows it, in edit state, with its texts set as if just typed,
// so they are written as typing is. A row the query does not list is listed first (a work by its
// category, through `listCategory`; another row by showing its whole table); a row no longer in its
// table comes back as a new row. Throws DbError when a text cannot be set.
void putBack(Database &db, const std::function<void(const QString &)> &listCategory,
             const QList<recovery::Row> &rows);

// What the file the last run left calls for, decided before the user is asked anything.
struct Offer {
    QString file;              // the file found; empty when none was
    QString message;           // it could not be offered and was set aside: why, and where it went
    QList<recovery::Row> rows; // the texts to offer; empty when there is nothing to ask
};
// Reads the file the keeper found. A file that cannot be offered is set aside; one whose texts all
// reached the database is removed. The keeper holds the file only while the user is to be asked.
Offer prepare(const Database &db, RecoveryKeeper &keeper);
// The user declined: the file is kept aside under a dated name.
void decline(RecoveryKeeper &keeper, const Offer &offer);

} // namespace restore
