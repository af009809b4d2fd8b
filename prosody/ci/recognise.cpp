// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/ci/recognise.h"

#include <QVarLengthArray>

#include <algorithm>
#include <numeric>

namespace prosody {

namespace {

constexpr int kAlternatives = 4;
// About two positions against a strong pattern more than the best (ln 20 each, in 1/1000 nat).
constexpr int kAlternativeSurprise = 6000;

auto rankOf(const CiAlignment &a, Ranking ranking)
{
    // Among all forms, how much of a form is left to write says nothing of which one is meant.
    const bool likely = ranking == Ranking::Likelihood;
    return std::tuple(a.structureCost(), likely ? 0 : a.unwritten(), likely ? a.surprise : a.toneFaults,
                      likely ? a.toneFaults : a.looseness, likely ? a.looseness : a.surprise, -a.form->poems,
                      a.form->number);
}

} // namespace

QList<CiAlignment> rankEveryForm(const Cipu &cipu, const QList<int> &lengths, const Classes &classes)
{
    const int lines = int(lengths.size());
    QList<CiAlignment> out =
        rankForms(lengths, classes, formsOfLineCount(cipu.attestedForms(), lines), Ranking::Likelihood);
    // Only a lone form that fits as well as the best so far can matter: the others stop early. A 体 of
    // the book that no poem of the corpus wrote is weighed with the rest by how well the lines keep it
    // (against the two poems of one poet that share its lengths); a form of one poem of the corpus
    // (孤例) only where it fits better. Where a form fits whole already, only a 体 of the book of as
    // many characters can matter.
    const int best = out.isEmpty() ? std::numeric_limits<int>::max() : out.first().structureCost();
    QList<const CiForm *> lone = formsOfLineCount(cipu.loneForms(), lines);
    if (best == 0) {
        const int characters = std::accumulate(lengths.begin(), lengths.end(), 0);
        lone.removeIf([characters](const CiForm *f) {
            return f->source == CiSource::Corpus || f->characters() != characters;
        });
    }
    QList<CiAlignment> more = rankForms(lengths, classes, lone, Ranking::Likelihood, best);
    if (more.isEmpty())
        return out;
    if (more.first().structureCost() == best)
        more.removeIf([](const CiAlignment &a) { return a.form->source == CiSource::Corpus; });
    else
        out.clear();
    out += more;
    std::stable_sort(out.begin(), out.end(), [](const CiAlignment &a, const CiAlignment &b) {
        return rankOf(a, Ranking::Likelihood) < rankOf(b, Ranking::Likelihood);
    });
    return out;
}

QList<CiAlignment> rankForms(const QList<int> &lengths, const Classes &classes,
                             const QList<const CiForm *> &forms, Ranking ranking, int atMost)
{
    if (forms.isEmpty() || lengths.isEmpty())
        return {};
    // The cost of every form first; the alignment and its 平仄 only where no other form costs less.
    QVarLengthArray<std::pair<int, int>, 1024> costs;
    std::pair<int, int> fewest{atMost, 0};
    for (const CiForm *f : forms) {
        // A form past the fewest faults so far may stop early: it is left out below either way.
        const AlignmentCost c = alignmentCost(lengths, *f, fewest.first);
        costs.append({c.rank(), ranking == Ranking::Likelihood ? 0 : c.unwritten});
        fewest = std::min(fewest, costs.last());
    }
    QList<CiAlignment> out;
    for (qsizetype i = 0; i < forms.size(); ++i) {
        if (costs[i] != fewest)
            continue;
        CiAlignment a = align(lengths, *forms[i], &classes);
        a.toneFaults = countToneFaults(a, classes);
        a.surprise = surpriseOf(a, classes);
        out.append(std::move(a));
    }
    std::stable_sort(out.begin(), out.end(), [&](const CiAlignment &a, const CiAlignment &b) {
        return rankOf(a, ranking) < rankOf(b, ranking);
    });
    return out;
}

QList<const CiForm *> formsOfLineCount(QList<const CiForm *> forms, int lineCount)
{
    const int m = lineCount;
    forms.removeIf([m](const CiForm *f) {
        const int n = int(f->lines.size());
        return 8 * std::max(0, m - kRegroupLines * n) > std::max(8, n);
    });
    return forms;
}

std::optional<Recognition> recogniseShape(const Cipu &cipu, const QList<int> &lengths, const Classes &classes)
{
    const QList<CiAlignment> ranked = rankEveryForm(cipu, lengths, classes);
    if (ranked.isEmpty() || !fitsWell(ranked.first()))
        return std::nullopt;
    Recognition r{ranked.first(), {}};
    if (!r.complete() && (lengths.size() < 3 || std::all_of(lengths.begin(), lengths.end(),
                                                            [&](int n) { return n == lengths.first(); })))
        return std::nullopt;
    for (qsizetype i = 1; i < ranked.size() && r.alternatives.size() < kAlternatives; ++i) {
        const CiAlignment &a = ranked[i];
        if (a.surprise > r.best.surprise + kAlternativeSurprise)
            break;
        r.alternatives.append(a.form);
    }
    return r;
}

} // namespace prosody
