// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/couplet/couplet.h"

#include <algorithm>

namespace prosody {

QString parallelName(Parallel p)
{
    switch (p) {
    case Parallel::Strict:
        return QStringLiteral("工对");
    case Parallel::Loose:
        return QStringLiteral("宽对");
    case Parallel::None:
        break;
    }
    return QStringLiteral("未对");
}

QString parallelMark(Parallel p)
{
    switch (p) {
    case Parallel::Strict:
        return QStringLiteral("工");
    case Parallel::Loose:
        return QStringLiteral("宽");
    case Parallel::None:
        break;
    }
    return QStringLiteral("未对");
}

QString chineseNumeral(int n)
{
    static const QString digits = QStringLiteral("一二三四五六七八九");
    if (n <= 0 || n > 99)
        return QString::number(n);
    const int tens = n / 10, ones = n % 10;
    if (tens == 0)
        return digits.at(ones - 1);
    return (tens > 1 ? QString(digits.at(tens - 1)) : QString()) + u'十' +
           (ones ? QString(digits.at(ones - 1)) : QString());
}

int Couplet::count(Parallel p) const
{
    return int(
        std::count_if(units.begin(), units.end(), [&](const CoupletUnit &u) { return u.judgement == p; }));
}

} // namespace prosody
