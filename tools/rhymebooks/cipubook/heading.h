// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktext.h"
#include "tools/rhymebooks/cipubook/booktypes.h"

namespace cipubook {

// A form's heading as the book prints it in small print, read right column then left:
// "雙調一百字前段十句四仄韻後段十句四仄韻", "三段八十四字前兩段各四句四仄韻後一段五句四仄韻".
FormHeading readHeading(TextView text);

// The 段 a heading's kind names at its start (單調 1, 雙調 2, 三段 3, 四段 4), or 0.
int stanzasOf(TextView text);

} // namespace cipubook
