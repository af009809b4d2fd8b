// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/tianzi/continuations.h"
#include "prosody/core/books.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace classics {
class CoupletPairs;
}

// 填字: the words the classics write at the place being written, fitting its 平仄 and rhyme.
namespace classics::tianzi {

// What the place of the caret asks, as the check of the draft knows it.
struct Place {
    int length = 0;         // characters of the line in its form; 0 when not known
    int place = 0;          // the caret's place in the line, 0-based
    QList<char32_t> before; // the line's characters before the caret
    QString pattern;        // 平 仄 中 for each place of the line; empty or 中: either class
    bool rhymed = false;    // the line ends on a rhyme
    int rhymeGroup = -1;    // the poem's group in the book; -1 while no rhyme fixes it
    prosody::Book book = prosody::Book::Pingshui;
    QList<char32_t> above; // the upper line when this line should be set against it, else empty
    // What goes before a word put in: the punctuation ending the line before when the caret stands
    // right after a finished line ("，" within a couplet, "。" and a line break after one).
    QString lead;
};

struct Suggestion {
    QString text;          // one to four characters
    int count = 0;         // how often the classics write it there
    ExampleLine example;   // a line of the classics holding it (for a 对 word, its couplet)
    bool parallel = false; // set against the word above in the middle couplets of the classics
};

// Ranks what follows the characters before the caret in the classics: the place's own habits in clauses
// of the line's length, then the character before in clauses of any length, then the character before
// and the two before at the place, each smoothing the one below it (the commonest continuation of a
// rare context is not trusted more than the place's habits). At a free place before a strict one, the
// share of a candidate's continuations that fit there weighs it; at the free third place from the end
// of a line of five or seven, a character of the class opposite the last weighs more. One word per first
// character, so that a list of thirty offers thirty ways on.
class Suggester {
public:
    // accept: run on each word before it is offered; the list skips the words it refuses.
    using Accept = std::function<bool(const QString &word)>;

    Suggester(const Continuations &table, std::shared_ptr<const prosody::RhymeBooks> books,
              const CoupletPairs *pairs = nullptr);

    // At most limit words, best first: those set against the word above first, then by the smoothed
    // frequency. Examples are filled when withExamples. Throws ClassicsError when the file cannot be
    // read.
    QList<Suggestion> suggest(const Place &place, int limit, const Accept &accept = {},
                              bool withExamples = true) const;
    // Whether the character may stand at the place `at` of the line: its class where the pattern is
    // strict, a reading at all, and at the rhyme a member of the poem's group.
    bool fits(const Place &place, int at, char32_t hanzi) const;

private:
    struct Scored {
        char32_t hanzi;
        double score;
        int count;
        qint64 line;
    };
    QList<Scored> ranked(const Place &place) const;
    Suggestion extended(const Place &place, const Scored &first) const;
    QList<Suggestion> parallels(const Place &place, int limit) const;

    const Continuations &m_table;
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    const CoupletPairs *m_pairs;
};

// Whether a two-character word may start at the place: the line's rhythm pairs its characters from the
// start, and the last character of a line of odd length stands alone.
bool startsPair(int length, int place);

} // namespace classics::tianzi
