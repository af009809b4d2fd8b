#pragma once

#include <QString>
#include <QStringList>

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

// 邻韵(书, 部, 邻部): groups a first line may borrow from (孤雁出群), each pair in both orders.
inline const QString tableNeighbours = QStringLiteral("邻韵");

inline const QString basisModern = QStringLiteral("今读");
inline const QString basisCantonese = QStringLiteral("粤音入声");

// CREATE statements of a fresh file, indexes last.
QStringList createStatements();

} // namespace rhymebookschema
