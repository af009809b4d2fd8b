// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/ciform.h"

#include <optional>
#include <tuple>

namespace cipumerge {

// How a corpus form sits on a 体 of the book: the corpus's lines laid over the book's 句, joined or
// split where the characters add up and no rhyme of the book falls inside (the book's 读 are the
// corpus's 、, a 句 the corpus breaks at a comma), a line a character short or long where a text of the
// corpus lost or gained one.
struct FormFit {
    int faults = 0; // lines a character off
    int rhymes = 0; // line ends rhymed in one and not in the other
    int breaks = 0; // corpus line ends where the book has neither 句 nor 读, and 句 the corpus runs past
    auto key() const { return std::tuple(faults, rhymes, breaks); }
};

// nullopt where the corpus form is no reading of the book's: a line more or less, a line two
// characters off, a character off in a form of ten poems or more (a body of its own, not a slip of the
// texts), or the rhymes far apart.
std::optional<FormFit> fitOf(const builddb::DerivedForm &corpus, const builddb::DerivedForm &book);

// The corpus form named and marked as the book's 体: its lines as its poems break them, with the counts,
// poems, poets and example; the book's number, author, 卷, note and example text; at each place the
// book's class, inside a line the book's 读, at a line end the book's mark (读 where the corpus breaks
// at the book's 读), and the 段 as the book divides them. Where the corpus has the poems to make rules
// (ten or more), its rhyme runs stand; else the book's.
builddb::DerivedForm laidOver(const builddb::DerivedForm &book, const builddb::DerivedForm &corpus);

} // namespace cipumerge
