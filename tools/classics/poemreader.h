// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/converter.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace builddb {

// One poem of date/classics.db, in simplified characters.
struct ClassicPoem {
    QString title;
    QString author;
    QString dynasty;
    QString form;          // 诗 or 词
    QStringList sources;   // the collections holding it; the text is the first one's
    QStringList lines;     // the entries of its text, without the editors' notes
    QStringList notes;     // the editors' notes, a 词's preface
    bool inPrimer = false; // in 唐诗三百首, 千家诗 or 宋词三百首: shown first
};

struct CorpusReport {
    QMap<QString, qsizetype> read; // entries read, by collection
    qsizetype merged = 0;          // entries found to be a poem read before
    qsizetype withoutText = 0;     // entries left without a line once the notes are out
};

// Reads the primers (唐诗三百首, 千家诗, 宋词三百首), then 全唐诗 and 宋词 from chinese-poetry's dist
// folder, converting every text to simplified characters. An entry that holds a poem read before (the
// same author, the first sixteen characters equal or differing in a variant or two) is merged into
// it, adding its collection to the sources. Throws BuildError naming a missing or malformed file.
QList<ClassicPoem> readClassics(const QString &dist, const Converter &t2s, CorpusReport &report);

// A poem's lines without the editors' notes in full-width brackets （…）, which may run over lines,
// and without the marks [ ] of restored characters; lines left without a Chinese character are
// dropped. The notes are returned apart.
struct CleanText {
    QStringList lines;
    QStringList notes;
};
CleanText cleanLines(const QStringList &lines);

// Puts the poems in the order searches show them: the primers' first, then the rest, each part by
// dynasty (唐, 五代, 宋, 元, 明, 清, then others as they come, 不详 last), else in the order read.
// Returns the dynasties in that order.
QStringList orderForSearch(QList<ClassicPoem> &poems);

} // namespace builddb
