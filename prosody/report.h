#pragma once

#include "prosody/findings/poemcheck.h"

#include <QByteArray>
#include <QString>

namespace prosody {

// One poem as one line of JSON, keys in this order: form, variant, book, rhyme, ok, lines (text,
// tones, pattern) and findings (line, pos, char, kind, fault, text). A 词 adds structure and scheme
// after rhyme, and to each line shares, rhymed and form_line.
QByteArray toJson(const PoemCheck &check);

// One poem as text for a terminal: each line with its marks under it (for a 词 also the pattern of
// the 词谱, with 韵 at a rhyme), the findings, a verdict.
QString toText(const PoemCheck &check);

// A line's classes as 平 仄 中 ？, one per character.
QString tonesText(const LineCheck &line);

} // namespace prosody
