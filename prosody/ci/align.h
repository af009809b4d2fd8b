// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/cipu.h"
#include "prosody/reading/classes.h"

#include <QList>

#include <limits>

namespace prosody {

// Where the lines of a 词 fall in a form. A line of the poem stands for one line of the form, for two
// when the poem leaves out a break the corpus makes (浪淘尽千古风流人物 for 浪淘尽、千古风流人物), or
// for part of one when the poem breaks where the corpus does not. Lines after the last one written
// are not yet written: the pattern only, never a fault.
struct CiAlignment {
    struct Piece {
        int formLine = 0;
        int formOffset = 0; // first position in the form's line
        int lineOffset = 0; // first character in the poem's line
        int length = 0;
    };
    const CiForm *form = nullptr;
    QList<QList<Piece>> lines; // per line of the poem; empty for a line the form has no place for
    QList<bool> wrongLength;   // per line: it stands for a form line two characters or more longer or shorter
    QList<int> missingChar;    // per line: the form's position it lacks (少一字), else -1
    QList<int> extraChar;      // per line: its character the form has no place for (多一字), else -1
    QList<int> missing;        // form lines inside the written part no line of the poem stands for
    int unwrittenFrom = 0;     // the form's first line not yet written (its line count when complete)
    int structureFaults = 0;   // lines of a wrong length, extra lines and missing ones
    int toneFaults = 0;        // positions the corpus fixes written the other way
    int surprise = 0;          // how unlikely the poem's classes are by the form's counts (1/1000 nat): ranks
                               // forms of much and of little evidence alike
    int looseness = 0;         // joined and split lines, length differences: breaks ties only

    int unwritten() const { return int(form->lines.size()) - unwrittenFrom; }
    bool complete() const { return unwritten() == 0; }
    // Faults of structure, a poem that stops before the form's end counting one more (AlignmentCost::rank).
    int structureCost() const { return structureFaults + (complete() ? 0 : 1); }
};

// The cost of fitting a poem's lines to a form. Faults of structure first, a poem that stops before
// the form's end counting as one more (so that a whole form with one fault ties with a longer one
// begun without fault, and the whole one wins on the lines left unwritten); loose fits weigh least.
// Where the lengths leave a choice (which of two lines of five was left out), the lines sit where
// their classes fit the form best.
struct AlignmentCost {
    int faults = 0;
    int unwritten = 0; // form lines after the last written one
    int looseness = 0;
    int misfit = 0; // lines of the poem's length placed on positions written the other way
    int rank() const { return faults + (unwritten > 0 ? 1 : 0); }
    bool operator==(const AlignmentCost &) const = default;
    bool operator<(const AlignmentCost &o) const
    {
        return std::tuple(rank(), unwritten, looseness, misfit) <
               std::tuple(o.rank(), o.unwritten, o.looseness, o.misfit);
    }
};

// A regrouping takes at most this many lines of the poem for one of the form, or the other way.
inline constexpr int kRegroupLines = 3;

// The cheapest fit of the line lengths to the form's, without the pieces (for ranking many forms).
// With a limit, a fit of more faults of structure may come back as unreached (faults past any limit).
AlignmentCost alignmentCost(const QList<int> &lengths, const CiForm &form,
                            int limit = std::numeric_limits<int>::max());
// The cheapest fit with its pieces. A line one character short or long has the gap or the extra
// character where the rest fits the form best, the latest place on a tie (with classes null: at the
// end), except that a rhymed line keeps its rhyme last; toneFaults stays 0 (countToneFaults).
CiAlignment align(const QList<int> &lengths, const CiForm &form, const Classes *classes = nullptr);
// Positions checked as faults (Strictness::Fault) written the other way, over the lines placed.
int countToneFaults(const CiAlignment &a, const Classes &classes);
// Over the lines placed, the sum of -ln p of each class written, p from the position's counts with one
// poem of each class added (a form of one example is a weak witness, one of hundreds a strong one),
// less ln of the form's poems (the likelier form a priori).
int surpriseOf(const CiAlignment &a, const Classes &classes);

// Close enough to take the poem for a 词 of the form: at most one fault of structure in eight lines.
bool fitsWell(const CiAlignment &a);

} // namespace prosody
