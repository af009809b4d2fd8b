// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace cipubook {

// What 御定词谱 holds, as tools/rhymebooks/cipubook/cipubook.h reads it: 调, forms, examples, notes.
// Characters are kept as the book prints them (traditional and old forms); counts of characters are
// in code points.

// Where something is printed: the 卷 (1–40) and the page of the 文渊阁 edition ("028-9a").
struct Place {
    int juan = 0;
    QString page;
};

// How a 句 of an example ends, by the mark after it.
enum class LineEnd : quint8 {
    Ju,     // (句/): no rhyme
    Rhyme,  // (韻/), (平/韻), (仄/韻), (換仄/韻) …
    Xie,    // (叶/): a rhyme of the other class or of a changed rhyme (叶韻)
    Repeat, // (疊/): the phrase repeats the one before it (疊韻)
    Double, // (重/), (重/韻): a repeated word on the rhyme (重韻)
    Open,   // the text stops without a mark: a fault of the text
};

// A 和声 sung with the verse ((竹/枝), (女兒/韻)): after `after` characters of its 句, not counted as verse.
struct Harmony {
    int after = 0;
    QString text;
};

struct BookLine {
    QString text;   // its characters as printed, without marks and 和声
    int length = 0; // characters
    int first = 0;  // the index of its first character among the example's
    QList<int> dou; // 读 (pauses inside the 句): after that many characters
    LineEnd end = LineEnd::Ju;
    QChar rhymeTone;          // 平 or 仄 where the mark names it ((平/韻), (換仄/韻)); null otherwise
    bool rhymeChange = false; // (換…): the rhyme changes here
    QList<Harmony> harmonies;

    // It ends on a rhyme of any kind: 韻, 叶, 疊 or 重.
    bool rhymed() const { return end != LineEnd::Ju && end != LineEnd::Open; }
};

struct BookStanza {
    QList<BookLine> lines;
    int piece = -1; // 卷四十: the piece (首, 徧) of the set it belongs to, 0-based; -1 elsewhere
    QString title;  // 卷四十: the piece's title (第一, 入破第一, 右崔徽) on its first 段
    int characters() const;
};

// The example 词 by 段 (the gap the book prints between them) and 句.
struct BookExample {
    QList<BookStanza> stanzas;
    QString prelude; // a 口號 printed before the 词 (转踏), not part of the form
    int characters() const;
    int lines() const;
    int rhymes() const;   // 句 ending on any kind of rhyme
    QString text() const; // the characters, a full-width space between 段
};

// What a form's heading states for one 段: its 句 and its rhymes by kind.
struct StanzaHeading {
    int lines = -1; // -1: not stated
    int ping = 0;   // 平韻
    int ze = 0;     // 仄韻
    int xie = 0;    // 叶韻
    int die = 0;    // 疊韻
    int chong = 0;  // 重韻
    int rhymes() const { return ping + ze + xie + die + chong; }
};

// "雙調一百字前後段各十句四仄韻", read.
struct FormHeading {
    QString text;                   // as printed, the small print read
    int stanzas = 0;                // 1 單調, 2 雙調, 3 三段, 4 四段; 0 when the heading does not say
    int characters = 0;             // 字数; 0 when not read
    QList<StanzaHeading> perStanza; // one per 段 when the heading gives them by 段, else one for all
    bool read = false;              // the whole heading was understood
    QStringList slips;              // slips of the print read past: "從段 → 後段"
    int lines() const;              // -1 when a 段 does not say
    int rhymes() const;
};

enum class Tone : quint8 {
    Ping,
    Ze,
    Ru, // 入声 named as such: 仄, though the book may mean it stands for 平 (以入作平)
};

// A character of the example the note names with a tone: the tone another poem has at this place (the
// note's evidence that the place may change), or, where the note speaks of the example itself ("此詞後段
// 起句第四字可平", no poet), the tone it allows there. Whether it differs from the example's own tone is
// for a rhyme book to tell.
struct FreePosition {
    int stanza = 0;            // 0-based 段
    int line = 0;              // 0-based 句 within the 段
    int index = 0;             // 0-based character within the 句
    int flat = 0;              // 0-based among the example's characters
    QString character;         // the example's character there
    Tone variant = Tone::Ping; // the tone the other poem shows
    QString variantCharacter;  // the other poem's character
    QString poet;              // whose poem the note quotes, as it names it ("張元幹詞")
    QString evidence;          // the note's sentence
};

struct BookForm {
    int number = 1; // 1: 正体; 2 …: each 又一体 in the book's order
    FormHeading heading;
    QString author;
    QString source; // small print before the author: a dynasty or the book it is taken from (蜀, 梅苑)
    BookExample example;
    QStringList slips; // slips of the print in the example read past (a mark printed as verse)
    QString note;      // the editors' note after the example
    QList<FreePosition> free;
    bool strict = false;  // the note says no other poem can be compared: the example's tones stand
    int named = 0;        // characters the note names with a tone (X字平聲)
    QStringList unplaced; // one per named character the reader could not place: why, the character,
                          // the note's sentence ("引句与例词字数不同：雷（吳詞第二句雪消蕙草雷字仄聲）")
    Place place;
};

struct Alias {
    QString name;
    bool inContents = false; // the 卷's table of contents lists it
    bool inOrigin = false;   // the 调's note on its origin names it
};

struct BookTune {
    QString name;
    QList<Alias> aliases;
    QString origin; // the note on its origin, before the first form
    int juan = 0;
    int order = 0; // 1-based place in the book
    Place place;
    QList<BookForm> forms; // 正体 first
    int contents = -1;     // its entry in CipuBook::contents; -1 when the table of contents lacks it
    bool appendix = false; // 卷四十's 大曲 and 转踏: each form a set of pieces (BookStanza::piece)
};

// One entry of a 卷's table of contents: "南歌子七體(又名…)".
struct ContentsEntry {
    int juan = 0;
    QString name;
    int forms = -1;      // -1: the entry gives no count
    QStringList aliases; // as the two-column list is read
    Place place;
};

// Something in the text the reader had to leave or could not fit: a fragment without a heading.
struct ReadProblem {
    Place place;
    QString tune;
    QString reason;
};

struct CipuBook {
    QList<BookTune> tunes;
    QList<ContentsEntry> contents;
    QList<ReadProblem> problems;
    int forms() const;
};

} // namespace cipubook
