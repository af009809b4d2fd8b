// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/couplet/judge.h"

#include "prosody/couplet/rhythm.h"
#include "prosody/couplet/shortlists.h"

#include <QHash>

#include <algorithm>

namespace prosody {

namespace {

QString textOf(const QList<char32_t> &chars)
{
    return QString::fromUcs4(chars.constData(), chars.size());
}

// The evidence a couplet needs, for each of its characters.
constexpr double kParallelEvidence = 0.25;

struct Reading {
    QList<CoupletUnit> units;
    double evidence = 0;
    int known = 0; // units of two or more characters the classics know as words
};

} // namespace

Couplet judgeCouplet(const QList<char32_t> &upper, const QList<char32_t> &lower, const PairSource &pairs)
{
    Couplet best;
    if (upper.size() != lower.size() || upper.isEmpty())
        return best;
    const QString lines = textOf(upper) + u'|' + textOf(lower);
    if (std::optional<Couplet> known = pairs.remembered(lines))
        return *known;
    // The cuts share most of their units: each is judged once.
    QHash<Span, UnitJudgement> judged;
    const auto unitAt = [&](const Span &s) {
        const auto found = judged.constFind(s);
        if (found != judged.constEnd())
            return found.value();
        return judged.insert(s, judgeUnit(upper.mid(s.from, s.length), lower.mid(s.from, s.length), pairs))
            .value();
    };
    Reading chosen;
    bool first = true;
    for (const QList<Span> &cut : unitReadings(int(upper.size()))) {
        Reading r;
        for (const Span &s : cut) {
            const UnitJudgement j = unitAt(s);
            const QString a = textOf(upper.mid(s.from, s.length)), b = textOf(lower.mid(s.from, s.length));
            r.units.append({s.from, s.length, a, b, j.judgement, j.count});
            r.evidence += j.evidence;
            if (s.length > 1)
                r.known += (pairs.unitCount(a) > 0) + (pairs.unitCount(b) > 0);
        }
        if (first || std::pair(r.evidence, r.known) > std::pair(chosen.evidence, chosen.known))
            chosen = r;
        first = false;
    }
    best.units = chosen.units;
    best.evidence = chosen.evidence / double(upper.size());
    // Two lines that run on as one sentence (为报空潭橘，无媒寄洛桥) are parallel only on twice the evidence.
    const bool runsOn = opensOneSentence(upper) && !opensOneSentence(lower);
    best.parallel = best.evidence >= (runsOn ? 2 : 1) * kParallelEvidence;
    for (qsizetype i = 0; i < upper.size(); ++i)
        if (upper.at(i) == lower.at(i))
            best.sameChar.append(int(i));
    // 合掌: nearly every unit says the same as its partner.
    int alike = 0;
    for (const CoupletUnit &u : best.units) {
        bool same = true;
        for (int i = u.from; i < u.from + u.length && same; ++i)
            same = isNearSynonym(upper.at(i), lower.at(i));
        alike += same;
    }
    best.alike = alike >= std::max(2, int(best.units.size()) - 1);
    pairs.remember(lines, best);
    return best;
}

Couplet judgeWrittenCouplet(const QList<char32_t> &upper, const QList<char32_t> &lower,
                            const Variants &variants, const PairSource &pairs)
{
    Couplet c = judgeCouplet(variants.standard(upper), variants.standard(lower), pairs);
    for (CoupletUnit &u : c.units) {
        u.upper = textOf(upper.mid(u.from, u.length));
        u.lower = textOf(lower.mid(u.from, u.length));
    }
    return c;
}

} // namespace prosody
