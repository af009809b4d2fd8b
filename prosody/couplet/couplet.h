// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace prosody {

// How one aligned unit of a couplet stands against its partner, on the evidence of the classics
// (evidence.h): 工对, 宽对, or 未对 (no evidence, or evidence against).
enum class Parallel { Strict, Loose, None };
QString parallelName(Parallel p); // 工对 宽对 未对
QString parallelMark(Parallel p); // 工 宽 未对
// 1 to 99 in Chinese numerals: 七, 十一, 二十三.
QString chineseNumeral(int n);

// A unit of the rhythm (two characters, or one) at the same place in both lines.
struct CoupletUnit {
    int from = 0; // 0-based character of the line
    int length = 0;
    QString upper;
    QString lower;
    Parallel judgement = Parallel::None;
    int count = 0; // middle couplets of the classics that set these two against each other

    bool operator==(const CoupletUnit &) const = default;
};

// The judgement of two lines as a couplet (a couplet of a poem, or the two lines of a 对联).
struct Couplet {
    int upperLine = 0; // 0-based lines of the poem
    int lowerLine = 1;
    QString name;        // 首联 颔联 颈联 尾联, 第N联 or 对联
    bool middle = false; // a couplet the form wants parallel
    QList<CoupletUnit> units;
    QList<int> sameChar; // 0-based positions holding the same character in both lines (同字相对)
    bool alike = false;  // 合掌: the lines say the same thing
    double evidence = 0; // what the units' evidence comes to, for each character (-1 to 1)
    bool parallel = false;

    int count(Parallel p) const;
};

} // namespace prosody
