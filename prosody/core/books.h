// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/tones.h"
#include "prosody/core/variants.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <array>
#include <memory>
#include <optional>

namespace prosody {

class Cipu;
class WordReadings;

// The rhyme books of date/rhymebooks.db, held in memory: every character's groups and tones in
// each book. Filled once by the reference file's loader (prosody/core/referencefile.h); lookups do
// not touch the file. A character the books do not hold under its own form (衆, 樣, 栁) is looked up
// as the standard character it stands for (众, 样, 柳).
class RhymeBooks {
public:
    struct Group {
        QString name;
        int order = 0;         // place in the book
        QList<Tone> tones;     // the tones the group has (词林正韵 部 hold several)
        QList<int> neighbours; // groups a first line may borrow from (孤雁出群)
    };
    struct Membership {
        quint16 group;
        Tone tone;
    };
    using Memberships = QVarLengthArray<Membership, 2>;
    struct Member {
        char32_t hanzi;
        Tone tone;
        quint8 level; // 1 to 3 in the 通用规范汉字表, 0 outside it
    };
    // A character with no group in a classical book, and what its class rests on.
    struct Ungrouped {
        Tone tone;
        QString basis; // 今读 or 粤音入声
    };
    // One book as the loader fills it.
    struct BookData {
        QList<Group> groups;
        QHash<char32_t, Memberships> chars;
        QList<QList<Member>> members; // per group, in the book's order of characters
        QHash<char32_t, Ungrouped> ungrouped;
        // Groups a character rhymes in as another standard character it is written for (徵 for 征),
        // in the tones it has itself.
        QHash<char32_t, Memberships> alsoFor;
    };
    // What the reference file holds besides the books.
    struct Extras {
        QString path;
        QString version;
        QHash<char32_t, QStringList> readings;
        std::shared_ptr<const WordReadings> words;
        std::shared_ptr<const Cipu> cipu;
        Variants variants;
    };

    RhymeBooks(std::array<BookData, 4> books, Extras extras);

    const QList<Group> &groups(Book book) const { return m_books[int(book)].groups; }
    // The groups of a character, with those it rhymes in as the character it may be written for (徵
    // in 庚 as 征), in the tones it has.
    Memberships memberships(Book book, char32_t hanzi) const;
    // Only the groups the book gives the character: what the lookup shows.
    Memberships bookMemberships(Book book, char32_t hanzi) const;
    QList<Member> members(Book book, int group) const;
    std::optional<Ungrouped> ungrouped(Book book, char32_t hanzi) const;
    // The class of a character from all its readings in the book, without looking at its word.
    ToneClass toneClass(Book book, char32_t hanzi) const;
    // Modern readings with tone marks.
    QStringList readings(char32_t hanzi) const;
    // The reading of a word that holds a character of both classes ("cháng ān"), the word read in
    // standard characters (長安 as 长安); empty when the word is not known. Looked up in the file on
    // first use of each word, then remembered.
    QString wordReading(const QString &word) const;
    // The standard characters written forms stand for (衆 → 众).
    const Variants &variants() const { return m_extras.variants; }
    // The 词谱 read from the same file: the 词牌, their forms and patterns (empty for an older file).
    const Cipu &cipu() const { return *m_extras.cipu; }
    QString path() const { return m_extras.path; }
    QString dataVersion() const { return m_extras.version; }

private:
    // The entry of a character in a table keyed by character: its own, else its standard character's.
    template <typename Table> typename Table::const_iterator find(const Table &table, char32_t hanzi) const
    {
        const auto it = table.constFind(hanzi);
        if (it != table.constEnd())
            return it;
        const char32_t standard = m_extras.variants.standard(hanzi);
        return standard == hanzi ? it : table.constFind(standard);
    }

    std::array<BookData, 4> m_books;
    Extras m_extras;
};

} // namespace prosody
