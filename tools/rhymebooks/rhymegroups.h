// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

namespace builddb {

// The four tones of the old language, as the metre check names them: 平, 上, 去, 入.
using Tone = prosody::Tone;
inline QChar toneChar(Tone tone)
{
    return prosody::toneName(tone);
}

// The names of the four books, in the order the program offers them.
namespace books {
inline const QString pingshui = QStringLiteral("平水韵");
inline const QString cilin = QStringLiteral("词林正韵");
inline const QString xinyun = QStringLiteral("中华新韵");
inline const QString tongyun = QStringLiteral("中华通韵");
} // namespace books

// A group of 平水韵: 106 in their traditional order, named as poets write them (上平一东).
struct PingshuiGroup {
    QString name;
    Tone tone;
};
const QList<PingshuiGroup> &pingshuiGroups();

// The 平水韵 group (an index into pingshuiGroups()) of a 廣韻 reading, given its tone and the 平聲
// base name of its rhyme family as tshet-uinh names it (東 for 董, 送 and 屋; 寒 for 桓 too);
// -1 when the pair is not a rhyme of the 廣韻.
int pingshuiGroupOf(Tone tone, const QString &rhyme);

// The 部 of 词林正韵 (1 to 19) of a reading in a 平水韵 group. Groups that the 词林正韵 splits
// follow the 廣韻 rhyme (灰 and 咍, 元 and 魂痕), the 開合 of 泰, and for 佳, 卦 and 夬 a list of
// characters; hu is 開, 合 or null.
int cilinSectionOf(int pingshuiGroup, const QString &rhyme, QChar hu, char32_t hanzi);
QString cilinSectionName(int section); // 第一部

// The groups of the two modern books, in order: 一麻 … 十四姑 and 一啊 … 十六儿.
const QStringList &xinyunGroups();
const QStringList &tongyunGroups();
// The group (an index into the list above) of a toneless pinyin syllable; -1 for a syllable
// without a vowel (m, ng, hm).
int xinyunGroupOf(const QString &syllable);
int tongyunGroupOf(const QString &syllable);

// The final of a toneless syllable written out in full (yu → ü, wen → uen → un, zhi → -i).
QString fullFinal(const QString &syllable);

} // namespace builddb
