// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/text/poem.h"

#include <QList>
#include <QString>

namespace prosody {

// Splits a text into poems at blank lines, and each poem into lines at line breaks, blanks and the
// sentence punctuation ，。！？；：、 (and , . ! ? ; :). Text as pasted from books and web pages is read
// as a poet reads it: notes in brackets are not verse (prosody/text/notes.h); a line naming only the
// author, a date or signature line, and notes under the poem (注：…) are not verse, nor a block of
// them between blank lines (prosody/text/nonverse.h); nor are the labels of a 词's 片 (上阕, 下片), and a
// numbered part (其一, 第二首) begins a poem of its own. A line break ends a 句 whether or not a stop
// precedes it. The title is read as prosody/text/titles.h says, or is a short line standing alone
// before the poem's block.
QList<Poem> readPoems(const QString &text, const ReadingNames &names = {});

// The poem with the lines of the next one after its own (a 词 and its second 片).
Poem joined(const Poem &first, const Poem &second);

} // namespace prosody
