#pragma once

#include "prosody/core/variants.h"
#include "prosody/couplet/couplet.h"
#include "prosody/couplet/pairsource.h"

#include <QList>

namespace prosody {

// Judges two lines of one length as a couplet: unit by unit in the reading of the rhythm that fits
// them best (2|2|1 or 2|1|2 …). A unit is 工对 when the classics set the two against each other,
// when both belong to one of our short lists, when both are 叠字 or both pair opposites within
// themselves (天地 against 有无), or when each of its characters is 工对; 宽对 when the two share a
// group, when each character is 工对 or 宽对, or when one is 工对 and the other no repeat; else 未对.
// The couplet is parallel when no unit is 未对, or one is and another is 工对.
// The lines must be of one length; upperLine and lowerLine of the result are left as 0 and 1.
Couplet judgeCouplet(const QList<char32_t> &upper, const QList<char32_t> &lower, const PairSource &pairs);

// Two lines as written judged as the standard characters they stand for (萬里 as 万里, so that the
// classics' pairs and our short lists know them); the units show the characters as written.
Couplet judgeWrittenCouplet(const QList<char32_t> &upper, const QList<char32_t> &lower,
                            const Variants &variants, const PairSource &pairs);

// The judgement of one aligned unit, and how often the classics pair the two.
struct UnitJudgement {
    Parallel judgement = Parallel::None;
    int count = 0;
};
UnitJudgement judgeUnit(const QList<char32_t> &upper, const QList<char32_t> &lower, const PairSource &pairs);

} // namespace prosody
