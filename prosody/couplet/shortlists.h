// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace prosody {

// Our short lists, for the classes the classics leave no doubt about: 数目, 颜色, 方位, 时令, 天干, 地支,
// 八卦 and 代词. Two characters of one list stand against each other as 工对 (三 against 万, 红 against 碧)
// whether or not the classics happen to set that pair.
// The list both characters belong to ("数目"); empty when there is none.
QString sharedList(char32_t a, char32_t b);

// 叠字: a unit of one character twice (萧萧, 滚滚).
bool isReduplicated(const QList<char32_t> &unit);

// Whether two characters mean nearly the same: the same character, or two of one of our sets of
// near-synonyms (见 看 望 …, 年 岁 载 …). Two lines alike in nearly every unit say the same thing (合掌).
bool isNearSynonym(char32_t a, char32_t b);

// Whether a line opens on a word that makes the couplet one sentence: saying, asking, knowing or
// wishing what the rest tells (为报, 借问, 安得, 早知 …). A lower line that does not answer with another
// such word runs on from the upper (为报空潭橘，无媒寄洛桥).
bool opensOneSentence(const QList<char32_t> &line);

} // namespace prosody
