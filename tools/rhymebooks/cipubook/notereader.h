// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktext.h"
#include "tools/rhymebooks/cipubook/booktypes.h"

#include <QList>
#include <QStringList>

namespace cipubook {

struct NoteReading {
    QList<FreePosition> free;
    int named = 0; // characters named with a tone
    QStringList
        unplaced; // one per named character not placed, why and where: "引句与例词字数不同：荷（…荷字平聲）"
    bool strict = false;
};

// What a note says of the example's tones. Its evidence comes in sentences such as
// "張元幹詞第六句荷芰波生荷字平聲": a poem, a place, the poem's 句 there, and the characters named with
// the tone they have in it (上X字 the first of two, 兩X字 both, XY二字 two running). The quoted 句 is laid
// over the example's 句 at that place when the two are of one length, and each named character frees
// the example's character under it. A sentence that leaves out the place or the 段 takes them from the
// one before. "X字可平" names the example's own character.
NoteReading readNote(TextView note, const BookExample &example);

// The note says no other poem can be compared (無別首可校, 其平仄當遵之 …): the example's tones stand.
bool saysNoOther(TextView note);

} // namespace cipubook
