#pragma once

#include "prosody/ci/cichecker.h"
#include "prosody/couplet/pairsource.h"
#include "prosody/findings/poemcheck.h"
#include "prosody/shi/checker.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace prosody {

// Whether a poem has the shape of regulated verse: 4, 8, or 10 and more (even) lines of five or seven.
bool hasShiShape(const Poem &poem);

// The 词牌 of a form selector's name and the form chosen: "念奴娇" → (念奴娇, 0: the best-fitting form),
// "念奴娇:2" → (念奴娇, 2: its 又一体（2）); (null, 0) when the name is no 词牌.
std::pair<const CiTune *, int> tuneAndForm(const Cipu &cipu, const QString &form);

// A form selector's choice (or shihai-gelv --form) applied to a text:
//   自动 — a poem of 绝句/律诗/排律 shape is checked as 诗 unless its title names a 词牌; another poem
//          is checked as 词 when its title names a 词牌 or recognise() finds one, else as 诗;
//   五绝, 七律 … — as 诗; a 词牌 or one of its aliases — as 词 of that 词牌, "念奴娇:2" of its form 2;
//   对联 — as 对联.
// With book nullopt, 诗 and 对联 are judged in 平水韵 and 词 in 词林正韵. nullopt when the form names
// none. With the classics' pairs, the couplets of a 律诗 or 排律 are judged as 对仗 too.
std::optional<QList<PoemCheck>> checkAs(const std::shared_ptr<const RhymeBooks> &books, const QString &text,
                                        const QString &form, std::optional<Book> book = std::nullopt,
                                        const PairSource *pairs = nullptr);

} // namespace prosody
