#pragma once

#include "prosody/ci/cipu.h"

namespace prosody {

// How strictly a position of a 词 form is checked, from the poems behind it. Chosen on the 宋词 of the
// corpus (docs/CIPU.md): at 85% the patterns' own poems broke them (苏轼, 吴文英 at positions of
// 86–92%), at 95% of ten poems or more the commonly taught fixed positions stay fixed.
namespace evidence {
// Forms of fewer poems show their examples: every position is a warning at most.
inline constexpr int kRulePoems = 10;
// A fault: at least this share of at least kRulePoems poems with a 平 or 仄 character there.
inline constexpr int kFaultPercent = 95;
// A warning with its share: at least this share.
inline constexpr int kWarningPercent = 80;
} // namespace evidence

// Two 部 rhymed together often enough to be 通押, a warning and not 出韵: in at least this many poems
// and this share (per mille) of the poems with a run in the 部; 入声 部 (15–19) never with the others.
namespace evidence {
inline constexpr int kSharedRhymePoems = 10;
inline constexpr int kSharedRhymePerMille = 10;
} // namespace evidence
bool rhymedTogether(const Cipu &cipu, int section, int other);
// The number of a 部 of the 词林正韵 by its name: 第一部 … 第十九部 → 1 … 19; 0 for another name.
int sectionNumber(const QString &name);

// The class a position asks for and how strictly, from its counts and the poems of its form.
void applyEvidence(CiPosition &position, int formPoems);

} // namespace prosody
