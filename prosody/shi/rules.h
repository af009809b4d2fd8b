// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/shi/shipoem.h"

namespace prosody {

// The 平仄 rules of regulated verse, line by line on the chosen types: the fixed positions (with the
// accepted 拗救), 对 and 粘 at the second character, 孤平, 三平尾 and 三仄尾.
void judgeLines(ShiPoem &poem);

} // namespace prosody
