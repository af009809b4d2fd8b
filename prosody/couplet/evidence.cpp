// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/couplet/evidence.h"

#include "prosody/couplet/shortlists.h"

#include <algorithm>

namespace prosody {

namespace {

QString textOf(const QList<char32_t> &chars)
{
    return QString::fromUcs4(chars.constData(), chars.size());
}

// ln(observed ÷ expected) from which two groups stand against each other, and below which they
// seldom do.
constexpr double kGroupsPair = 0.5;
constexpr double kGroupsApart = -1.0;
// Two characters this common (their expected count) that the classics never set against each other
// are not a pair, the more surely the commoner they are: by chance they would be missing with
// probability e^-expected, so the evidence against is full from an expected count of two (one time
// in seven by chance).
constexpr double kContraryExpected = 0.5;
constexpr double kSurelyContrary = 2.0;

double characterEvidence(char32_t a, char32_t b, const PairSource &pairs)
{
    if (a == b)
        return -1;
    if (!sharedList(a, b).isEmpty())
        return 1;
    const QString x = QString::fromUcs4(&a, 1), y = QString::fromUcs4(&b, 1);
    const int count = pairs.pairCount(x, y);
    const qint64 all = pairs.characterCount();
    const double expected = all > 0 ? double(pairs.unitCount(x)) * pairs.unitCount(y) / double(all) : 0;
    if (count >= 2 && count > 2 * expected && 2 * count >= pairs.outerCount(x, y))
        return 1;
    if (count > 0)
        return count > expected ? 0.5 : 0;
    if (expected >= kContraryExpected)
        return -std::min(1.0, expected / kSurelyContrary);
    const int gx = pairs.groupOf(x), gy = pairs.groupOf(y);
    if (gx > 0 && gy > 0) {
        const double affinity = pairs.groupAffinity(gx, gy);
        if (affinity >= kGroupsPair)
            return 0.25;
        if (affinity <= kGroupsApart)
            return -0.5;
    }
    return 0;
}

// A 并列 word: two characters the classics set against each other well beyond chance, or of one short
// list (天地, 吴楚, 东南). A mere count would take 何处 and 使人 for such words: 人 and 处 stand
// against nearly everything.
bool isCoordinate(const QList<char32_t> &unit, const PairSource &pairs)
{
    return unit.size() == 2 && characterEvidence(unit.at(0), unit.at(1), pairs) >= 1;
}

bool groupsPair(const QList<char32_t> &a, const QList<char32_t> &b, const PairSource &pairs)
{
    const int ga = pairs.groupOf(textOf(a)), gb = pairs.groupOf(textOf(b));
    return ga > 0 && gb > 0 && pairs.groupAffinity(ga, gb) >= kGroupsPair;
}

} // namespace

UnitJudgement judgeUnit(const QList<char32_t> &upper, const QList<char32_t> &lower, const PairSource &pairs)
{
    const qsizetype n = upper.size();
    if (n == 0 || n != lower.size())
        return {};
    if (upper == lower)
        return {Parallel::None, 0, -double(n)};
    if (n == 1) {
        const double e = characterEvidence(upper.first(), lower.first(), pairs);
        const int count = pairs.pairCount(textOf(upper), textOf(lower));
        return {e >= 1 ? Parallel::Strict : e > 0 ? Parallel::Loose : Parallel::None, count, e};
    }
    if (const int count = pairs.pairCount(textOf(upper), textOf(lower)); count > 0)
        return {Parallel::Strict, count, double(n)};
    if (isReduplicated(upper) && isReduplicated(lower))
        return {Parallel::Strict, 0, double(n)};
    const bool kindred = n == 2 && (groupsPair(upper, lower, pairs) ||
                                    (isCoordinate(upper, pairs) && isCoordinate(lower, pairs)));
    double evidence = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double e = characterEvidence(upper.at(i), lower.at(i), pairs);
        evidence += kindred ? std::max(e, 0.25) : e;
    }
    const Parallel judgement = evidence >= 0.75 * double(n) ? Parallel::Strict
                               : evidence > 0               ? Parallel::Loose
                                                            : Parallel::None;
    return {judgement, 0, evidence};
}

} // namespace prosody
