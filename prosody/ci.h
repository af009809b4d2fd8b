#pragma once

#include "prosody/check.h"
#include "prosody/cipu.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace prosody {

// Where the lines of a 词 fall in a form. A line of the poem stands for one line of the form, for two
// when the poem leaves out a break the corpus makes (浪淘尽千古风流人物 for 浪淘尽、千古风流人物), or
// for part of one when the poem breaks where the corpus does not.
struct CiAlignment {
    struct Piece {
        int formLine = 0;
        int formOffset = 0; // first position in the form's line
        int lineOffset = 0; // first character in the poem's line
        int length = 0;
    };
    const CiForm *form = nullptr;
    QList<QList<Piece>> lines; // per line of the poem; empty for a line the form has no place for
    QList<bool> wrongLength;   // per line of the poem: it stands for a form line of another length
    QList<int> missing;        // form lines no line of the poem stands for
    int structureFaults = 0;   // lines of a wrong length, extra lines and missing ones
    int toneFaults = 0;        // fixed positions written the other way
    int looseness = 0;         // joined and split lines, length differences: breaks ties only
};

// Checks 词 against the 词谱: 平仄 at the positions the corpus fixes, the rhymes at its rhyme
// positions (出韵, 未押韵), and the lines (字数), on the best-fitting form of the 词牌.
class CiChecker {
public:
    explicit CiChecker(std::shared_ptr<const RhymeBooks> books);

    // The form that fits the poem best among the 词牌's (with tune null, among all forms): fewest
    // faults of structure, then of 平仄, then the one whose breaks match the poem's (fewest lines joined,
    // split or moved), then the most written form. nullopt when there is no form to choose from.
    std::optional<CiAlignment> bestForm(const Poem &poem, const CiTune *tune, Book book = Book::Cilin) const;

    // The poem against the best-fitting form of the 词牌, or with tune null of any 词牌.
    PoemCheck check(const Poem &poem, const CiTune *tune, Book book = Book::Cilin) const;

    // The 词牌 a poem seems written to: the one its title begins with, else the one with a form its
    // lines fit with at most one fault of structure in eight lines; null when none does.
    const CiTune *recognise(const Poem &poem, Book book = Book::Cilin) const;

    // The 词 of a text. The reader separates poems at blank lines; here the next block joins the 词
    // while it has no title of its own and joining fits the 词牌 better (a blank line between the 片).
    QList<Poem> readCi(const QString &text, const CiTune *tune, Book book = Book::Cilin) const;

    const Checker &checker() const { return m_checker; }
    const Cipu &cipu() const { return m_checker.books().cipu(); }

private:
    Checker m_checker;
};

// Whether a poem has the shape of regulated verse: 4, 8, or 10 and more (even) lines of five or seven.
bool hasShiShape(const Poem &poem);

// A form selector's choice (or shihai-gelv --form) applied to a text:
//   自动 — a poem of 绝句/律诗/排律 shape is checked as 诗 unless its title names a 词牌; another poem
//          is checked as 词 when its title names a 词牌 or recognise() finds one, else as 诗;
//   五绝, 七律 … — as 诗; a 词牌 or one of its aliases — as 词 of that 词牌.
// With book nullopt, 诗 are judged in 平水韵 and 词 in 词林正韵. nullopt when the form names neither.
std::optional<QList<PoemCheck>> checkAs(const std::shared_ptr<const RhymeBooks> &books, const QString &text,
                                        const QString &form, std::optional<Book> book = std::nullopt);

} // namespace prosody
