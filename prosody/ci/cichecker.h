// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/align.h"
#include "prosody/ci/recognise.h"
#include "prosody/core/books.h"
#include "prosody/findings/poemcheck.h"

#include <memory>
#include <optional>

namespace prosody {

// Checks 词 against the 词谱 on the best-fitting form of the 词牌, and recognises the 词牌 of a 词.
class CiChecker {
public:
    explicit CiChecker(std::shared_ptr<const RhymeBooks> books);

    // The form that fits the poem best among the 词牌's (with tune null, among the forms whose count of
    // lines it could fit well): fewest faults of structure, then of 平仄, then the one whose breaks match
    // the poem's (fewest lines joined, split or moved), then the most written form. nullopt when there
    // is no form to choose from. With form > 0, that form of the 词牌 (1 正体, 2 … 又一体) when it has it.
    std::optional<CiAlignment> bestForm(const Poem &poem, const CiTune *tune, Book book = Book::Cilin,
                                        int form = 0) const;

    // The poem against the best-fitting form of the 词牌 (or the form chosen), or with tune null of any
    // 词牌.
    PoemCheck check(const Poem &poem, const CiTune *tune, Book book = Book::Cilin, int form = 0) const;

    // The 词牌 a poem seems written to: the one its title begins with, else the one with a form its
    // lines fit with at most one fault of structure in eight lines; null when none does.
    const CiTune *recognise(const Poem &poem, Book book = Book::Cilin) const;

    // The 词牌 and form of a poem from the shape of its lines alone, with the others that fit almost as
    // well (prosody/ci/recognise.h); nullopt when none fits well.
    std::optional<Recognition> recogniseShape(const Poem &poem, Book book = Book::Cilin) const;
    // The poem checked as recognised: its 词牌 (the form recognised, for a 词 being written), with the
    // alternatives in PoemCheck::ciAlternatives.
    PoemCheck checkRecognised(const Poem &poem, const Recognition &r, Book book = Book::Cilin) const;

    // How far the poem is from the 词牌's best-fitting form (any 词牌's with tune null); nullopt when no
    // form takes the lines at all.
    std::optional<AlignmentCost> distance(const Poem &poem, const CiTune *tune,
                                          Book book = Book::Cilin) const;
    // Whether the first poem fits the 词牌 better than the second: it fits, and the second does not or
    // fits worse.
    bool fitsBetter(const Poem &a, const Poem &b, const CiTune *tune, Book book = Book::Cilin) const;

    // Of the 词牌 the names give (every one that bears a name), the one whose forms the lines keep
    // best; the first on a tie or where none takes the lines; null where no name is a 词牌's.
    const CiTune *tuneNamed(const Poem &poem, const QStringList &names, Book book = Book::Cilin) const;

    // The 词 of a text as read. The reader separates poems at blank lines; here the next block joins the
    // 词 while it has no title of its own and joining fits the 词牌 better (a blank line between the 片).
    QList<Poem> readCi(const QList<Poem> &blocks, const CiTune *tune, Book book = Book::Cilin) const;

    const RhymeBooks &books() const { return *m_books; }
    const Cipu &cipu() const { return m_books->cipu(); }

private:
    std::optional<CiAlignment> bestForm(const QList<int> &lengths, const Classes &classes, const CiTune *tune,
                                        int form) const;

    std::shared_ptr<const RhymeBooks> m_books;
};

} // namespace prosody
