// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// A work as it leaves or enters the library: its text as the page shows it (a stored RTF document
// as its text), and the date it is stored under (invalid when it has none).
struct Work {
    QString title;
    QString text;
    QString category;
    QDate date;
};
