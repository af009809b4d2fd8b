// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/linetypes.h"

#include <tuple>

namespace prosody {

namespace {

// Mismatches of a line against a type at the fixed positions before the last.
int misfit(const ShiPoem &poem, int l, LineType type)
{
    const int n = poem.length();
    const QString t = templateOf(type, n);
    int score = 0;
    for (int p : fixedPositions(n))
        score += p < n && isDefinite(poem.cls(l, p)) && poem.cls(l, p) != classOfTemplate(t.at(p - 1));
    return score;
}

// How many of the line's relations a type's second character keeps: opposite to the partner in its
// couplet (对), equal to the last line of the couplet before (粘) and to the first of the next one.
int kept(const ShiPoem &poem, int l, LineType type)
{
    const ToneClass second = classOfTemplate(templateOf(type, poem.length()).at(1));
    const auto same = [&](int other) {
        return isDefinite(poem.cls(other, 2)) && poem.cls(other, 2) == second;
    };
    const auto opposite = [&](int other) {
        return isDefinite(poem.cls(other, 2)) && poem.cls(other, 2) != second;
    };
    const int partner = l % 2 == 0 ? l + 1 : l - 1;
    int score = partner < poem.lineCount() && opposite(partner);
    if (l % 2 == 0 && l > 0)
        score += same(l - 1);
    if (l % 2 == 1 && l + 1 < poem.lineCount())
        score += same(l + 1);
    return score;
}

} // namespace

void chooseLineTypes(ShiPoem &poem)
{
    const int n = poem.length();
    const ToneClass last = poem.hasEnd(0) ? poem.endClass(0) : ToneClass::Unknown;
    const bool firstRhymed =
        last == ToneClass::Ping || (last == ToneClass::Both && poem.group >= 0 &&
                                    (poem.inGroup(0, poem.group, true) || poem.inNeighbour(0)));
    for (int l = 0; l < poem.lineCount(); ++l) {
        const bool rhymed = l % 2 == 1 || (l == 0 && firstRhymed);
        const LineType options[2] = {rhymed ? LineType::B : LineType::A, rhymed ? LineType::D : LineType::C};
        const auto rank = [&](LineType t) {
            const bool own =
                isDefinite(poem.cls(l, 2)) && poem.cls(l, 2) == classOfTemplate(templateOf(t, n).at(1));
            return std::tuple(misfit(poem, l, t), -kept(poem, l, t), own ? 0 : 1);
        };
        poem.types.append(rank(options[1]) < rank(options[0]) ? options[1] : options[0]);
    }
    const QList<int> fixed = fixedPositions(n);
    for (int l = 0; l < poem.lineCount(); ++l) {
        QString pattern = templateOf(poem.types.at(l), n);
        for (int p = 1; p <= n; ++p)
            if (!fixed.contains(p))
                pattern[p - 1] = u'中';
        poem.out().lines[l].pattern = pattern;
        poem.out().lines[l].rhymed = isRhymedType(poem.types.at(l));
    }
    const Variant variant{templateOf(poem.types.first(), n).at(1) == u'平', firstRhymed};
    poem.out().variant = variant.name();
}

} // namespace prosody
