// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The verse lines inside one entry of the classics (a 句 row): the halves of a couplet of 诗, the
// clauses of a 词. The builder stores each one's tones by these, and the search cuts its text from
// the entry by them, so both must read an entry alike.
namespace classics {

struct Clause {
    int token = 0; // where it starts among the entry's tokens in the full-text index (indexedText)
    int from = 0;  // its UTF-16 span in the entry
    int size = 0;  // UTF-16 length
    QList<char32_t> chars;
};

// The runs of Chinese characters between punctuation or blanks. A run beside anything else (□ for a
// lost character, a letter) is left out: its length and tones would be a guess.
QList<Clause> clausesOf(const QString &entry);

// The clause of the entry that starts at token; empty when there is none.
QString clauseAt(const QString &entry, int token);

} // namespace classics
