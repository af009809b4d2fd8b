// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktext.h"

namespace cipubook {

// A name with the book's variant forms folded to one (栁 桞 → 柳, 牕 窓 忩 → 窗, 嵗 → 歲 …), so that the
// table of contents, the headings and the notes, which print one name in different forms, match.
// Only for comparing: the book's own forms are what the reader keeps.
Text folded(TextView name);

// Two names of one 调 printed differently: equal once folded, or of one length differing in one
// character (a slip of the print: 倚四樓 倚西樓, 秋霧 秋霽).
bool sameName(TextView a, TextView b);

} // namespace cipubook
