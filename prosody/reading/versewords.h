// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace prosody {

// The reading verse gives a word where the modern word list reads it otherwise ("空余" kōng yú, in
// vain, not kòng yú, spare time); empty for any other word. Ours, from reading the disagreements
// of the check with the classics.
QString verseReading(const QString &word);

// Whether a word is read both ways in verse, so that it decides nothing ("不应": 不应有恨 yīng, 敲门都不应
// yìng).
bool readBothWaysInVerse(const QString &word);

} // namespace prosody
