#pragma once

#include "prosody/ci/cipu.h"
#include "prosody/reading/classes.h"

#include <QList>

namespace prosody {

// Where the lines of a 词 fall in a form. A line of the poem stands for one line of the form, for two
// when the poem leaves out a break the corpus makes (浪淘尽千古风流人物 for 浪淘尽、千古风流人物), or
// for part of one when the poem breaks where the corpus does not.
struct CiAlignment {
    struct Piece {
        int formLine = 0;
        int formOffset = 0; // first position in the form's line
        int lineOffset = 0; // first character in the poem's line
        int length = 0;
    };
    const CiForm *form = nullptr;
    QList<QList<Piece>> lines; // per line of the poem; empty for a line the form has no place for
    QList<bool> wrongLength;   // per line of the poem: it stands for a form line of another length
    QList<int> missing;        // form lines no line of the poem stands for
    int structureFaults = 0;   // lines of a wrong length, extra lines and missing ones
    int toneFaults = 0;        // fixed positions written the other way
    int looseness = 0;         // joined and split lines, length differences: breaks ties only
};

// The cost of fitting a poem's lines to a form: faults of structure first, any number of loose fits
// weighing less than one fault.
struct AlignmentCost {
    int faults = 0;
    int looseness = 0;
    auto operator<=>(const AlignmentCost &) const = default;
};

// The cheapest fit of the line lengths to the form's, without the pieces (for ranking many forms).
AlignmentCost alignmentCost(const QList<int> &lengths, const CiForm &form);
// The cheapest fit with its pieces; toneFaults stays 0 (countToneFaults fills it).
CiAlignment align(const QList<int> &lengths, const CiForm &form);
// Fixed positions written the other way, over the lines of the right length.
int countToneFaults(const CiAlignment &a, const Classes &classes);

} // namespace prosody

namespace prosody {

// Close enough to take the poem for a 词 of the form: at most one fault of structure in eight lines.
bool fitsWell(const CiAlignment &a);

} // namespace prosody
