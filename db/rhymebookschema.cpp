// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/rhymebookschema.h"

#include <algorithm>

namespace rhymebookschema {

QStringList createStatements()
{
    return {
        QStringLiteral("CREATE TABLE 版本 (键 TEXT PRIMARY KEY, 值 TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE 韵部 (书 TEXT NOT NULL, 序 INTEGER NOT NULL, 部 TEXT NOT NULL, "
                       "声 TEXT NOT NULL, PRIMARY KEY (书, 部, 声))"),
        QStringLiteral("CREATE TABLE 韵字 (书 TEXT NOT NULL, 部 TEXT NOT NULL, 字 TEXT NOT NULL, "
                       "声 TEXT NOT NULL, 级 INTEGER NOT NULL, 次 INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE 无部字 (书 TEXT NOT NULL, 字 TEXT NOT NULL, 声 TEXT NOT NULL, "
                       "级 INTEGER NOT NULL, 据 TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE 读音 (字 TEXT NOT NULL, 序 INTEGER NOT NULL, 拼音 TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE 邻韵 (书 TEXT NOT NULL, 部 TEXT NOT NULL, 邻部 TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE 词音 (词 TEXT PRIMARY KEY, 拼音 TEXT NOT NULL) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 异体 (字 TEXT PRIMARY KEY, 正字 TEXT NOT NULL) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 兼体 (字 TEXT PRIMARY KEY, 正字 TEXT NOT NULL) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 词牌 (牌 TEXT PRIMARY KEY, 序 INTEGER NOT NULL, 首数 INTEGER NOT NULL, "
                       "入体 INTEGER NOT NULL, 谱名 TEXT NOT NULL DEFAULT '', 卷 INTEGER NOT NULL DEFAULT 0, "
                       "谱序 INTEGER NOT NULL DEFAULT 0, 源注 TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE 词牌名 (名 TEXT NOT NULL, 牌 TEXT NOT NULL, 首数 INTEGER NOT NULL, "
                       "据 TEXT NOT NULL, PRIMARY KEY (名, 牌))"),
        QStringLiteral(
            "CREATE TABLE 词体 (牌 TEXT NOT NULL, 体 INTEGER NOT NULL, 首数 INTEGER NOT NULL, "
            "结构 TEXT NOT NULL, 分片 INTEGER NOT NULL, 韵式 TEXT NOT NULL, 例 TEXT NOT NULL, "
            "家 INTEGER NOT NULL DEFAULT 0, 源 TEXT NOT NULL DEFAULT '词作', "
            "谱序 INTEGER NOT NULL DEFAULT 0, 作者 TEXT NOT NULL DEFAULT '', "
            "卷 INTEGER NOT NULL DEFAULT 0, 注 TEXT NOT NULL DEFAULT '', 谱例 TEXT NOT NULL DEFAULT '', "
            "可校 INTEGER NOT NULL DEFAULT 0, 分段 TEXT NOT NULL DEFAULT '', PRIMARY KEY (牌, 体))"),
        QStringLiteral("CREATE TABLE 通押 (部 TEXT NOT NULL, 邻部 TEXT NOT NULL, 首数 INTEGER NOT NULL, "
                       "部首数 INTEGER NOT NULL, PRIMARY KEY (部, 邻部))"),
        QStringLiteral(
            "CREATE TABLE 词句 (牌 TEXT NOT NULL, 体 INTEGER NOT NULL, 句 INTEGER NOT NULL, "
            "字数 INTEGER NOT NULL, 韵组 INTEGER NOT NULL, 韵声 TEXT NOT NULL, 押 INTEGER NOT NULL, "
            "位 BLOB NOT NULL DEFAULT x'', 读 TEXT NOT NULL DEFAULT '', 标 TEXT NOT NULL DEFAULT '', "
            "谱 TEXT NOT NULL DEFAULT '', PRIMARY KEY (牌, 体, 句)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 词位 (牌 TEXT NOT NULL, 体 INTEGER NOT NULL, 句 INTEGER NOT NULL, "
                       "字 INTEGER NOT NULL, 声 TEXT NOT NULL, 平 INTEGER NOT NULL, 仄 INTEGER NOT NULL, "
                       "两 INTEGER NOT NULL, 缺 INTEGER NOT NULL, 谱 TEXT NOT NULL DEFAULT '', "
                       "PRIMARY KEY (牌, 体, 句, 字)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE 词谱概况 (项 TEXT PRIMARY KEY, 数 INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX 韵字_字 ON 韵字 (字)"),
        QStringLiteral("CREATE INDEX 韵字_部 ON 韵字 (书, 部, 次)"),
        QStringLiteral("CREATE INDEX 读音_字 ON 读音 (字)"),
    };
}

QByteArray packPositions(const QList<PositionCounts> &positions)
{
    QByteArray out;
    out.reserve(8 * positions.size());
    for (const PositionCounts &p : positions)
        for (int n : {p.ping, p.ze, p.both, p.unknown}) {
            const auto v = quint16(std::clamp(n, 0, 0xFFFF));
            out.append(char(v & 0xFF)).append(char(v >> 8));
        }
    return out;
}

std::optional<QList<PositionCounts>> unpackPositions(QByteArrayView packed, int length)
{
    if (length <= 0 || packed.size() != 8 * qsizetype(length))
        return std::nullopt;
    const auto *b = reinterpret_cast<const uchar *>(packed.data());
    const auto at = [b](qsizetype i) { return int(b[2 * i] | (b[2 * i + 1] << 8)); };
    QList<PositionCounts> out;
    out.reserve(length);
    for (qsizetype i = 0; i < length; ++i)
        out.append({.ping = at(4 * i), .ze = at(4 * i + 1), .both = at(4 * i + 2), .unknown = at(4 * i + 3)});
    return out;
}

} // namespace rhymebookschema
