// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/ci/align.h"

#include "prosody/ci/evidence.h"

#include <QVarLengthArray>

#include <cmath>
#include <limits>

namespace prosody {

namespace {

// A regrouping takes kRegroup lines or fewer on either side: Regroup + 4 * (a - 1) + (b - 1) for a lines of
// the poem standing for b of the form.
constexpr int kRegroup = kRegroupLines;
enum Step : quint8 { None, Match, Near, Wrong, Miss, Extra, Regroup };
using Lengths = QVarLengthArray<int, 64>;
using Costs = QVarLengthArray<AlignmentCost, 1024>;
constexpr AlignmentCost kUnreached{std::numeric_limits<int>::max() / 2, 0, 0};

struct FormShape {
    Lengths lengths;
    QVarLengthArray<bool, 64> rhymed;
};

FormShape shapeOf(const CiForm &form)
{
    FormShape out;
    for (const CiLine &l : form.lines) {
        out.lengths.append(l.length());
        out.rhymed.append(l.rhymeRun != 0);
    }
    return out;
}

// How badly a stretch of the line sits on the form: positions checked written the other way.
int misfit(const CiLine &line, int formOffset, const QList<ToneClass> &tones, int lineOffset, int length)
{
    int out = 0;
    for (int k = 0; k < length; ++k) {
        const CiPosition &p = line.positions[formOffset + k];
        const ToneClass have = tones[lineOffset + k];
        if (p.strictness != Strictness::Free && isDefinite(have) && have != p.tone)
            out += p.strictness == Strictness::Fault ? 2 : 1;
    }
    return out;
}

// The cheapest edit from the poem's line lengths to the form's: a line for a line (one fault when
// the lengths differ, however much), one line for two of the form, two for one, or two for two broken
// elsewhere (多情应笑我，早生华发 for 多情应笑，我早生华发) where the lengths add up and no rhyme of
// the form falls inside a line of the poem (loose but no fault), a line missing or one too many (a
// fault). The poem may stop anywhere: the form's lines after its last are not yet written.
AlignmentCost fillCosts(const QList<int> &poem, const FormShape &f, Costs &cost,
                        QVarLengthArray<Step, 1024> *steps, int *end, const CiForm *form = nullptr,
                        const Classes *classes = nullptr, int limit = kUnreached.faults)
{
    const int m = int(poem.size()), n = int(f.lengths.size());
    const int width = n + 1;
    cost.resize((m + 1) * width);
    std::fill(cost.begin(), cost.end(), kUnreached);
    if (steps) {
        steps->resize((m + 1) * width);
        std::fill(steps->begin(), steps->end(), None);
    }
    cost[0] = {};
    const auto relax = [&](int i, int j, AlignmentCost c, int faults, int looseness, Step s, int misfit = 0) {
        const AlignmentCost next{c.faults + faults, 0, c.looseness + looseness, c.misfit + misfit};
        if (next < cost[i * width + j]) {
            cost[i * width + j] = next;
            if (steps)
                (*steps)[i * width + j] = s;
        }
    };
    const auto &len = f.lengths;
    for (int i = 0; i <= m; ++i) {
        // Every fit enters rows i … i + kRegroup - 1 from above and its faults only grow: past the limit
        // in all of them, no fit is within it.
        if (limit < kUnreached.faults) {
            int fewest = kUnreached.faults;
            for (int k = i * width; k < std::min(m + 1, i + kRegroup) * width; ++k)
                fewest = std::min(fewest, cost[k].faults);
            if (fewest > limit)
                return kUnreached;
        }
        for (int j = 0; j <= n; ++j) {
            const AlignmentCost c = cost[i * width + j];
            if (c.faults >= kUnreached.faults)
                continue;
            if (i < m && j < n) {
                const int diff = std::abs(poem[i] - len[j]);
                const int fit =
                    diff == 0 && classes ? misfit(form->lines[j], 0, (*classes)[i], 0, poem[i]) : 0;
                relax(i + 1, j + 1, c, diff ? 1 : 0, diff, diff == 0 ? Match : diff == 1 ? Near : Wrong, fit);
            }
            // a lines of the poem for b of the form, the characters adding up and no rhyme of the form
            // inside: 浪淘尽千古风流人物 for 浪淘尽、千古风流人物, 多情应笑我，早生华发 for
            // 多情应笑，我早生华发.
            int poemSum = 0;
            for (int x = 1; x <= kRegroup && i + x <= m; ++x) {
                poemSum += poem[i + x - 1];
                int formSum = 0;
                for (int y = 1; y <= kRegroup && j + y <= n; ++y) {
                    formSum += len[j + y - 1];
                    if (y > 1 && f.rhymed[j + y - 2])
                        break;
                    if ((x > 1 || y > 1) && poemSum == formSum && (x != 1 || y != 1))
                        relax(i + x, j + y, c, 0, 1, Step(Regroup + 4 * (x - 1) + (y - 1)));
                }
            }
            if (j < n && i < m)
                relax(i, j + 1, c, 1, len[j] + 1, Miss);
            if (i < m)
                relax(i + 1, j, c, 1, poem[i], Extra);
        }
    }
    AlignmentCost best = kUnreached;
    for (int j = 0; j <= n; ++j) {
        AlignmentCost c = cost[m * width + j];
        if (c.faults >= kUnreached.faults)
            continue;
        c.unwritten = n - j;
        if (c < best) {
            best = c;
            if (end)
                *end = j;
        }
    }
    return best;
}

// A line one character short (少一字) or long (多一字) of its form line: the gap or the extra character
// where the rest fits the form best, the latest place on a tie, never after a rhyme.
void placeNear(CiAlignment &a, int i, int j, int length, const Classes *classes)
{
    const CiLine &line = a.form->lines[j];
    const int formLength = line.length();
    const bool shorter = length < formLength;
    // A rhymed line keeps its last character, the rhyme, on the form line's last position.
    const int keep = line.rhymeRun != 0 ? 1 : 0;
    int best = std::max(0, (shorter ? formLength - 1 : length - 1) - keep);
    int bestMisfit = std::numeric_limits<int>::max();
    if (classes) {
        for (int at = best; at >= 0; --at) {
            const int after = shorter ? formLength - 1 - at : formLength - at;
            const int fit = misfit(line, 0, (*classes)[i], 0, at) +
                            (shorter ? misfit(line, at + 1, (*classes)[i], at, after)
                                     : misfit(line, at, (*classes)[i], at + 1, after));
            if (fit < bestMisfit)
                best = at, bestMisfit = fit;
        }
    }
    QList<CiAlignment::Piece> pieces;
    if (best > 0)
        pieces.append({j, 0, 0, best});
    if (shorter) {
        a.missingChar[i] = best;
        if (formLength - 1 - best > 0)
            pieces.append({j, best + 1, best, formLength - 1 - best});
    } else {
        a.extraChar[i] = best;
        if (formLength - best > 0)
            pieces.append({j, best, best + 1, formLength - best});
    }
    a.lines[i] = pieces;
}

} // namespace

AlignmentCost alignmentCost(const QList<int> &lengths, const CiForm &form, int limit)
{
    Costs table;
    return fillCosts(lengths, shapeOf(form), table, nullptr, nullptr, nullptr, nullptr, limit);
}

CiAlignment align(const QList<int> &poem, const CiForm &form, const Classes *classes)
{
    const FormShape shape = shapeOf(form);
    const Lengths &f = shape.lengths;
    const int m = int(poem.size()), n = int(f.size());
    const int width = n + 1;
    Costs cost;
    QVarLengthArray<Step, 1024> step;
    int end = n;
    const AlignmentCost total = fillCosts(poem, shape, cost, &step, &end, &form, classes);
    CiAlignment a;
    a.form = &form;
    a.lines.resize(m);
    a.wrongLength.resize(m, false);
    a.missingChar.resize(m, -1);
    a.extraChar.resize(m, -1);
    a.structureFaults = total.faults;
    a.looseness = total.looseness;
    a.unwrittenFrom = end;
    for (int i = m, j = end; i > 0 || j > 0;) {
        switch (step[i * width + j]) {
        case Match:
        case Wrong:
            --i, --j;
            a.lines[i] = {{j, 0, 0, std::min(poem[i], f[j])}};
            a.wrongLength[i] = poem[i] != f[j];
            break;
        case Near:
            --i, --j;
            placeNear(a, i, j, poem[i], classes);
            break;
        case Miss:
            --j;
            a.missing.prepend(j);
            break;
        case Extra:
        case None:
            --i;
            break;
        default: { // a regrouping: lay the poem's characters over the form's positions in order
            const int x = (step[i * width + j] - Regroup) / 4 + 1,
                      y = (step[i * width + j] - Regroup) % 4 + 1;
            i -= x, j -= y;
            int line = i, offset = 0, formLine = j, formOffset = 0;
            while (line < i + x && formLine < j + y) {
                const int length = std::min(poem[line] - offset, f[formLine] - formOffset);
                a.lines[line].append({formLine, formOffset, offset, length});
                offset += length, formOffset += length;
                if (offset == poem[line])
                    ++line, offset = 0;
                if (formOffset == f[formLine])
                    ++formLine, formOffset = 0;
            }
            break;
        }
        }
    }
    return a;
}

namespace {

// Over the positions the poem's lines are placed on, those where wrong(position, class) holds.
template <typename Wrong> int countPositions(const CiAlignment &a, const Classes &classes, Wrong wrong)
{
    int out = 0;
    for (qsizetype i = 0; i < a.lines.size(); ++i) {
        if (a.wrongLength[i])
            continue;
        for (const CiAlignment::Piece &p : a.lines[i]) {
            const CiLine &line = a.form->lines[p.formLine];
            for (int k = 0; k < p.length; ++k) {
                const ToneClass have = classes[i][p.lineOffset + k];
                out += isDefinite(have) && wrong(line.positions[p.formOffset + k], have);
            }
        }
    }
    return out;
}

} // namespace

int countToneFaults(const CiAlignment &a, const Classes &classes)
{
    return countPositions(a, classes, [](const CiPosition &p, ToneClass have) {
        return p.strictness == Strictness::Fault && have != p.tone;
    });
}

int surpriseOf(const CiAlignment &a, const Classes &classes)
{
    // The form's poems are its prior: a form written by hundreds is likelier than one written by two.
    double nats = -std::log(std::max(1, a.form->poems));
    // Where the book decides, its class stands for kBookVotes poems more.
    const int votes = a.form->fromBook() ? evidence::kBookVotes : 0;
    countPositions(a, classes, [&](const CiPosition &p, ToneClass have) {
        const int ping = p.ping + (p.book == ToneClass::Ping ? votes : 0);
        const int ze = p.ze + (p.book == ToneClass::Ze ? votes : 0);
        const double same = have == ToneClass::Ping ? ping : ze;
        nats -= std::log((same + 1) / (ping + ze + 2.0));
        return false;
    });
    return int(1000 * nats);
}

bool fitsWell(const CiAlignment &a)
{
    return 8 * a.structureFaults <= std::max(8, a.unwrittenFrom);
}

} // namespace prosody
