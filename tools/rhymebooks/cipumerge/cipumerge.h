// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipu.h"
#include "tools/rhymebooks/cipubook/booktypes.h"
#include "tools/rhymebooks/cipumerge/bookchars.h"

#include <QStringList>

namespace cipumerge {

// What the merge brought together, for the build's log and docs/CIPU.md.
struct MergeReport {
    int tunesBoth = 0;   // 调 of the book with poems of the corpus
    int tunesBook = 0;   // 调 of the book the corpus lacks
    int tunesCorpus = 0; // 词牌 of the corpus the book lacks
    int formsBoth = 0;
    int formsBook = 0;
    int formsCorpus = 0;
    QStringList byAlias; // corpus 词牌 joined to a 调 of another name: "湘月 → 念奴娇"
    QStringList renamed; // 调 of one name in the book, told apart: "调笑令 → 调笑令（卷四十）"
    QStringList moved;   // corpus forms moved to the 调 they fit: "乌夜啼 · 4 → 相见欢"
};

// One 词谱 from the corpus's and the book's: every 调 of the book with its 体 in the book's order and
// names, each corpus form laid over the 体 whose structure it shares (same 调 or one of its other
// names; line lengths and breaks, rhymes), the corpus forms the book lacks after them, the corpus's 词牌
// the book lacks as they were. The book's other names (又名) join the names of their 词牌.
builddb::DerivedCipu mergeCipu(const builddb::DerivedCipu &corpus, const cipubook::CipuBook &book,
                               const BookCharacters &chars, const builddb::CiLookup &lookup,
                               MergeReport *report = nullptr);

} // namespace cipumerge
