// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/coupletrows.h"

using namespace prosody;

namespace {

QString tipOf(const Couplet &c, const CoupletUnit &u)
{
    QString tip =
        QStringLiteral("%1：「%2」对「%3」　%4").arg(c.name, u.upper, u.lower, parallelName(u.judgement));
    if (u.count > 0)
        tip += QStringLiteral("\n古人中间两联这样相对 %1 次").arg(u.count);
    else if (u.judgement == Parallel::Strict)
        tip += QStringLiteral("\n同属一类（数目、颜色、方位……）或每字皆工");
    else if (u.judgement == Parallel::Loose)
        tip += QStringLiteral("\n古人未这样相对，但两者常与同样的词相对");
    else
        tip += QStringLiteral("\n古人未有先例");
    return tip;
}

} // namespace

std::optional<CoupletMarks> coupletMarks(const PoemCheck &check, int line)
{
    for (const Couplet &c : check.couplets) {
        if (c.lowerLine != line || !c.middle)
            continue;
        CoupletMarks marks;
        marks.summary =
            c.parallel ? QStringLiteral("%1对仗").arg(c.name) : QStringLiteral("%1未成对仗").arg(c.name);
        marks.parallel = c.parallel;
        for (const CoupletUnit &u : c.units) {
            marks.units.append({u.from, u.length, parallelMark(u.judgement), u.judgement});
            for (int i = 0; i < u.length; ++i)
                marks.tips.append(tipOf(c, u));
        }
        return marks;
    }
    return std::nullopt;
}
