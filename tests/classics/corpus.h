// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A small chinese-poetry tree and small rhyme books for the tests of the classics. The texts are made
// up for the tests, partly in traditional characters; only their shape follows the data package.
namespace corpus {

// Writes root/node_modules/chinese-poetry (package.json with version, and dist/):
// - 唐诗三百首: 江楼 (张九, rhymes 天 船 眠); 千家诗: 春日 (程颢, 宋);
// - 宋词三百首: 浣溪沙 (周七), also in 宋词;
// - 全唐诗 in two files: 江楼 again with one character changed, tagged 唐诗三百首; 城头 of 王五 twice
//   (once under a heading); 城头 of 赵六 (the same lines, another poet); 夜泊 (notes in brackets,
//   marks of restored characters); an entry whose only line is a note; 送别, tagged 唐诗三百首;
// - 宋词: 浣溪沙 (tagged 宋词三百首); two 忆江南 of 吴八 opening alike, one with a preface, a line
//   with a character beyond the BMP and one with □; a 杨柳枝 shaped like a 七绝 rhyming 天 船 川; an
//   entry whose only line is a note.
void writePoetry(const QString &root, const QString &version = QStringLiteral("9.9.9"));

// Rhyme books for the corpus's rhyme characters: 平水韵 puts 行 in 下平七阳 and 下平八庚, 重 in 上平一东
// and 上平二冬, 木竹屋落 in 入声一屋; 中华新韵 has 行 (平 and 去) and 重 in 十一庚 only; 樓遠燈 are read as
// 楼远灯.
void writeBooks(const QString &path);

// Writes the corpus and its rhyme books under root and builds root/date/classics.db from them, as the
// set-up builds the real one; returns the file's path.
QString buildClassics(const QString &root);

// The corpus with two regulated poems of four couplets beside it (王维's 山居秋暝, and its middle
// couplets again under 王十), rhyme books that know their characters and read their traditional forms
// as them, and the classics file built from them under root/date; returns the file's path.
QString buildClassicsWithCouplets(const QString &root);

} // namespace corpus
