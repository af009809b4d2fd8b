// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/tones.h"

#include <QList>
#include <QString>

#include <optional>

// What a search of the classics' verse lines by their tones asks (classics/lines/linepatterns.h). Read
// from what a person typed at the edge (classics/lines/patterntext.h); typed from there on.
namespace classics {

// A character wanted at a place of the line (0 the first).
struct CharAt {
    int place = 0;
    char32_t hanzi = 0;

    bool operator==(const CharAt &) const = default;
};

struct LineQuery {
    // Per place: Ping or Ze, or Both where either will do; its size is the line's length. A character
    // of both classes (中) fits 平 and 仄 alike. Empty: any tones.
    QList<prosody::ToneClass> pattern;
    // The length wanted when there is no pattern; 0 for any.
    int length = 0;
    // The book the classes and the rhyme group are of.
    prosody::Book book = prosody::Book::Pingshui;
    // The group of the last character, an index into RhymeBooks::groups(book); a character of several
    // groups is in each.
    std::optional<int> rhymeGroup;
    QList<CharAt> at;
    QString dynasty; // empty: any
    QString author;  // the exact name; empty: any

    int wantedLength() const { return pattern.isEmpty() ? length : int(pattern.size()); }
    bool operator==(const LineQuery &) const = default;
};

// A verse line found, with its poem.
struct PatternLine {
    qint64 line = 0; // the 句 row holding it
    qint64 poem = 0; // for Classics::poem()
    QString text;    // the verse line alone: 白日依山尽
    QString entry;   // the row it stands in: 白日依山尽，黄河入海流。
    QString title;
    QString author;
    QString dynasty;
};

} // namespace classics
