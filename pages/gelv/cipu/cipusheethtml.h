// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct CiFormSheet;

// The sheet of a 体 for the 词谱 browser's text view: the heading, the pattern a 句 a row with the
// corpus's 平 and 仄 under each place, the example and the note.
QString cipuSheetHtml(const CiFormSheet &sheet);
