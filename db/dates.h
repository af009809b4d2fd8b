// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// Dates are stored as ISO text (yyyy-MM-dd), so that they sort chronologically, and shown and typed
// in the system's short date format with a four-digit year.
namespace dates {

QString shortFormat();
QString display(const QDate &date);
// Reads a stored value: ISO date, optionally followed by a time.
QDate fromStored(const QString &stored);
// A stored value as shown: a date in the short format, anything else as it is.
QString shownFromStored(const QString &stored);
// Reads what a user typed: the short format, or an ISO-like y-M-d with - / or . between.
QDate fromTyped(const QString &typed);
QString toStored(const QDate &date);

} // namespace dates
