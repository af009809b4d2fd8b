// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Punctuation as vertical books set it. Brackets, quotation marks, dashes and ellipses are turned:
// each is replaced by its vertical presentation form (（ → ︵, “ → ﹁, …… → ︙︙), the quotation
// marks by corner brackets as columns of simplified Chinese use them. The stops and pauses
// (，、。：；！？) take their vertical forms too, and stand at the upper right of their character's
// cell, just below and to the right of the character they follow.
namespace verticalforms {

// The form a character takes in a column; any other character as it is.
QString turned(const QString &character);
// Whether a character (as turned) stands at the upper right of its cell.
bool atUpperRight(const QString &character);

} // namespace verticalforms
