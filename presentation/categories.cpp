// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/categories.h"

namespace categories {

QStringList categoryTexts()
{
    QStringList out;
    for (const Pair &p : table)
        out << p.category;
    return out;
}

QStringList markTexts()
{
    QStringList out;
    for (const Pair &p : table)
        out << p.mark;
    return out;
}

std::optional<QString> markOf(const QString &category)
{
    for (const Pair &p : table)
        if (p.category == category)
            return p.mark;
    return std::nullopt;
}

std::optional<QString> categoryOf(const QString &mark)
{
    for (const Pair &p : table)
        if (p.mark == mark)
            return p.category;
    return std::nullopt;
}

} // namespace categories
