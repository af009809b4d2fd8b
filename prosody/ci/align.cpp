#include "prosody/ci/align.h"

#include <QVarLengthArray>

#include <limits>

namespace prosody {

namespace {

enum Step : quint8 { None, Match, Join, Split, Shift, Miss, Extra };
using Lengths = QVarLengthArray<int, 64>;
using Costs = QVarLengthArray<AlignmentCost, 1024>;
constexpr AlignmentCost kUnreached{std::numeric_limits<int>::max(), 0};

Lengths lengthsOf(const CiForm &form)
{
    Lengths out;
    for (const CiLine &l : form.lines)
        out.append(l.length());
    return out;
}

// The cheapest edit from the poem's line lengths to the form's: a line for a line (a fault when the
// lengths differ), one line for two of the form, two for one, or two for two broken elsewhere
// (多情应笑我，早生华发 for 多情应笑，我早生华发) where the lengths add up (loose but no fault), a line
// missing or one too many (a fault). Fills the table of costs and, when steps is given, of steps.
AlignmentCost fillCosts(const QList<int> &poem, const Lengths &f, Costs &cost,
                        QVarLengthArray<Step, 1024> *steps)
{
    const int m = int(poem.size()), n = int(f.size());
    const int width = n + 1;
    cost.resize((m + 1) * width);
    std::fill(cost.begin(), cost.end(), kUnreached);
    if (steps) {
        steps->resize((m + 1) * width);
        std::fill(steps->begin(), steps->end(), None);
    }
    cost[0] = {};
    const auto relax = [&](int i, int j, AlignmentCost c, Step s) {
        if (c < cost[i * width + j]) {
            cost[i * width + j] = c;
            if (steps)
                (*steps)[i * width + j] = s;
        }
    };
    const auto plus = [](AlignmentCost c, int faults, int looseness) {
        return AlignmentCost{c.faults + faults, c.looseness + looseness};
    };
    for (int i = 0; i <= m; ++i) {
        for (int j = 0; j <= n; ++j) {
            const AlignmentCost c = cost[i * width + j];
            if (c == kUnreached)
                continue;
            if (i < m && j < n)
                relax(i + 1, j + 1, poem[i] == f[j] ? c : plus(c, 1, std::abs(poem[i] - f[j])), Match);
            if (i < m && j + 1 < n && poem[i] == f[j] + f[j + 1])
                relax(i + 1, j + 2, plus(c, 0, 1), Join);
            if (i + 1 < m && j < n && poem[i] + poem[i + 1] == f[j])
                relax(i + 2, j + 1, plus(c, 0, 1), Split);
            if (i + 1 < m && j + 1 < n && poem[i] != f[j] && poem[i] + poem[i + 1] == f[j] + f[j + 1])
                relax(i + 2, j + 2, plus(c, 0, 1), Shift);
            // A 词 being written lacks its last lines: a line missing inside costs a little more.
            if (j < n)
                relax(i, j + 1, plus(c, 1, f[j] + (i < m ? 1 : 0)), Miss);
            if (i < m)
                relax(i + 1, j, plus(c, 1, poem[i]), Extra);
        }
    }
    return cost[m * width + n];
}

} // namespace

AlignmentCost alignmentCost(const QList<int> &lengths, const CiForm &form)
{
    Costs table;
    return fillCosts(lengths, lengthsOf(form), table, nullptr);
}

CiAlignment align(const QList<int> &poem, const CiForm &form)
{
    const Lengths f = lengthsOf(form);
    const int m = int(poem.size()), n = int(f.size());
    const int width = n + 1;
    Costs cost;
    QVarLengthArray<Step, 1024> step;
    const AlignmentCost total = fillCosts(poem, f, cost, &step);
    CiAlignment a;
    a.form = &form;
    a.lines.resize(m);
    a.wrongLength.resize(m, false);
    a.structureFaults = total.faults;
    a.looseness = total.looseness;
    for (int i = m, j = n; i > 0 || j > 0;) {
        switch (step[i * width + j]) {
        case Match:
            --i, --j;
            a.lines[i] = {{j, 0, 0, std::min(poem[i], f[j])}};
            a.wrongLength[i] = poem[i] != f[j];
            break;
        case Join:
            --i, j -= 2;
            a.lines[i] = {{j, 0, 0, f[j]}, {j + 1, 0, f[j], f[j + 1]}};
            break;
        case Split:
            i -= 2, --j;
            a.lines[i] = {{j, 0, 0, poem[i]}};
            a.lines[i + 1] = {{j, poem[i], 0, poem[i + 1]}};
            break;
        case Shift:
            i -= 2, j -= 2;
            if (poem[i] > f[j]) {
                a.lines[i] = {{j, 0, 0, f[j]}, {j + 1, 0, f[j], poem[i] - f[j]}};
                a.lines[i + 1] = {{j + 1, poem[i] - f[j], 0, poem[i + 1]}};
            } else {
                a.lines[i] = {{j, 0, 0, poem[i]}};
                a.lines[i + 1] = {{j, poem[i], 0, f[j] - poem[i]}, {j + 1, 0, f[j] - poem[i], f[j + 1]}};
            }
            break;
        case Miss:
            --j;
            a.missing.prepend(j);
            break;
        case Extra:
        case None:
            --i;
            break;
        }
    }
    return a;
}

int countToneFaults(const CiAlignment &a, const Classes &classes)
{
    int faults = 0;
    for (qsizetype i = 0; i < a.lines.size(); ++i) {
        if (a.wrongLength[i])
            continue;
        for (const CiAlignment::Piece &p : a.lines[i]) {
            const CiLine &line = a.form->lines[p.formLine];
            for (int k = 0; k < p.length; ++k) {
                const ToneClass want = line.positions[p.formOffset + k].tone;
                const ToneClass have = classes[i][p.lineOffset + k];
                faults += want != ToneClass::Both && isDefinite(have) && have != want;
            }
        }
    }
    return faults;
}

} // namespace prosody

namespace prosody {

bool fitsWell(const CiAlignment &a)
{
    return 8 * a.structureFaults <= std::max<qsizetype>(8, a.form->lines.size());
}

} // namespace prosody
