// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace builddb {

// How often a character is rhymed on in a group of a book.
struct RhymeWordCount {
    prosody::Book book;
    QString group;
    QString hanzi;
    int count = 0;
};

struct RhymeWordTally {
    QList<RhymeWordCount> counts; // by book, then the groups in the book's order, most used first
    qsizetype poems = 0;          // poems judged regulated verse
    qsizetype byFaults[5] = {};   // poems of a form with a level rhyme, by faults: 0, 1, 2, 3, 4 or more
    qsizetype positions = 0;      // rhyme positions in them
    qsizetype unplaced[4] = {};   // positions a book could put in no single group, by book
    QList<qsizetype> regulated;   // the poems judged regulated verse, as indices of the list counted
};

// Counts the rhyme words of the regulated verse (近体诗) among poems, each given by its lines. The
// metre check's reader and the check in 平水韵 decide which poems are regulated verse (a form of
// 绝句, 律诗 or 排律 with a level rhyme and at most two faults: a fault or two does not change the word
// a poem rhymes on, while more mark ancient-style verse) and which lines rhyme. In each book a rhyme
// character counts in the poem's group in that book (the level group most of its rhyme characters
// share, as the check finds it) when it belongs there, else in its only level group of the book; a
// character of several level groups outside the poem's group is left out. A character is counted as
// the standard one it stands for (鴈 as 雁).
RhymeWordTally countRhymeWords(const QList<QStringList> &poems,
                               std::shared_ptr<const prosody::RhymeBooks> books);

} // namespace builddb
