// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/classicsschema.h"

namespace classicsschema {

QStringList createStatements()
{
    return {
        QStringLiteral("CREATE TABLE 版本 (键 TEXT PRIMARY KEY, 值 TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE 概况 (项 TEXT PRIMARY KEY, 值 INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE 诗 (编号 INTEGER PRIMARY KEY, 题 TEXT NOT NULL, 作者 TEXT NOT NULL, "
                       "朝代 TEXT NOT NULL, 体 TEXT NOT NULL, 出处 TEXT NOT NULL, 注 TEXT NOT NULL, "
                       "首句 INTEGER NOT NULL, 句数 INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE 句 (编号 INTEGER PRIMARY KEY, 诗 INTEGER NOT NULL, 文 TEXT NOT NULL)"),
        // Positions are kept (detail=full) for phrases; the sizes of the rows are not needed.
        QStringLiteral("CREATE VIRTUAL TABLE 句索引 USING fts5(文, content='', columnsize=0, detail=full)"),
        QStringLiteral("CREATE TABLE 朝代 (序 INTEGER PRIMARY KEY, 名 TEXT NOT NULL UNIQUE)"),
        QStringLiteral(
            "CREATE TABLE 朝代段 (起 INTEGER PRIMARY KEY, 止 INTEGER NOT NULL, 朝代 TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE 字频 (字 TEXT NOT NULL, 朝代 TEXT NOT NULL, 句数 INTEGER NOT NULL, "
                       "PRIMARY KEY (字, 朝代)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 韵脚 (书 TEXT NOT NULL, 部 TEXT NOT NULL, 字 TEXT NOT NULL, "
                       "次数 INTEGER NOT NULL, PRIMARY KEY (书, 部, 字)) WITHOUT ROWID"),
        QStringLiteral(
            "CREATE TABLE 对语 (编号 INTEGER PRIMARY KEY, 文 TEXT NOT NULL, 次数 INTEGER NOT NULL, "
            "类 INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE 对仗 (甲 INTEGER NOT NULL, 乙 INTEGER NOT NULL, 次数 INTEGER NOT NULL, "
                       "分 INTEGER NOT NULL, 外 INTEGER NOT NULL, 例 INTEGER NOT NULL, PRIMARY KEY (甲, 乙)) "
                       "WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 类对 (甲 INTEGER NOT NULL, 乙 INTEGER NOT NULL, 分 INTEGER NOT NULL, "
                       "PRIMARY KEY (甲, 乙)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 联 (编号 INTEGER PRIMARY KEY, 诗 INTEGER NOT NULL, 位 TEXT NOT NULL, "
                       "上 TEXT NOT NULL, 下 TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE 异体 (字 TEXT PRIMARY KEY, 正字 TEXT NOT NULL) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 续字 (键 INTEGER PRIMARY KEY, 续 BLOB NOT NULL)"),
        QStringLiteral("CREATE INDEX 韵脚_字 ON 韵脚 (字)"),
        QStringLiteral("CREATE INDEX 对语_文 ON 对语 (文)"),
    };
}

} // namespace classicsschema
