// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cicorpus.h"
#include "tools/rhymebooks/ciform.h"
#include "tools/rhymebooks/rhymebooks.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace builddb {

CiLookup ciLookupOf(const RhymeBooks &books);

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
    // From 御定词谱, where the 词牌 is one of its 调:
    QString bookName; // as printed: 念奴嬌
    int juan = 0;
    int bookOrder = 0; // 1-based place in the book; 0 outside it
    QString origin;    // the note on its origin and other names, as printed
};

// What the derivation counted, for the build's log and the 词谱概况 table.
struct CipuCounts {
    int poems = 0;
    int damaged = 0;    // lost text, encoding faults: left out
    int untitled = 0;   // 失调名 or a name lost to □
    int smallTunes = 0; // under a name of a single poem (not a handbook 词牌)
    int noForm = 0;     // under a 词牌, in none of its forms
    int inForms = 0;
};

struct DerivedCipu {
    QList<DerivedTune> tunes; // most written first
    CipuCounts counts;
    RhymeSharing sharing;
    QStringList joined;  // "木兰花令 → 玉楼春 (令慢)": names brought together
    QStringList refused; // names kept apart because their forms differ
};

// Every 词牌 of two poems or more (one, for a name of the handbook list) with its forms: the commonest
// line structure as the main form, each other structure of enough poems as a variant.
DerivedCipu deriveCipu(const QList<CorpusCi> &corpus, const CiLookup &lookup);

} // namespace builddb
