// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/classicsschema.h"
#include "db/error.h"
#include "prosody/core/books.h"
#include "prosody/core/variants.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class SqliteFile;

// The classics as a concordance: the lines of 全唐诗 and 宋词 that hold a text, whole poems, and the
// characters their regulated verse rhymes on, read from date/classics.db (built by
// `shihai-builddb --classics`). Qt Core only; nothing here writes to any file.
namespace classics {

// Raised when the file is missing, damaged or of another kind, or cannot be read; what() is one line
// for the user, in Chinese, saying why and naming the command that builds the file.
class ClassicsError : public ShihaiError {
public:
    using ShihaiError::ShihaiError;
};

struct DynastyCount {
    QString dynasty;
    int lines = 0;
};

struct Counts {
    int lines = 0;                 // all lines holding the text
    QList<DynastyCount> byDynasty; // in the order of the dynasties (唐, 宋 …), none without a line
};

// A line holding the text, with its poem.
struct Example {
    qint64 line = 0; // the line's number, in the order searches show lines
    qint64 poem = 0; // the poem's number, for Classics::poem()
    QString text;    // the line as the poem has it, punctuation included
    QString title;
    QString author;
    QString dynasty;

    bool operator==(const Example &) const = default;
};

// A whole poem, to be shown read-only.
struct Poem {
    qint64 id = 0;
    QString title;
    QString author;
    QString dynasty;
    QString form;   // 诗 or 词
    QString source; // the collections holding it: "唐诗三百首 · 全唐诗"
    QStringList lines;
    QString notes; // the editors' notes and a 词's preface, one a line; often empty
};

// A character the regulated verse rhymes on in a group, and how often.
struct RhymeWord {
    QString hanzi;
    int count = 0;
};

// A group a character is rhymed on in, and how often.
struct RhymeGroupCount {
    QString group;
    int count = 0;
};

// A member of a rhyme group with the times it is rhymed on there (0 when never).
struct CountedMember {
    prosody::RhymeBooks::Member member;
    int count = 0;
};

struct Totals {
    qint64 poems = 0;
    qint64 lines = 0;
    qint64 characters = 0; // Chinese characters in all lines
    qint64 regulated = 0;  // poems of regulated verse whose rhyme words are counted
};

// A search text is read as runs of Chinese characters; punctuation and blanks separate runs, and a
// line matches when it holds every run ("明月" or "明月，清风"). Characters are matched as the standard
// characters they stand for, as the file indexed its lines (鴈 finds 雁, 衆鳥 finds 众鸟). A run never
// matches across the punctuation of a line. A text without a Chinese character matches nothing. Lines come in
// the order of the file: the poems of 唐诗三百首, 千家诗 and 宋词三百首 first, then the rest, each part by
// dynasty.
//
// Every call reads the file; none keeps results. One object may be used from one thread at a time.
// Every call but open() throws ClassicsError when the file cannot be read.
class Classics {
public:
    // Opens the file read-only; throws ClassicsError when it is missing or not a classics file.
    static std::unique_ptr<Classics> open(const QString &path = classicsschema::defaultPath);
    ~Classics();
    Classics(const Classics &) = delete;
    Classics &operator=(const Classics &) = delete;

    // How many lines hold the text, in all and by dynasty.
    Counts count(const QString &text) const;
    // The lines holding the text from offset on (0 the first), at most limit of them.
    QList<Example> lines(const QString &text, int offset, int limit) const;
    // A whole poem by its number; nullopt when there is none.
    std::optional<Poem> poem(qint64 id) const;

    // The characters rhymed on in a group of a book (the group's name as in RhymeBooks), most used
    // first, ties in the order of their code points; characters never rhymed on are not listed.
    QList<RhymeWord> rhymeWords(prosody::Book book, const QString &group) const;
    // The groups of a book a character is rhymed on in, most used first.
    QList<RhymeGroupCount> rhymeGroupsOf(prosody::Book book, const QString &hanzi) const;
    // The members of group (an index into books.groups(book)), most rhymed on first, each with its
    // count; the members never rhymed on follow in the book's order. A character listed in several
    // tones of the group carries its count on its level (平) member only.
    QList<CountedMember> membersByUse(const prosody::RhymeBooks &books, prosody::Book book, int group) const;

    Totals totals() const { return m_totals; }
    QStringList dynasties() const { return m_dynasties; }
    QString path() const { return m_path; }
    QString dataVersion() const { return m_version; }
    // The table the lines were indexed through (the file's 异体; empty in an older file).
    const prosody::Variants &variants() const { return m_variants; }

private:
    struct Run {
        qint64 first;
        qint64 last;
        int dynasty;
    };
    Classics() = default;
    [[noreturn]] void fail(const QString &what) const;

    QString m_path;
    QString m_version;
    QStringList m_dynasties;
    QList<Run> m_runs; // sorted by first line
    Totals m_totals;
    prosody::Variants m_variants;
    std::unique_ptr<SqliteFile> m_file;
};

} // namespace classics
