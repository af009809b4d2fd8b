#pragma once

#include "tools/builddb/converter.h"
#include "tools/builddb/rhymebooks.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace builddb {

// One 词 of the corpus, in simplified characters.
struct CorpusCi {
    QString author;
    QString tune; // as the corpus writes it: "醉落魄・一斛珠" is the name used, then the usual name
    QStringList paragraphs;
};

// The 词 of chinese-poetry's songci/ci.song.*.json under dist, in the files' order. Throws BuildError.
QList<CorpusCi> readSongCi(const QString &dist, const Converter &t2s);

// What the derivation knows of a character: its 平水韵 classes and its 部 in the 词林正韵.
struct CiCharInfo {
    bool ping = false;
    bool ze = false;
    QList<int> sections; // 1 to 19
};
using CiLookup = QHash<char32_t, CiCharInfo>;
CiLookup ciLookupOf(const RhymeBooks &books);

// One position of a form and the poems' characters there.
struct DerivedPosition {
    QChar tone; // 平 or 仄 where at least 85% of the poems with a known class agree, else 中
    int ping = 0;
    int ze = 0;
    int both = 0;    // characters of both classes
    int unknown = 0; // characters without a class (and lost characters, □)
};

struct DerivedLine {
    int length = 0;
    int rhymeRun = 0; // 0: no rhyme; 1, 2 … the runs of one rhyme, in the order they begin
    QChar rhymeTone;  // 平 or 仄 at a rhyme
    int rhymed = 0;   // poems whose character here shares a 部 with another rhyme of its run
    QList<DerivedPosition> positions;
};

struct DerivedForm {
    int number = 1; // 1: the main form (正体); 2 …: the variants (又一体) by use
    int poems = 0;
    QList<DerivedLine> lines;
    int stanzaBreak = 0; // 1-based line that begins the second 片, inferred; 0 when none is
    QString scheme;      // 平韵, 仄韵, 换韵 or 平仄通叶
    QString example;     // "晏殊：一曲新词酒一杯。"
    QList<int> lengths() const;
};

struct DerivedName {
    QString name;
    int poems = 0; // written with this name (alone or beside another)
    QString basis; // 本名, 集中写法 or 别名表
};

struct DerivedTune {
    QString name;
    int poems = 0;
    int inForms = 0;
    QList<DerivedName> names; // the name itself first
    QList<DerivedForm> forms;
};

// What the derivation counted, for the build's log and the 词谱概况 table.
struct CipuCounts {
    int poems = 0;
    int damaged = 0;    // lost text, encoding faults: left out
    int untitled = 0;   // 失调名 or a name lost to □
    int smallTunes = 0; // under a 词牌 of fewer than 10 poems
    int noForm = 0;     // under a 词牌 of 10 or more, in none of its forms
    int inForms = 0;
    int tunesWithoutForm = 0; // 10 poems or more, but no line structure written by 3 of them
};

struct DerivedCipu {
    QList<DerivedTune> tunes; // most written first
    CipuCounts counts;
    QStringList joined;  // "木兰花令 → 玉楼春 (令慢)": names brought together
    QStringList refused; // names kept apart because their forms differ
};

DerivedCipu deriveCipu(const QList<CorpusCi> &corpus, const CiLookup &lookup);

} // namespace builddb
