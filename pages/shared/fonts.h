// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The program's fonts, apart from the widgets: what is printed without a window (the PDF of works,
// also from the command line) is set in them too.
namespace look {

// Maps the program's font names to fonts installed on this system, so Chinese never shows as boxes.
void installFontSubstitutions();
QFont songFont();      // 新宋体, 9 points (12 pixels)
QFont sansSerifFont(); // MS Sans Serif, 8 points (11 pixels): the window's default font

} // namespace look
