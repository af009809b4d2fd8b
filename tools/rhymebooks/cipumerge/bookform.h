// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/ciform.h"
#include "tools/rhymebooks/cipubook/booktypes.h"
#include "tools/rhymebooks/cipumerge/bookchars.h"

namespace cipumerge {

// A 体 of 御定词谱 as a form of the 词谱: a line per 句 of its example, the 读 and the marks the book
// prints, at each place the book's class (the example's own, 中 where the note frees it or the
// character reads both ways), and its rhyme runs. No poem stands behind it yet (poems 0); the merge
// lays the corpus's counts over it where a corpus form shares its structure.
builddb::DerivedForm formOfBook(const cipubook::BookForm &form, int juan, const BookCharacters &chars,
                                const builddb::CiLookup &lookup);

// The rhyme runs of a form from the book's marks and its example's rhyme characters: (換…) begins a new
// run, even in a 部 used before (菩萨蛮's second 仄 rhymes); a mark that names another tone returns to the
// earlier run of that tone and 部 (定风波's 平 rhymes between its 仄 ones), else begins one ((仄/韻) …
// (平/韻)); (叶/) joins the run whose 部 it shares (西江月's 仄 line in the 部 of its 平 rhymes), and so
// does a (韻/) of a 部 the run lacks (the second 段 of 撷芳词 goes back to the first's rhyme unmarked).
// sections: the 部 of each line's last character; classes: its 平 or 仄 (null where both or unknown).
struct RhymeMark {
    bool rhymed = false;
    bool change = false; // 換
    bool xie = false;    // 叶
    QChar tone;          // the tone the mark names, else null
    QList<int> sections;
    QChar character; // the class of the character at the rhyme: 平, 仄 or null
};
struct RhymeRun {
    int run = 0; // 0 for a line without a rhyme
    QChar tone;
};
QList<RhymeRun> rhymeRunsOf(const QList<RhymeMark> &marks);

} // namespace cipumerge
