// SPDX-License-Identifier: GPL-3.0-or-later
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
// The 入声 部 among themselves need only a few poems: their endings had merged in Song speech, and
// poets mixed them freely (姜夔's 绿 among 第十七部, 苏轼's 合).
namespace evidence {
inline constexpr int kSharedRhymePoems = 10;
inline constexpr int kSharedRhymePerMille = 10;
inline constexpr int kSharedEnteringPoems = 2;
} // namespace evidence
bool rhymedTogether(const Cipu &cipu, int section, int other);
// Whether a character of the 入声 部 entering rhymes in the 部 of a 平, 上 or 去 run as 入作三声 (晏几道's
// 曲 among 鱼虞, 柳永's 玉): the 部 its syllable went to once the entering tone was lost (屋烛 to 鱼模 and
// 尤侯, 药铎 to 萧豪 and 歌戈, 质陌职 to 齐微 and 皆来, 月屑 to 家麻, 歌戈 and 鱼模, 合洽 to 家麻 and 歌戈).
bool enteringAs(int entering, int run);
// The number of a 部 of the 词林正韵 by its name: 第一部 … 第十九部 → 1 … 19; 0 for another name.
int sectionNumber(const QString &name);

// The class a position asks for and how strictly, from its counts and the poems of its form.
void applyEvidence(CiPosition &position, int formPoems);

// For a form the book decides (CiForm::tier BookNote or BookExample): the book's class where its
// example's character is of one class — a fault where the note freed the places other poems change
// (so the rest are the book's rule), a warning where it had no poem to compare or where a poem of the
// corpus writes the other class there — free where the book frees the place; where the book's
// character has no reading, the corpus's few poems as examples.
void applyBookEvidence(CiPosition &position, Authority tier, int formPoems);

// For a 体 of the book the corpus's poems decide: where the book's example writes the other class at a
// place the poems hold near-unanimously, the book allows what they avoid there, and the place is a
// warning, not a fault; likewise a line end the poems rhyme as a rule where the book's example ends a
// 句 or 读 unrhymed is marked CiLine::unrhymedInBook. Where they differ at more than kBookDissent
// places, line ends and places together, the poems laid over the 体 are of another shape that shares
// its lengths, and they rule.
void yieldToBook(CiForm &form);
namespace evidence {
inline constexpr int kBookDissent = 3;
} // namespace evidence

// Which authority decides a form: the corpus where it has the poems to make rules or the book has no
// such form; else the book, by whether its note compared other poems.
Authority tierOf(CiSource source, int poems, bool compared);

// When forms are ranked (surpriseOf), the book's class at a place counts as this many poems.
namespace evidence {
inline constexpr int kBookVotes = 4;
} // namespace evidence

} // namespace prosody
