// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The reference file date/classics.db: the poems of 全唐诗 and 宋词 (and the primers' 唐诗三百首, 千家诗
// and 宋词三百首) in simplified characters, a full-text index of their lines, the rhyme words of their
// regulated verse and the pairs their middle couplets set against each other. It holds no user data
// and is rebuilt whenever its data version changes.
namespace classicsschema {

inline const QString defaultPath = QStringLiteral("date/classics.db");

// 版本(键, 值): the data version and the versions of the sources.
inline const QString tableVersion = QStringLiteral("版本");
inline const QString versionKey = QStringLiteral("数据版本");

// 概况(项, 值): counts of the build (诗, 句, 字, 近体诗, 合并; of the pairs 对仗诗, 对仗联, 对语, 对仗对,
// 对类, and 对字 the occurrences of the one-character units of 对语).
inline const QString tableTotals = QStringLiteral("概况");

// 诗(编号, 题, 作者, 朝代, 体, 出处, 注, 首句, 句数): one row per poem; 体 诗 or 词; 出处 the collections
// holding it, joined by " · "; its lines are 句 首句 to 首句 + 句数 - 1.
inline const QString tablePoems = QStringLiteral("诗");
// 句(编号, 诗, 文): the lines (the entries of a poem's text: a couplet in most 诗, a clause in 词),
// numbered in the order a search shows them: the primers' poems first, then the rest, each by dynasty.
inline const QString tableLines = QStringLiteral("句");
// 句索引(文): FTS5 without content over 句, rowid = 句.编号. Each Chinese character is a token, any run of
// other characters one token "0", so that a phrase of characters never matches across punctuation.
inline const QString tableIndex = QStringLiteral("句索引");
// 朝代(序, 名): the dynasties in the order counts are shown.
inline const QString tableDynasties = QStringLiteral("朝代");
// 朝代段(起, 止, 朝代): runs of consecutive line numbers of one dynasty; few, so a count by dynasty
// needs no join.
inline const QString tableRuns = QStringLiteral("朝代段");
// 字频(字, 朝代, 句数): lines holding each character, by dynasty: one-character counts without the index.
inline const QString tableCharCounts = QStringLiteral("字频");
// 韵脚(书, 部, 字, 次数): how often the regulated verse rhymes on a character in a group of a book.
inline const QString tableRhymeWords = QStringLiteral("韵脚");
// 对语(编号, 文, 次数, 类): the units (one to four characters) the 颔联 and 颈联 of regulated poems of
// four couplets hold at the counted places (prosody/couplet/rhythm.h), how often, and their group by
// whom they stand against (0 for none).
inline const QString tableCoupletUnits = QStringLiteral("对语");
// 对仗(甲, 乙, 次数, 分, 外, 例): units of 对语 set against each other at one place of those couplets,
// counted both ways (a row each way); 分 the score that orders partners (× 100), 外 the same pair in
// the 首联 and 尾联, 例 the first couplet of 联 holding it.
inline const QString tablePairs = QStringLiteral("对仗");
// 类对(甲, 乙, 分): two groups of 对语 (of one length) set against each other, 分 = 100 × ln(observed ÷
// expected) over the counts of their pairs, a row each way; groups that never meet have none.
inline const QString tableGroupPairs = QStringLiteral("类对");
// 异体(字, 正字): the rhyme books' table of written forms and the standard characters they stand for
// (衆 → 众), copied when the file is built: the index, the character counts, the rhyme words and the
// pairs hold standard characters, and a search text is read through this table.
inline const QString tableVariants = QStringLiteral("异体");
// 联(编号, 诗, 位, 上, 下): those couplets, in the order of the poems; 位 颔联 or 颈联.
inline const QString tableCouplets = QStringLiteral("联");
// 续字(键, 续): what the clauses of the classics write after a context, for the 填字 helper; 键 the
// clause length, the place and the characters before it, 续 the characters there with their counts
// and first lines (classics/tianzi/continuationcode.h).
inline const QString tableContinuations = QStringLiteral("续字");

inline const QString formShi = QStringLiteral("诗");
inline const QString formCi = QStringLiteral("词");
// The token standing for a run of characters that are not Chinese characters.
inline const QString gapToken = QStringLiteral("0");

// CREATE statements of a fresh file, indexes last.
QStringList createStatements();

} // namespace classicsschema
