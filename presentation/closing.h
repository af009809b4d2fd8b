// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class Database;
class RecoveryKeeper;

// What closing the window writes: the draft and the current work, then every other row with
// unwritten changes. Every write is tried even after one is refused; returns the messages of the
// refused ones, first refused first.
namespace closing {

QStringList writeUnwritten(Database &db);

// The same writes for an end the user cannot be asked about (a termination signal, the desktop session
// ending): the refused ones are logged and stay in the recovery file, which is brought up to date
// (removed when nothing is left). True when no write was refused.
bool writeForExit(Database &db, RecoveryKeeper &keeper);

} // namespace closing
