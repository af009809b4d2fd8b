// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/couplet/couplet.h"
#include "prosody/couplet/pairsource.h"

#include <QList>

namespace prosody {

// The judgement of one aligned unit of a couplet, on the evidence of the classics: count is how often
// the classics set the two against each other, evidence what each character contributes, summed:
//   1     the pair is attested well beyond chance (the classics set it twice or more, at least twice
//         as often as their counts would by chance and not mostly in plain lines), both characters
//         are of one short list (数目, 颜色 …), or the unit is attested whole, or both are 叠字;
//   0.5   attested more often than chance, but rarely;
//   0.25  never set against each other, but their groups stand against each other (of two 2-character
//         words, or two 并列 words: 乾坤 against 吴楚, a floor for each character);
//   0     no evidence either way: attested no more than chance, or too rare to say;
//  -0.5   their groups seldom stand against each other;
//  -1     the same character, or two common characters the classics never set against each other
//         (less, down to -1/4, the less common they are: their absence may be chance).
// 工对: the unit attested whole, 叠字 or a short list, or evidence of at least 0.75 a character; 宽对:
// some evidence; 未对: none, or evidence against.
struct UnitJudgement {
    Parallel judgement = Parallel::None;
    int count = 0;
    double evidence = 0;
};
UnitJudgement judgeUnit(const QList<char32_t> &upper, const QList<char32_t> &lower, const PairSource &pairs);

} // namespace prosody
