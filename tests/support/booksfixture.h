// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/sqlite.h"

#include <QString>
#include <QStringList>

#include <memory>

// A small reference file of rhyme books, written by the tests themselves: each character gets
// exactly the groups and tones a test needs.
class BooksFixture {
public:
    // Creates the file (and its folder) with the tables of the real one.
    explicit BooksFixture(const QString &path);
    ~BooksFixture();
    BooksFixture(const BooksFixture &) = delete;
    BooksFixture &operator=(const BooksFixture &) = delete;

    // Puts every character of chars into the group with the tone (平, 上, 去 or 入); the group is
    // added to the book the first time, after the groups already there.
    BooksFixture &add(const QString &book, const QString &group, const QString &tone, const QString &chars,
                      int level = 1);
    BooksFixture &ungrouped(const QString &book, const QString &hanzi, const QString &tone,
                            const QString &basis = QStringLiteral("今读"));
    BooksFixture &neighbours(const QString &book, const QString &group, const QString &other);
    BooksFixture &reading(const QString &hanzi, const QString &pinyin);
    BooksFixture &word(const QString &word, const QString &pinyin);
    // Each character of forms read as the standard character at the same place of standards (異体).
    BooksFixture &variants(const QString &forms, const QString &standards);
    // Standard characters a converted text writes for others (兼体): 徵 for 征.
    BooksFixture &alsoFor(const QString &written, const QString &meant);

    // A 词牌 of the 词谱, placed after those already there, with its other names.
    BooksFixture &tune(const QString &name, int poems, const QStringList &aliases = {});
    // Another name 御定词谱 gives a 词牌, no poem of the corpus written under it.
    BooksFixture &bookAlias(const QString &alias, const QString &tune);
    // A form of a 词牌: each line its pattern of 平, 仄 and 中, and "/N" after a line whose end rhymes in
    // run N ("仄仄平平/1"; "/1~60" where only 60% of the poems rhyme there). A fixed position has 95% of the
    // poems behind it or more (all but one in twenty), a 中 one 60% 平. The stanza break is the 1-based line
    // that begins the second 片 (0 for none). With share > 0, a fixed position has that percentage of the
    // poems behind it instead.
    BooksFixture &ciForm(const QString &tune, int number, int poems, const QStringList &lines,
                         int stanzaBreak = 0, const QString &scheme = QStringLiteral("平韵"), int share = 0);

    // A 体 of 御定词谱 as form `number` (its number in the book too), the example's classes as `lines`
    // (as ciForm) by `author`; `compared` where the book's note names other poems' characters. With
    // poems > 0 a corpus form is laid over it, its counts as ciForm's.
    BooksFixture &bookForm(const QString &tune, int number, int poems, const QStringList &lines,
                           const QString &author, bool compared);

    // The book's example of form `number` writes the other class at a place (1-based line and character)
    // than the poems laid over it.
    BooksFixture &bookWritesOther(const QString &tune, int number, int line, int character);
    // The book's example of form `number` ends line `line` (1-based) on an unrhymed 句.
    BooksFixture &bookEndsUnrhymed(const QString &tune, int number, int line);

    // Rhymes of 部 `other` in runs of `section` ("第六部", "第十一部") in `poems` of the `runs` poems with a
    // run in `section`.
    BooksFixture &sharedRhyme(const QString &section, const QString &other, int poems, int runs);

    QString path() const { return m_path; }

private:
    void exec(const QString &sql, const QStringList &values);
    BooksFixture &characterPairs(const QString &table, const QString &forms, const QString &standards);
    BooksFixture &form(const QString &tune, int number, int poems, const QStringList &lines, int stanzaBreak,
                       const QString &scheme, int share, const QString &author, bool compared = false);

    QString m_path;
    std::unique_ptr<SqliteFile> m_file;
};
