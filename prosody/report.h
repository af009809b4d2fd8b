#pragma once

#include "prosody/check.h"

#include <QByteArray>
#include <QString>

namespace prosody {

// One poem as one line of JSON, keys in this order: form, variant, book, rhyme, ok, lines (text,
// tones, pattern) and findings (line, pos, char, kind, fault, text).
QByteArray toJson(const PoemCheck &check);

// One poem as text for a terminal: each line with its marks under it, the findings, a verdict.
QString toText(const PoemCheck &check);

// A line's classes as 平 仄 中 ？, one per character.
QString tonesText(const LineCheck &line);

} // namespace prosody
