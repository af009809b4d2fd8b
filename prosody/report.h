// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/findings/poemcheck.h"

#include <QByteArray>
#include <QString>

namespace prosody {

// One poem as one line of JSON, keys in this order: form, variant, book, rhyme, ok, lines (text,
// tones, pattern), couplets and findings (line, pos, char, kind, fault, text). A 词 adds structure
// and scheme after rhyme, and to each line shares, rhymed and form_line. couplets comes for a 律诗,
// an 排律 and a 对联 whose couplets were judged: each with lines (the two, 1-based), parallel and
// units (text, the upper and the lower; judgement, 工对 宽对 or 未对; count, the middle couplets of
// the classics that set the two against each other).
QByteArray toJson(const PoemCheck &check);

// One poem as text for a terminal: each line with its marks under it (for a 词 also the pattern of
// the 词谱, with 韵 at a rhyme), the units of each couplet judged as 对仗, the findings, a verdict.
QString toText(const PoemCheck &check);

// A line's classes as 平 仄 中 ？, one per character.
QString tonesText(const LineCheck &line);

// A couplet's units as a line of text: "颔联 对仗：明月/清泉 工 · 松间/石上 工 · 照/流 工".
QString coupletText(const Couplet &couplet);

} // namespace prosody
