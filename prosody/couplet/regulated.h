// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/variants.h"
#include "prosody/couplet/pairsource.h"
#include "prosody/findings/poemcheck.h"

namespace prosody {

// The 对仗 of a 律诗 or an 排律, also of one still being written: every couplet whose two lines are of
// one length is judged and kept in check.couplets. The middle couplets (颔联, 颈联; in an 排律 all but the
// first and the last) are advised on, never faulted: a warning when one is not parallel
// ("颈联未成对仗：「…」对「…」少有先例"), has the same character at the same place (同字相对) or says the
// same twice (合掌). Traditional and variant characters are judged as the standard ones they stand for. The
// 首联 and 尾联 are named only when they are parallel (by the same rule), as information. Other poems are
// left as they are.
void judgeCouplets(PoemCheck &check, const Variants &variants, const PairSource &pairs);

// "颔联" for couplet index (0-based) of a poem of couplets couplets: 首联 颔联 颈联 尾联 in a 律诗,
// 首联 第二联 … 尾联 in an 排律.
QString coupletName(int index, int couplets);

// The findings of one judged couplet as a 律诗 or a 对联 reports them.
void addCoupletFindings(PoemCheck &check, const Couplet &couplet);

} // namespace prosody
