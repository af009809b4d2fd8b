// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The reference file date/rhymebooks.db: the rhyme books and the word readings the metre check
// needs. It holds no user data and is rebuilt whenever its data version changes.
namespace rhymebookschema {

inline const QString defaultPath = QStringLiteral("date/rhymebooks.db");

// 版本(键, 值): the data version and the versions of the sources.
inline const QString tableVersion = QStringLiteral("版本");
inline const QString versionKey = QStringLiteral("数据版本");

// 韵部(书, 序, 部, 声): the groups of each book in order, one row per tone a group has.
inline const QString tableGroups = QStringLiteral("韵部");
// 韵字(书, 部, 字, 声, 级, 次): one row per character per group; 声 平, 上, 去 or 入; 级 the level in
// the 通用规范汉字表 (1 to 3, 0 outside it); 次 the character's place in its group.
inline const QString tableChars = QStringLiteral("韵字");
// 无部字(书, 字, 声, 级, 据): characters of the standard that a classical book has no group for,
// with a tone class taken from the modern reading (据 今读) or a Cantonese entering tone (粤音入声).
inline const QString tableUngrouped = QStringLiteral("无部字");
// 读音(字, 序, 拼音): the standard modern readings, with tone marks.
inline const QString tableReadings = QStringLiteral("读音");
// 词音(词, 拼音): words holding a character whose modern readings differ in 平仄, with the
// reading of every character of the word, separated by blanks.
inline const QString tableWordReadings = QStringLiteral("词音");

// 异体(字, 正字): the characters the books do not hold under their own form — traditional, old and
// variant forms (衆, 樣, 栁) — and the standard character each stands for (众, 样, 柳).
inline const QString tableVariants = QStringLiteral("异体");

// 兼体(字, 正字): standard characters that are also the traditional form of another standard one
// (徵 of 征, 乾 of 干), which a text converted from simplified characters writes where the other is
// meant. A rhyme reads them, in the tones they have, also in the groups of the other.
inline const QString tableAlsoFor = QStringLiteral("兼体");

// 邻韵(书, 部, 邻部): groups a first line may borrow from (孤雁出群), each pair in both orders.
inline const QString tableNeighbours = QStringLiteral("邻韵");

// The 词谱: the 词 of chinese-poetry and 御定词谱 (1715) in one; every figure keeps the counts behind it.
// 词牌(牌, 序, 首数, 入体, 谱名, 卷, 谱序, 源注): the 词牌 by use (序 1 the most written; those without a
// poem after them, in the book's order), the poems under it in all its names, and how many of them
// fall into one of its forms; where it is a 调 of the book: its name as printed, its 卷, its place in
// the book (谱序 1 …; 0 outside it) and the note on its origin and other names.
inline const QString tableTunes = QStringLiteral("词牌");
// 词牌名(名, 牌, 首数, 据): every name that leads to a 词牌, with the poems written under it; 据 says
// why: 本名, 集中写法 (a way the corpus writes it), 谱中又名 (the book's other names) or 别名表 (our
// short list of aliases).
inline const QString tableTuneNames = QStringLiteral("词牌名");
// 词体(牌, 体, 首数, 结构, 分片, 韵式, 例, 家): the forms, 体 1 the main form (正体) and 2… the variants by
// use; 结构 the line lengths ("7,7,7,7,7,7"); 分片 the 1-based line that begins the second 片 as inferred
// from the pattern (0 when none is); 韵式 平韵, 仄韵, 换韵 or 平仄通叶; 例 the author and first sentence
// of the poem that fits the pattern best; 家 the poets of its poems (0 in a file built before it was
// kept). 源 says where the form comes from: 词作 (the corpus), 谱 (the book) or 谱与词作 (a corpus
// form laid over the book's 体); the book's forms come first, in its order, then the corpus's it lacks.
// From the book: 谱序 (1 正体, 2 … each 又一体; 0 outside it), 作者 of its example, 卷, 注 (the
// editors' note as printed), 谱例 (the example with its marks: 凭空眺远（句）…（韵）, 段 apart by a
// full-width blank), 可校 (1 where the note frees characters on the evidence of other poems) and 分段
// (the 1-based lines that begin each 段 after the first: "11" or "5,9").
inline const QString tableCiForms = QStringLiteral("词体");
// 词句(牌, 体, 句, 字数, 韵组, 韵声, 押, 位): the lines of a form; 韵组 the rhyme run the line end belongs to
// (0 for none), 韵声 平 or 仄 at a rhyme, 押 the poems whose line end rhymes there; 位 the counts of 词位
// for each position of the line packed (平, 仄, 两, 缺 as little-endian 16-bit numbers, a position after
// another), read at start in place of 词位's many rows; empty in a file built before it was kept. From
// the book: 读 (its pauses inside the 句, after that many characters: "3"), 标 (how the 句 ends: 句, 韵,
// 叶, 叠 or 重 with the tone and 换 it prints: "换平韵") and 谱 (a character per position: 平 or 仄 as
// its example, 中 where the note frees it or the example's character reads both ways, 缺 for a
// character without a reading); empty for a form of the corpus alone.
inline const QString tableCiLines = QStringLiteral("词句");
// The counts of one position as 词位 and 词句.位 keep them.
struct PositionCounts {
    int ping = 0;
    int ze = 0;
    int both = 0;    // characters of both classes
    int unknown = 0; // characters without a class, or lost
};
// 词句.位 from a line's positions (counts past 65,535 are kept at it), and back: nothing where the bytes
// do not hold `length` positions (a file built before 位 was kept).
QByteArray packPositions(const QList<PositionCounts> &positions);
std::optional<QList<PositionCounts>> unpackPositions(QByteArrayView packed, int length);
// 词位(牌, 体, 句, 字, 声, 平, 仄, 两, 缺, 谱): each position of a form: 声 平, 仄 or 中, from the poems with
// a 平 or 仄 character there (两: a character of both classes, 缺: one without a class); 谱 the book's
// class there (词句.谱).
inline const QString tableCiPositions = QStringLiteral("词位");
// 通押(部, 邻部, 首数, 部首数): rhymes of one 部 written in a run of another — the poems (per run
// whose 部 is 部) with a rhyme of 邻部 alone, and 部首数 the poems with a run in 部; in the 词林正韵.
inline const QString tableSharedRhymes = QStringLiteral("通押");
// 词谱概况(项, 数): what the derivation counted: poems read, left out and why, 词牌 and forms.
inline const QString tableCipuCounts = QStringLiteral("词谱概况");

// 词体.源.
inline const QString sourceCorpus = QStringLiteral("词作");
inline const QString sourceBook = QStringLiteral("谱");
inline const QString sourceBoth = QStringLiteral("谱与词作");

inline const QString basisModern = QStringLiteral("今读");
inline const QString basisCantonese = QStringLiteral("粤音入声");

// CREATE statements of a fresh file, indexes last.
QStringList createStatements();

} // namespace rhymebookschema
