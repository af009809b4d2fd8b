// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The tones of every verse line of date/classics.db (the halves of a couplet of 诗, the clauses of a
// 词; classics/lines/clauses.h), computed when the file is built so that a search by 平仄 pattern is a
// pass over packed codes in memory. Kept as a few arrays, one BLOB each, in the order of the lines
// (the order of 句), packed as classics/lines/tonecodes.h reads them (varints: unsigned LEB128):
//   句数   varint × rows of 句: how many verse lines each row holds
//   长     u8 × verse lines: how many characters
//   位     varint × verse lines: the tokens of 句索引 between the end of the verse line before it in
//          its row (the row's start for the first) and its start: where it starts, to cut its text
//          and to find a character at a place through the index's positions
//   古     per verse line, two bits a character from the lowest in as few bytes as they fill: the
//          classes in the classical books (平水韵; 词林正韵 reads alike), bit 0 may be 平, bit 1 may be
//          仄 (中 both, unknown neither)
//   今     the same in the modern books (中华新韵, 中华通韵)
//   末字表 u32 little-endian × the last characters of the verse lines, the most frequent first
//   末字   varint × verse lines: the last character (whose rhyme groups the books give), as its place
//          in 末字表
// Lines longer than maxLength characters are not held.
namespace linetonesschema {

inline const QString table = QStringLiteral("句律");
inline const QString createTable =
    QStringLiteral("CREATE TABLE 句律 (项 TEXT PRIMARY KEY, 值 BLOB NOT NULL)");
// Poems by their author, for a search limited to one poet.
inline const QString createAuthorIndex = QStringLiteral("CREATE INDEX 诗_作者 ON 诗 (作者)");

inline const QString linesPerRow = QStringLiteral("句数");
inline const QString lengths = QStringLiteral("长");
inline const QString tokens = QStringLiteral("位");
inline const QString classical = QStringLiteral("古");
inline const QString modern = QStringLiteral("今");
inline const QString lastCharTable = QStringLiteral("末字表");
inline const QString lastChars = QStringLiteral("末字");

inline constexpr int maxLength = 16; // two bits a character in 32

} // namespace linetonesschema
