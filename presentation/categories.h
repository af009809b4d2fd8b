// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The five categories of works, in list order, each paired one to one with its mark (column 标记).
namespace categories {

struct Pair {
    QString category;
    QString mark;
};

// Marks by code point: several have look-alikes (U+00A3 £, U+00A2 ¢) that must not match.
inline const std::array<Pair, 5> table = {{
    {QStringLiteral("甲类"), QStringLiteral(u"\u300E\u300F")}, // 『』 white corner brackets
    {QStringLiteral("乙类"), QStringLiteral(u"\uFFE1")},       // ￡ full-width pound sign
    {QStringLiteral("丙类"), QStringLiteral(u"\u00A7")},       // § section sign
    {QStringLiteral("丁类"), QStringLiteral(u"\uFFE0")},       // ￠ full-width cent sign
    {QStringLiteral("戊类"), QStringLiteral(u"\u203B")},       // ※ reference mark
}};

// The selector's text at start: the default query, which lists 甲类. It is not one of the items.
inline const QString defaultQuery = QStringLiteral("-默认方式查询-");

QStringList categoryTexts();
QStringList markTexts();
// Exact text comparison in table order; no partner for any other text.
std::optional<QString> markOf(const QString &category);
std::optional<QString> categoryOf(const QString &mark);

} // namespace categories
