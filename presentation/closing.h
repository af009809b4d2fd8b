#pragma once

#include <QStringList>

class Database;

// What closing the window writes: the draft and the current work, then every other row with
// unwritten changes. Every write is tried even after one is refused; returns the messages of the
// refused ones, first refused first.
namespace closing {

QStringList writeUnwritten(Database &db);

} // namespace closing
