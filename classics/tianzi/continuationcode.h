// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

// How the table 续字 of date/classics.db stores what follows a context in the clauses of the classics.
// The builder writes and the suggestions read through these, so that both read a row the same way.
namespace classics::tianzi {

// The longest clause counted by its places; longer or shorter ones count only in the table of any
// length (clause length 0), where the place is 0 and only the character before counts.
inline constexpr int kShortestClause = 3;
inline constexpr int kLongestClause = 9;

// A character seen after a context, how often, and the first line of the file showing it there.
struct Next {
    char32_t hanzi = 0;
    int count = 0;
    qint64 line = 0;

    bool operator==(const Next &) const = default;
};

// The key of a row: the clause's length (0: any), the place (0-based) and the characters before it
// in the clause (none, one or two; those beyond U+3FFFF are not counted), packed into 44 bits.
qint64 continuationKey(int length, int place, const QList<char32_t> &before);

// A row's value: the entries, most frequent first, as unsigned varints of character, count, line.
QByteArray encodeNexts(const QList<Next> &nexts);
// Throws nothing: a damaged value gives back the entries read before the damage.
QList<Next> decodeNexts(QByteArrayView bytes);

// The rows a clause adds one to, and the character it adds at each: what the builder counts for it
// (a measurement holds a poem's own clauses back with it).
QList<std::pair<qint64, char32_t>> entriesOf(const QList<char32_t> &clause);

// The runs of Chinese characters of a line: its clauses ("白日依山尽，黄河入海流。" → two).
QList<QList<char32_t>> clausesOf(const QString &line);

} // namespace classics::tianzi
