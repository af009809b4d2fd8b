// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/quatrains.h"

#include "prosody/core/rhymevote.h"

namespace prosody {

namespace {

// The 平 group both rhymes of a quatrain (its second and fourth lines) belong to, or -1.
int quatrainGroup(const RhymeBooks &books, Book book, const QList<char32_t> &rhymes)
{
    const RhymeVote v = voteRhyme(books, book, rhymes, RhymeTone::Level);
    return v.voters == rhymes.size() ? v.group : -1;
}

// Whether each quatrain rhymes apart from the one before: no group holds the rhymes of both, and a
// neighbour of the group before (寒 after 删) only where the quatrain's first line rhymes too, as a 律诗's
// fifth line never does (王昌龄's 出塞 二首); a 律诗 that mixes 东 and 冬 stays one.
bool rhymeApart(const RhymeBooks &books, Book book, const QList<QList<char32_t>> &rhymes,
                const QList<char32_t> &firsts)
{
    const QList<RhymeBooks::Group> &groups = books.groups(book);
    int before = -1;
    for (qsizetype q = 0; q < rhymes.size(); ++q) {
        const int g = quatrainGroup(books, book, rhymes.at(q));
        if (g < 0)
            return false;
        if (q > 0) {
            if (quatrainGroup(books, book, rhymes.at(q - 1) + rhymes.at(q)) >= 0)
                return false;
            const bool neighbours =
                groups.at(g).neighbours.contains(before) || groups.at(before).neighbours.contains(g);
            if (neighbours && quatrainGroup(books, book, rhymes.at(q) + QList<char32_t>{firsts.at(q)}) != g)
                return false;
        }
        before = g;
    }
    return true;
}

// Whether the lines of the whole quatrains are all of one length of regulated verse.
bool regularShape(const Poem &poem, qsizetype whole)
{
    const qsizetype length = poem.lines.first().size();
    if (length != 5 && length != 7)
        return false;
    for (qsizetype l = 0; l < whole; ++l)
        if (poem.lines.at(l).size() != length)
            return false;
    return true;
}

} // namespace

QList<Poem> quatrainsOf(const RhymeBooks &books, const Poem &poem, Book book, bool chosen)
{
    const qsizetype count = poem.lines.size();
    // The lines after the last whole quatrain are the next one being written.
    const qsizetype whole = count - count % 4;
    if (chosen ? count <= 4 : whole < 8 || !regularShape(poem, whole))
        return {poem};
    if (!chosen) {
        QList<QList<char32_t>> rhymes;
        QList<char32_t> firsts;
        for (qsizetype l = 0; l < whole; l += 4) {
            rhymes.append({poem.lines.at(l + 1).chars.last(), poem.lines.at(l + 3).chars.last()});
            firsts.append(poem.lines.at(l).chars.last());
        }
        if (!rhymeApart(books, book, rhymes, firsts))
            return {poem};
    }
    QList<Poem> out;
    for (qsizetype l = 0; l < count; l += 4) {
        Poem q;
        if (l == 0) {
            q.title = poem.title;
            q.author = poem.author;
            q.doubtfulTitle = poem.doubtfulTitle;
            q.start = poem.start;
        } else {
            q.start = poem.lines.at(l).offsets.value(0, poem.start);
            out.last().end = q.start;
        }
        q.lines = poem.lines.mid(l, 4);
        q.end = poem.end;
        out.append(q);
    }
    return out;
}

} // namespace prosody
