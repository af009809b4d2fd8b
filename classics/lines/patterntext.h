// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/lines/linequery.h"

#include <QList>
#include <QString>

// The parts of a line query as a person types them, read where they are typed (the 集句 tab, the
// command line); a mistake comes back as one Chinese sentence.
namespace classics {

// A 平仄 pattern, one place a character: 平 or ○, 仄 or ●, 中 or ◎ (either); blanks are skipped.
struct ParsedPattern {
    QList<prosody::ToneClass> pattern;
    QString error; // empty when read
};
ParsedPattern parsePattern(const QString &text);

// Characters at places, 1 the first: "5=月", several apart by blanks or commas ("1=明 5=月").
struct ParsedPlaces {
    QList<CharAt> at; // place 0-based
    QString error;
};
ParsedPlaces parsePlaces(const QString &text);

// The pattern as 平 仄 中, as it is typed back into the pattern box.
QString patternText(const QList<prosody::ToneClass> &pattern);

} // namespace classics
