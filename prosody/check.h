#pragma once

#include "prosody/books.h"
#include "prosody/cipu.h"
#include "prosody/forms.h"
#include "prosody/reader.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace prosody {

// A fault breaks a rule of the form; a warning is allowed but worth a look (三仄尾, a borrowed
// rhyme, a character the book lacks); an accepted finding is a licence the tradition allows (拗救).
enum class Severity { Fault, Warning, Accepted };

// Kinds of finding, as they are named to the user.
namespace kind {
inline const QString tones = QStringLiteral("平仄");
inline const QString lonePing = QStringLiteral("孤平");
inline const QString threePing = QStringLiteral("三平尾");
inline const QString threeZe = QStringLiteral("三仄尾");
inline const QString unmatched = QStringLiteral("失对");
inline const QString unglued = QStringLiteral("失粘");
inline const QString offRhyme = QStringLiteral("出韵");
inline const QString unrhymed = QStringLiteral("未押韵");
inline const QString borrowedRhyme = QStringLiteral("孤雁出群");
inline const QString obliqueRhyme = QStringLiteral("仄韵");
inline const QString length = QStringLiteral("字数");
inline const QString selfRescue = QStringLiteral("本句自救");
inline const QString lonePingRescue = QStringLiteral("孤平拗救");
inline const QString partnerRescue = QStringLiteral("对句相救");
inline const QString unknown = QStringLiteral("未知");
inline const QString modernOnly = QStringLiteral("今读");
} // namespace kind

struct Finding {
    int line = 0; // 1-based; 0 for the whole poem
    int pos = 0;  // 1-based character in the line; 0 for the whole line
    QString character;
    QString kind;
    Severity severity = Severity::Fault;
    QString text; // plain Chinese: "第3句第4字「月」：此处应平，用了仄声"

    bool isFault() const { return severity == Severity::Fault; }
};

struct LineCheck {
    Line line;
    QList<ToneClass> tones;
    QString pattern;     // the template, 中 where it leaves a position free; empty when not judged
    bool rhymed = false; // a rhyme position of the form
    // For a 词: the share in percent of the poems behind each position of the pattern (the class
    // they lean to, as CiPosition::percent()), the rhyme run of the line's end (0 for none), and the
    // line of the form it stands for (0-based; -1 for a line the form has no place for).
    QList<int> shares;
    int rhymeRun = 0;
    int formLine = -1;
};

struct PoemCheck {
    Poem poem;
    Book book = Book::Pingshui;
    QString form;    // "七言绝句"; empty when the lines make no regulated form
    QString variant; // "平起首句入韵"
    QString rhyme;   // the rhyme group shared by the rhyme characters
    QList<LineCheck> lines;
    QList<Finding> findings; // in the order of the poem: faults, warnings and 拗救 together
    // For a 词: the form it was checked against, whole, for drawing the pattern beside the poem
    // (with the lines the poem lacks); form is then the 词牌 and variant the form's name.
    std::optional<CiForm> ciForm;

    bool ok() const;
    int faultCount() const;
    bool isCi() const { return ciForm.has_value(); }
    // "七言绝句 · 平起首句入韵 · 下平七阳 · 合律" or "浣溪沙 · 正体 · 第七部 · 合谱", or with the number
    // of faults.
    QString summary() const;
    // Faults first, then warnings, then the accepted 拗救; in the order of the poem within each.
    QList<Finding> sortedFindings() const;
};

// The group of a book that most of a poem's rhyme characters share among those of the wanted tone
// class (level or oblique); the first character counts half when firstHalf (a first line that may
// rhyme); the earlier group wins a tie; -1 when none has one.
int sharedRhymeGroup(const RhymeBooks &books, Book book, const QList<char32_t> &rhymes, bool level,
                     bool firstHalf);

// Checks poems against the templates of regulated verse in one rhyme book.
class Checker {
public:
    explicit Checker(std::shared_ptr<const RhymeBooks> books);

    // form.length (5 or 7) may be 0: any.
    PoemCheck check(const Poem &poem, Book book, FormChoice form = {}) const;
    QList<PoemCheck> checkText(const QString &text, Book book, FormChoice form = {}) const;

    // The class of the character at index in a line: for the modern books, a character of both
    // classes takes the class of its reading in a word of the line the word list knows (长安).
    ToneClass classAt(const Line &line, qsizetype index, Book book) const;

    const RhymeBooks &books() const { return *m_books; }

private:
    std::shared_ptr<const RhymeBooks> m_books;
};

// Warnings for characters the book cannot class (未知) or classes only by another basis (今读).
QList<Finding> characterNotes(const RhymeBooks &books, Book book, const QList<LineCheck> &lines);

} // namespace prosody
