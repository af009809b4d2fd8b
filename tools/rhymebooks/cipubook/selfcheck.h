// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"

#include <QList>
#include <QString>

namespace cipubook {

enum class FindingKind : quint8 {
    Heading,        // the heading could not be read whole
    Characters,     // the example's 字数 differs from the heading's
    Rhymes,         // its rhymes differ in number from the heading's
    Stanzas,        // its 段 differ in number
    Lines,          // a 段's 句 differ in number
    Unmarked,       // the example's text runs on without a mark
    MissingTune,    // the table of contents lists a 调 the text lacks
    UnlistedTune,   // the text has a 调 the table of contents lacks
    FormCount,      // the table of contents gives another number of forms
    UncountedEntry, // an entry of the table of contents gives no number of forms
    Slip,           // a slip of the print the reader read past (the form then agrees)
};

// One disagreement of the book with itself, or of the reader with the book.
struct Finding {
    FindingKind kind;
    Place place;
    QString tune;
    int form = 0; // 0: the 调 as a whole
    QString reason;
};

// The example's rhymes counted as its heading counts them: a 疊 (a phrase repeated) is a rhyme where
// the heading counts 疊韻, else only a repetition (法駕導引: 朝元路朝元路, 六句三平韻).
int rhymesAsHeaded(const BookExample &example, const FormHeading &heading);

// The example has the 字数 and the number of rhymes its heading states.
bool agrees(const BookExample &example, const FormHeading &heading);
bool formAgrees(const BookForm &form);

// Each form against its heading, each 卷's table of contents against its 调 (卷四十, a collection of
// pieces, only against its table of contents' list).
QList<Finding> selfCheck(const CipuBook &book);

QString kindName(FindingKind kind);

} // namespace cipubook
