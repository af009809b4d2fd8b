// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/couplet/regulated.h"

#include "prosody/couplet/judge.h"

namespace prosody {

namespace {

// The couplets of a 律诗 or an 排律, written or still to write (a poem in progress counts the lines its
// form still wants); 0 for other poems.
int coupletsOfForm(const PoemCheck &check)
{
    if (check.isCi())
        return 0;
    if (!check.form.endsWith(QStringLiteral("律诗")) && !check.form.endsWith(QStringLiteral("排律")))
        return 0;
    const qsizetype lines = check.lines.size() + check.pending.size();
    return lines >= 8 && lines % 2 == 0 ? int(lines / 2) : 0;
}

QString quoted(const QStringList &texts)
{
    return u'「' + texts.join(QStringLiteral("」「")) + u'」';
}

} // namespace

QString coupletName(int index, int couplets)
{
    if (index == 0)
        return QStringLiteral("首联");
    if (index == couplets - 1)
        return QStringLiteral("尾联");
    if (couplets == 4)
        return index == 1 ? QStringLiteral("颔联") : QStringLiteral("颈联");
    return QStringLiteral("第%1联").arg(chineseNumeral(index + 1));
}

void addCoupletFindings(PoemCheck &check, const Couplet &c)
{
    const int lower = c.lowerLine + 1, upper = c.upperLine + 1;
    if (!c.middle && !c.parallel)
        return; // an outer couplet need not be parallel: nothing to say
    if (!c.middle) {
        check.findings.append({lower, 0, QString(), FindingKind::Parallel, Severity::Accepted,
                               QStringLiteral("%1对仗：工对%2处，宽对%3处")
                                   .arg(c.name)
                                   .arg(c.count(Parallel::Strict))
                                   .arg(c.count(Parallel::Loose))});
    } else if (!c.parallel) {
        // The units that fail it: those 未对, else (when only a 同字 is 未对) that, else the 宽 ones whose
        // evidence did not come to enough.
        const auto listed = [&](Parallel p) {
            QStringList uppers, lowers;
            for (const CoupletUnit &u : c.units)
                if (u.judgement == p && u.upper != u.lower)
                    uppers << u.upper, lowers << u.lower;
            return std::pair(uppers, lowers);
        };
        const auto [uppers, lowers] = listed(Parallel::None);
        const auto [looseUppers, looseLowers] = listed(Parallel::Loose);
        const QString what =
            !uppers.isEmpty() ? QStringLiteral("%1对%2少有先例").arg(quoted(uppers), quoted(lowers))
            : !c.sameChar.isEmpty()
                ? QStringLiteral("同字相对")
                : QStringLiteral("%1对%2只是宽对，依据不足").arg(quoted(looseUppers), quoted(looseLowers));
        check.findings.append({lower, 0, QString(), FindingKind::Parallel, Severity::Warning,
                               QStringLiteral("%1未成对仗：%2").arg(c.name, what)});
    }
    for (int pos : c.sameChar) {
        const QString ch = check.lines.at(c.lowerLine).line.text(pos, 1);
        check.findings.append({lower, pos + 1, ch, FindingKind::SameChar, Severity::Warning,
                               QStringLiteral("%1同字相对：第%2句与第%3句第%4字都是「%5」")
                                   .arg(c.name)
                                   .arg(upper)
                                   .arg(lower)
                                   .arg(pos + 1)
                                   .arg(ch)});
    }
    if (c.alike)
        check.findings.append({lower, 0, QString(), FindingKind::Alike, Severity::Warning,
                               QStringLiteral("%1合掌：上下句意思相同（「%2」与「%3」）")
                                   .arg(c.name, check.lines.at(c.upperLine).line.text(),
                                        check.lines.at(c.lowerLine).line.text())});
}

void judgeCouplets(PoemCheck &check, const Variants &variants, const PairSource &pairs)
{
    const int couplets = coupletsOfForm(check);
    for (int k = 0; k < couplets && 2 * k + 1 < check.lines.size(); ++k) {
        const QList<char32_t> &upper = check.lines.at(2 * k).line.chars,
                              &lower = check.lines.at(2 * k + 1).line.chars;
        // A couplet whose lower line is still being typed, or with a line of another length, waits until
        // its lines are of one length; the others are judged as they are written.
        if (upper.size() != lower.size())
            continue;
        Couplet c = judgeWrittenCouplet(upper, lower, variants, pairs);
        c.upperLine = 2 * k;
        c.lowerLine = 2 * k + 1;
        c.name = coupletName(k, couplets);
        c.middle = k > 0 && k < couplets - 1;
        addCoupletFindings(check, c);
        check.couplets.append(c);
    }
    check.sortFindings();
}

} // namespace prosody
