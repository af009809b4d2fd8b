// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The status texts of the works list: 甲类 in series and poems, every other list in records.
namespace worksstatus {

struct Texts {
    QString condition; // panel 0
    QString counts;    // panel 1
};

// `rows` works listed; `total` the poems in all 甲类 series at start-up.
Texts series(int rows, qint64 total);
Texts records(int rows);

// Panel 1 after an export or an import.
QString exported(int works, const QString &fileName);
QString imported(int works, const QString &category);

} // namespace worksstatus
