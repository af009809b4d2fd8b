// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/align.h"

#include <QList>

#include <optional>

namespace prosody {

// The forms that fit a poem's lines best, best first: fewest faults of structure (a poem that stops
// early counting one), then
//   Faults — among the forms of one 词牌: fewest lines left unwritten, fewest 平仄 faults, breaks
//            closest to the form's, the classes most likely by the form's counts;
//   Likelihood — among all forms: the classes most likely by the form's counts (so that a form of one
//            example, which fixes no position, does not win over one of hundreds, nor a short form
//            over a long one a poet has begun), fewest 平仄 faults, breaks closest to the form's;
// then the most written form. Only the forms of the least cost of structure are aligned and kept, and
// none whose cost of structure is above atMost.
enum class Ranking { Faults, Likelihood };
QList<CiAlignment> rankForms(const QList<int> &lengths, const Classes &classes,
                             const QList<const CiForm *> &forms, Ranking ranking,
                             int atMost = std::numeric_limits<int>::max());

// Of the forms, those a poem of lineCount lines could fit well: a line of the form stands for at most
// kRegroupLines of the poem, so a poem of far more lines has that many faults at least (a long paste is
// no 词 of any form); one of fewer lines may be a 词 begun.
QList<const CiForm *> formsOfLineCount(QList<const CiForm *> forms, int lineCount);

// Every form for a 词 of unknown 词牌 that fits with the fewest faults of structure, ranked by
// Likelihood: the forms of two poems or more, beside them the book's 体 of its example alone that fit
// as well, and those of a single poem of the corpus (孤例) only where they fit better.
QList<CiAlignment> rankEveryForm(const Cipu &cipu, const QList<int> &lengths, const Classes &classes);

// The 词牌 a text seems written to from the shape of its lines alone, for 自动.
struct Recognition {
    CiAlignment best;
    // Other forms that fit almost as well (the same cost of structure, the classes about as likely),
    // best first, each 词牌 and form once; the window offers them to pick.
    QList<const CiForm *> alternatives;
    bool complete() const { return best.complete(); }
};

// A 词 when its lines fit some form with at most one fault of structure in eight lines written; a
// text that stops early must have three lines at least, not all of one length (a 诗 being written).
std::optional<Recognition> recogniseShape(const Cipu &cipu, const QList<int> &lengths,
                                          const Classes &classes);

} // namespace prosody
