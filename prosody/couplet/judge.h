// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/variants.h"
#include "prosody/couplet/couplet.h"
#include "prosody/couplet/evidence.h"
#include "prosody/couplet/pairsource.h"

#include <QList>

namespace prosody {

// Judges two lines of one length as a couplet. Both lines are read in one cut of the rhythm
// (rhythm.h: 2|2|1|2, 2|2|3, 4|1|2 …), the one under which they pair best (the most evidence; on a
// tie the cut whose words the classics know, then the usual), and each unit is judged on the
// evidence of the classics (evidence.h). The couplet is parallel when its evidence comes to at least
// a quarter of its characters: a couplet whose units are mostly unattested, or set against each other
// contrary to the classics, is plain. One rule for every couplet, middle or outer, and for a 对联.
// The lines must be of one length; upperLine and lowerLine of the result are left as 0 and 1.
Couplet judgeCouplet(const QList<char32_t> &upper, const QList<char32_t> &lower, const PairSource &pairs);

// Two lines as written judged as the standard characters they stand for (萬里 as 万里, so that the
// classics' pairs and our short lists know them); the units show the characters as written.
Couplet judgeWrittenCouplet(const QList<char32_t> &upper, const QList<char32_t> &lower,
                            const Variants &variants, const PairSource &pairs);

} // namespace prosody
