// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/cichecker.h"
#include "prosody/couplet/pairsource.h"
#include "prosody/findings/poemcheck.h"
#include "prosody/request/checkrequest.h"
#include "prosody/shi/checker.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace prosody {

// Whether a poem has the shape of regulated verse: 4, 8, or 10 and more (even) lines of five or seven.
bool hasShiShape(const Poem &poem);

// The names the reader takes a title by: the 词牌 of the 词谱, which must outlive the result.
ReadingNames readingNames(const Cipu &cipu);

// A text, read once (prosody/text/reader.h), checked as the form selector (or shihai-gelv --form) asks:
//   自动 — a poem of 绝句/律诗/排律 shape is checked as 诗 unless its title names a 词牌; another poem
//          is checked as 词 when its title names a 词牌 or recognise() finds one, else as 诗;
//   a form of regulated verse — as 诗; a form of a 词牌 — as 词 of that 词牌, against that form or the
//          one that fits best; 对联 — as 对联.
// With no book in the request, 诗 and 对联 are judged in 平水韵 and 词 in 词林正韵. nullopt when the 词谱
// has no such 词牌 or form (a request made for another 词谱). With the classics' pairs, the couplets of a
// 律诗 or 排律 are judged as 对仗 too.
std::optional<QList<PoemCheck>> checkAs(const std::shared_ptr<const RhymeBooks> &books, const QString &text,
                                        const CheckRequest &request, const PairSource *pairs = nullptr);

} // namespace prosody
