#pragma once

#include "tools/builddb/guangyun.h"
#include "tools/builddb/rhymes.h"
#include "tools/builddb/unihanextra.h"
#include "tools/rhymebooks/variants.h"

#include <QList>
#include <QMap>
#include <QString>

#include <functional>

namespace builddb {

// What the four books are made of.
struct RhymeBookInputs {
    QList<GuangyunEntry> guangyun;
    HanziTable standard; // the 通用规范汉字表 with its readings
    UnihanExtras unihan;
    // Converters from traditional or variant forms to simplified ones (OpenCC t2s, tw2s, hk2s), t2s
    // first: it alone says which standard character a traditional text writes another for (徵 for 征).
    QList<std::function<QString(const QString &)>> simplifiers;
    const ReadingWeights *weights = nullptr; // orders the characters of a group; may be null
    // Written forms → the standard characters they stand for: a form lends its readings to its
    // standard character and is left out of the books, which read it as that character. May be null.
    const VariantTable *variants = nullptr;
};

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

// What the reflex filter did, for the build's report.
struct FilterReport {
    qsizetype readingsBefore = 0;
    qsizetype readingsRemoved = 0;
    qsizetype keptForNoSupport = 0; // characters none of whose readings the modern ones support
    qsizetype keptByList = 0;
    // Level-1 characters whose 平仄 class the filter changed: "看 中→平".
    QStringList changedLevelOne;
    // Standard characters whose 平水韵 groups the forms they stand for changed, past the filter:
    // "样 下平七阳→去声二十三漾".
    QStringList changedByForms;
    qsizetype levelOneWithReading = 0;
    qsizetype levelOneFromVariants = 0; // found only under another form
    qsizetype levelOneFromOurList = 0;
    qsizetype levelOneWithout = 0;
    qsizetype formsKeptApart = 0; // forms of a weak link left in the books under their own readings
};

struct RhymeBooks {
    QList<Book> books; // 平水韵, 词林正韵, 中华新韵, 中华通韵
    // The modern standard readings with tone marks, per character, for the lookup.
    QMap<char32_t, QStringList> readings;
    // The table of forms the books were made with: the one given, less the forms a weak link gave a
    // standard character whose readings are not theirs (those stay in the books as they are).
    QMap<char32_t, char32_t> variants;
    FilterReport filter;
};

RhymeBooks buildRhymeBooks(const RhymeBookInputs &inputs);

// The 平仄 class of a set of tones: 平, 仄, or 中 for both.
QChar toneClass(const QList<QChar> &tones);

} // namespace builddb
