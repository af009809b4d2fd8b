// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktext.h"
#include "tools/rhymebooks/cipubook/booktypes.h"

#include <QList>

#include <optional>

namespace cipubook {

// A place a note names: "前段第二句", "後段起句", "第九十句" (the ninth and tenth), "前後兩結",
// "換頭". What it leaves out is taken from the place named before it.
struct NotePlace {
    QList<int> stanzas;    // 0-based; empty: as before
    QList<int> lines;      // 1-based within the 段; -1 the last, -2 the one before; empty: as before
    bool bothEnds = false; // 兩結: the last 句 of each 段, in turn
};

// A place named in a text, where its words begin and end.
struct FoundPlace {
    NotePlace place;
    size_t start = 0;
    size_t end = 0;
};
// Every place named in text, in order.
QList<FoundPlace> placesIn(TextView text, int stanzas);

// The place completed from the one before (its 段, or its 句 too when it names none).
NotePlace inherit(const NotePlace &place, const NotePlace &before);

// The example's 句 a place may mean, each reading as (段, 句) pairs in the order the note quotes them:
// one reading per 段 it names (前後段第四句: the fourth of either, then both in turn), the last 句 of
// each 段 in turn for 兩結. Places the example lacks are left out.
using LineRun = QList<std::pair<int, int>>;
QList<LineRun> linesAt(const NotePlace &place, const BookExample &example);

} // namespace cipubook
