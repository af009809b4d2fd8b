// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The status texts of the two rhyme pages: panel 0 names the condition, panel 1 counts the rows
// of 平舌音 and 卷舌音 shown.
namespace rhymestatus {

QString allRecords();
QString finalAndTone(const QString &final, const QString &tone);
QString finalOnly(const QString &final);
QString toneOnly(const QString &tone);
QString counts(int psy, int jsy);

} // namespace rhymestatus
