// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Names of the five tables and their columns, and the DDL of a fresh database.
namespace schema {

inline const QString tablePsy = QStringLiteral("平舌音");
inline const QString tableJsy = QStringLiteral("卷舌音");
inline const QString tableWorks = QStringLiteral("作品");
inline const QString tableWords = QStringLiteral("词组");
inline const QString tableIdioms = QStringLiteral("成语");

// Columns of both rhyme tables.
inline const QString colFinal = QStringLiteral("韵母");
inline const QString colSyllable = QStringLiteral("音节");
inline const QString colTone = QStringLiteral("声调");
inline const QString colCommon = QStringLiteral("简易");
inline const QString colRare = QStringLiteral("繁杂");

// Columns of 作品.
inline const QString colTitle = QStringLiteral("标题");
inline const QString colCategory = QStringLiteral("类别");
inline const QString colMark = QStringLiteral("标记");
inline const QString colCount = QStringLiteral("数量");
inline const QString colAuthor = QStringLiteral("作者");
inline const QString colSource = QStringLiteral("出处");
inline const QString colUrl = QStringLiteral("网址");
inline const QString colDate = QStringLiteral("日期");
inline const QString colRemarks = QStringLiteral("备注");
inline const QString colContent = QStringLiteral("内容");

// Columns of 词组 and 成语 (the key column carries the table's name).
inline const QString colWord = QStringLiteral("词组");
inline const QString colIdiom = QStringLiteral("成语");
inline const QString colMeaning = QStringLiteral("含义");

// The title of the single draft row in 作品, and the category it carries so that it never
// shows in a category list.
inline const QString draftTitle = QStringLiteral("草稿");
inline const QString draftCategory = QStringLiteral("草稿");

// The five tables, and the columns of one of them (none for any other name).
QStringList tables();
QStringList columnsOf(const QString &table);

// How a column's text is read and written.
enum class ColumnKind { Text, Integer, Date };
ColumnKind columnKind(const QString &table, const QString &column);

// CREATE TABLE and CREATE INDEX statements of a fresh database, in order, for the SQLite engine.
QStringList createStatements();

// The statement that inserts the draft row.
QString insertDraftStatement();

} // namespace schema
