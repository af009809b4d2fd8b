#pragma once

#include "tools/dictionary/rhymes.h"
#include "tools/rhymebooks/guangyun.h"
#include "tools/rhymebooks/unihanextra.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace builddb {

// What the four books are made of.
struct RhymeBookInputs {
    QList<GuangyunEntry> guangyun;
    HanziTable standard; // the 通用规范汉字表 with its readings
    UnihanExtras unihan;
    // Converters from traditional or variant forms to simplified ones (OpenCC t2s, tw2s, hk2s).
    QList<std::function<QString(const QString &)>> simplifiers;
    const ReadingWeights *weights = nullptr; // orders the characters of a group; may be null
};

// What the reflex filter did, for the build's report.
struct FilterReport {
    qsizetype readingsBefore = 0;
    qsizetype readingsRemoved = 0;
    qsizetype keptForNoSupport = 0; // characters none of whose readings the modern ones support
    qsizetype keptByList = 0;
    // Level-1 characters whose 平仄 class the filter changed: "看 中→平".
    QStringList changedLevelOne;
    qsizetype levelOneWithReading = 0;
    qsizetype levelOneFromVariants = 0; // found only under another form
    qsizetype levelOneFromOurList = 0;
    qsizetype levelOneWithout = 0;
};

using Readings = QList<ClassicalReading>;

// The classical readings of every form that has some: the 廣韻's own, a simplified character's from
// the characters it stands for, a standard character's from its variants, our lists', then the filter
// that keeps a reading only where a modern one descends from it.
struct ClassicalReadings {
    QHash<char32_t, Readings> readings;
    FilterReport report;
};
ClassicalReadings gatherReadings(const RhymeBookInputs &inputs);

// The 平仄 class of a set of tones: 平, 仄, or 中 for both.
QChar toneClass(const QList<QChar> &tones);

// The character as a text.
QString hanziText(char32_t c);
// The level of the 通用规范汉字表 a character of that rank is in: 1 to 3, 0 outside it.
int standardLevel(int rank);

} // namespace builddb
