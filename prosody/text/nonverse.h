// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace prosody {

// What a line of pasted text that is not verse is: the lines books and web pages print around a poem.
enum class LineKind {
    Verse,  // anything else: a line of verse, or a title
    Author, // "唐·杜甫", "（唐）王维", "——李白": only an author, with or without a dynasty
    Date,   // "2026年12月9日", "丙午年九月 拾贝人": a date, with or without a signature after it
    Commentary, // "注：…", "注释", "译文：…": notes under the poem, to the end of its block
    Section,    // "上阕", "下片", "前段": a label of a 词's 片, which goes on with the same poem
    Part,       // "其一", "第二首", "一、", "2.": a numbered part, which begins a poem of its own
};

// The kind of a line by its own text (notes in brackets already taken out). A bare name ("杜甫") is
// not recognised here: only the lines around it tell it from verse (see looksLikeName).
LineKind kindOfLine(const QString &visible);

// Whether a line could be a bare author's name: two to four Chinese characters and nothing else.
bool looksLikeName(const QString &visible);

} // namespace prosody
