// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/classicalreadings.h"

#include <QList>
#include <QMap>
#include <QString>

namespace builddb {

struct BookGroup {
    int order = 0; // 1-based, the group's place in its book
    QString name;
    QChar tone; // 平, 上, 去 or 入
};

// One character in one group, with its tone there.
struct BookChar {
    QString group;
    char32_t hanzi = 0;
    QChar tone;
    int level = 0; // 1 to 3 in the 通用规范汉字表, 0 outside it
    int order = 0; // place within its group: common characters and frequent ones first
};

// A character the book has no group for: its tone class from another basis.
struct UngroupedChar {
    char32_t hanzi = 0;
    QChar tone;
    int level = 0;
    QString basis; // 今读: the modern reading; 粤音入声: a Cantonese entering tone
};

struct Book {
    QString name;
    QList<BookGroup> groups; // one row per group and tone
    QList<BookChar> chars;
    QList<UngroupedChar> ungrouped;
    // Pairs of groups of one tone that a poem's first line may borrow between (邻韵): for 平水韵,
    // the groups whose characters meet in one 部 of the 词林正韵. Each pair once, in both orders.
    QList<std::pair<QString, QString>> neighbours;
};

struct RhymeBooks {
    QList<Book> books; // 平水韵, 词林正韵, 中华新韵, 中华通韵
    // The modern standard readings with tone marks, per character, for the lookup.
    QMap<char32_t, QStringList> readings;
    // The table of forms the books were made with: the one given, less the forms a weak link gave a
    // standard character whose readings are not theirs (those stay in the books as they are).
    QMap<char32_t, char32_t> variants;
    // Standard characters a converted text writes for another (徵 for 征).
    QMap<char32_t, char32_t> alsoFor;
    FilterReport filter;
};

RhymeBooks buildRhymeBooks(const RhymeBookInputs &inputs);

} // namespace builddb
