// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace builddb {

// What the middle couplets (颔联, 颈联) of regulated verse set against each other, at each position
// and at the units of the rhythm (prosody/couplet/rhythm.h), counted both ways.
struct PairTable {
    struct Unit {
        QString text;
        int count = 0; // times at a counted place of a middle couplet, either line
        int group = 0; // 0: none
    };
    struct Pair {
        int a = 0; // units, as indices of units
        int b = 0;
        int count = 0;
        // count × ln(count ÷ expected), × 100: high for pairs both common and more frequent than
        // their units' counts explain, so that 人 and 不, which stand against everything, do not
        // crowd the pairs a poet is after.
        int score = 0;
        int outer = 0;   // the same pair in the 首联 and 尾联, for contrast
        int example = 0; // the first middle couplet holding it, as an index of couplets
    };
    // Two groups of units of one length set against each other: 100 × ln(observed ÷ expected) over
    // the counts of their pairs. Groups of 平 words stand against groups of 仄 words of the same
    // kind, so that two units of one group say little; two groups that pair say more.
    struct GroupPair {
        int a = 0;
        int b = 0;
        int score = 0;
    };
    struct Couplet {
        qint64 poem = 0;
        QString position; // 颔联 or 颈联
        QString upper;
        QString lower;
    };
    QList<Unit> units;
    QList<Pair> pairs;       // both ways, by a, then b
    QList<Couplet> couplets; // in the order of the poems
    QList<GroupPair> groupPairs;
    qsizetype poems = 0;
    int groups = 0;
    qint64 characterCount = 0; // counts of the one-character units: a pair's expected count
    // Character positions of the middle and of the outer couplets, and those whose pair the middle
    // couplets of the other poems attest too (the contrast of the issue: how much the pairs say).
    qsizetype middlePositions = 0, middleAttested = 0, outerPositions = 0, outerAttested = 0;
};

} // namespace builddb
