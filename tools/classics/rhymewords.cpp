// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/rhymewords.h"

#include "prosody/check.h"
#include "prosody/core/rhymevote.h"

#include <QHash>

#include <algorithm>

namespace builddb {

namespace {

using prosody::Book;
using prosody::RhymeBooks;

// Poems of a regulated form and a level rhyme with more faults are mostly ancient-style verse: their
// number falls from two faults to three, then rises again at four or more (counts in docs/CLASSICS.md).
constexpr int kMostFaults = 2;

// The group a rhyme character counts in, or -1.
int placeOf(const RhymeBooks &books, Book book, char32_t hanzi, int poemGroup)
{
    int only = -1;
    int levelGroups = 0;
    for (const RhymeBooks::Membership &m : books.memberships(book, hanzi)) {
        if (m.group == poemGroup)
            return poemGroup;
        if (m.tone == prosody::Tone::Ping && m.group != only) {
            only = m.group;
            ++levelGroups;
        }
    }
    return levelGroups == 1 ? only : -1;
}

} // namespace

RhymeWordTally countRhymeWords(const QList<QStringList> &poems, std::shared_ptr<const RhymeBooks> books)
{
    const prosody::Checker checker(books);
    QHash<QString, int> groupIndex[4];
    QList<QHash<char32_t, int>> counts[4]; // per book and group
    for (Book book : prosody::allBooks) {
        for (qsizetype g = 0; g < books->groups(book).size(); ++g)
            groupIndex[int(book)].insert(books->groups(book).at(g).name, int(g));
        counts[int(book)].resize(books->groups(book).size());
    }

    RhymeWordTally tally;
    for (qsizetype p = 0; p < poems.size(); ++p) {
        const QStringList &lines = poems.at(p);
        const QList<prosody::Poem> read = prosody::readPoems(lines.join(u'\n'));
        if (read.size() != 1)
            continue;
        const prosody::PoemCheck check = checker.check(read.first(), Book::Pingshui);
        // Whole regulated poems only: not one that stops short or has a line of another length.
        const bool whole = !check.inProgress() && !check.has(prosody::FindingKind::Length);
        if (check.form.isEmpty() || check.rhyme.isEmpty() || check.has(prosody::FindingKind::ObliqueRhyme) ||
            !whole)
            continue;
        ++tally.byFaults[std::min(check.faultCount(), 4)];
        if (check.faultCount() > kMostFaults)
            continue;
        QList<char32_t> rhymes;
        for (const prosody::LineCheck &line : check.lines)
            if (line.rhymed)
                rhymes.append(line.line.chars.last());
        const bool firstRhymed = check.lines.first().rhymed;
        ++tally.poems;
        tally.regulated.append(p);
        tally.positions += rhymes.size();
        for (Book book : prosody::allBooks) {
            const int poemGroup =
                book == Book::Pingshui
                    ? groupIndex[int(book)].value(check.rhyme, -1)
                    : prosody::voteRhyme(*books, book, rhymes, prosody::RhymeTone::Level, firstRhymed).group;
            for (char32_t hanzi : rhymes) {
                const int g = placeOf(*books, book, hanzi, poemGroup);
                if (g < 0)
                    ++tally.unplaced[int(book)];
                else
                    ++counts[int(book)][g][books->variants().standard(hanzi)];
            }
        }
    }

    for (Book book : prosody::allBooks) {
        for (qsizetype g = 0; g < counts[int(book)].size(); ++g) {
            const QHash<char32_t, int> &group = counts[int(book)][g];
            QList<RhymeWordCount> rows;
            for (auto it = group.constBegin(); it != group.constEnd(); ++it) {
                const char32_t hanzi = it.key();
                rows.append({book, books->groups(book).at(g).name, QString::fromUcs4(&hanzi, 1), it.value()});
            }
            std::sort(rows.begin(), rows.end(), [](const RhymeWordCount &a, const RhymeWordCount &b) {
                return a.count != b.count ? a.count > b.count : a.hanzi < b.hanzi;
            });
            tally.counts += rows;
        }
    }
    return tally;
}

} // namespace builddb
