// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/dictionary/rhymes.h"
#include "tools/rhymebooks/guangyun.h"
#include "tools/rhymebooks/unihanextra.h"
#include "tools/rhymebooks/variants.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

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

using Readings = QList<ClassicalReading>;

// The classical readings of every form that has some: the 廣韻's own, a simplified character's from
// the characters it stands for and the forms the table of forms reads as it, a standard character's
// from its variants, our lists' and the readings the classics' audit mended, then the filter that
// keeps a reading only where a modern one descends from it.
struct ClassicalReadings {
    QHash<char32_t, Readings> readings;
    FilterReport report;
    // The table of forms, less the forms a weak link gave a standard character whose readings are not
    // theirs (those stay in the books as they are).
    QMap<char32_t, char32_t> variants;
};
ClassicalReadings gatherReadings(const RhymeBookInputs &inputs);

// The 平仄 class of a set of tones: 平, 仄, or 中 for both.
QChar toneClass(const QList<QChar> &tones);

// The character as a text.
QString hanziText(char32_t c);
// The level of the 通用规范汉字表 a character of that rank is in: 1 to 3, 0 outside it.
int standardLevel(int rank);

} // namespace builddb
