#include "prosody/couplet/judge.h"

#include "prosody/couplet/rhythm.h"
#include "prosody/couplet/shortlists.h"

#include <algorithm>

namespace prosody {

namespace {

QString textOf(const QList<char32_t> &chars)
{
    return QString::fromUcs4(chars.constData(), chars.size());
}

// Two characters the classics set against each other this often stand for opposites (天 and 地): a
// word made of such a pair is a 反义连用.
constexpr int kOppositeCount = 3;

bool pairsOpposites(const QList<char32_t> &unit, const PairSource &pairs)
{
    if (unit.size() != 2 || unit.at(0) == unit.at(1))
        return false;
    return !sharedList(unit.at(0), unit.at(1)).isEmpty() ||
           pairs.pairCount(textOf(unit.mid(0, 1)), textOf(unit.mid(1, 1))) >= kOppositeCount;
}

// A word of two characters of one kind (衣裳, 吴楚) or of opposites (乾坤): 并列 words stand against
// each other whatever their kind.
bool isCoordinate(const QList<char32_t> &unit, const PairSource &pairs)
{
    if (pairsOpposites(unit, pairs))
        return true;
    if (unit.size() != 2 || unit.at(0) == unit.at(1))
        return false;
    const int group = pairs.groupOf(textOf(unit.mid(0, 1)));
    return group > 0 && group == pairs.groupOf(textOf(unit.mid(1, 1)));
}

Parallel byGroup(const QList<char32_t> &a, const QList<char32_t> &b, const PairSource &pairs)
{
    const int group = pairs.groupOf(textOf(a));
    return group > 0 && group == pairs.groupOf(textOf(b)) ? Parallel::Loose : Parallel::None;
}

} // namespace

UnitJudgement judgeUnit(const QList<char32_t> &upper, const QList<char32_t> &lower, const PairSource &pairs)
{
    if (upper == lower || upper.size() != lower.size() || upper.isEmpty())
        return {};
    const int count = pairs.pairCount(textOf(upper), textOf(lower));
    if (count > 0)
        return {Parallel::Strict, count};
    if (upper.size() == 1) {
        if (!sharedList(upper.first(), lower.first()).isEmpty())
            return {Parallel::Strict, 0};
        return {byGroup(upper, lower, pairs), 0};
    }
    if ((isReduplicated(upper) && isReduplicated(lower)) ||
        (pairsOpposites(upper, pairs) && pairsOpposites(lower, pairs)))
        return {Parallel::Strict, 0};
    int strict = 0, loose = 0, repeats = 0;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        repeats += upper.at(i) == lower.at(i);
        switch (judgeUnit(upper.mid(i, 1), lower.mid(i, 1), pairs).judgement) {
        case Parallel::Strict:
            ++strict;
            break;
        case Parallel::Loose:
            ++loose;
            break;
        case Parallel::None:
            break;
        }
    }
    const qsizetype n = upper.size();
    if (strict == n)
        return {Parallel::Strict, 0};
    if (byGroup(upper, lower, pairs) == Parallel::Loose || strict + loose == n ||
        (strict > 0 && repeats == 0) || (isCoordinate(upper, pairs) && isCoordinate(lower, pairs)))
        return {Parallel::Loose, 0};
    return {};
}

Couplet judgeCouplet(const QList<char32_t> &upper, const QList<char32_t> &lower, const PairSource &pairs)
{
    Couplet best;
    if (upper.size() != lower.size() || upper.isEmpty())
        return best;
    const QString lines = textOf(upper) + u'|' + textOf(lower);
    if (std::optional<Couplet> known = pairs.remembered(lines))
        return *known;
    // The reading with the fewest units 未对, then the most 工对 and 宽对; the usual one on a tie.
    const auto key = [](const Couplet &c) {
        return std::pair(-c.count(Parallel::None), 2 * c.count(Parallel::Strict) + c.count(Parallel::Loose));
    };
    bool first = true;
    for (const QList<Span> &reading : unitReadings(int(upper.size()))) {
        Couplet c;
        for (const Span &s : reading) {
            const QList<char32_t> a = upper.mid(s.from, s.length), b = lower.mid(s.from, s.length);
            const UnitJudgement j = judgeUnit(a, b, pairs);
            c.units.append({s.from, s.length, textOf(a), textOf(b), j.judgement, j.count});
        }
        if (first || key(c) > key(best))
            best = c;
        first = false;
    }
    for (qsizetype i = 0; i < upper.size(); ++i)
        if (upper.at(i) == lower.at(i))
            best.sameChar.append(int(i));
    const int units = int(best.units.size());
    const int none = best.count(Parallel::None);
    // One unit may go without a 对 when another is 工对: poets pair a line loosely here and there, and the
    // middle couplets of 唐诗三百首 pass at about nine in ten this way (docs/DUIZHANG.md).
    best.parallel = none == 0 || (none == 1 && best.count(Parallel::Strict) >= 1);
    // 合掌: nearly every unit says the same as its partner.
    int alike = 0;
    for (const CoupletUnit &u : best.units) {
        bool same = true;
        for (int i = u.from; i < u.from + u.length && same; ++i)
            same = isNearSynonym(upper.at(i), lower.at(i));
        alike += same;
    }
    best.alike = alike >= std::max(2, units - 1);
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
