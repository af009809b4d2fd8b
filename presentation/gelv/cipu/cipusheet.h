// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/ciformref.h"

#include <QChar>
#include <QList>
#include <QString>

namespace prosody {
struct CiForm;
struct CiTune;
} // namespace prosody

// One place of a 句 in the 词谱 browser: its mark and the corpus's poems behind it.
struct CiPlaceSheet {
    QChar mark;   // ○ 平, ● 仄, ◎ 可平可仄
    int ping = 0; // poems of the corpus with a 平 character here
    int ze = 0;
    bool dou = false; // a 读 follows the place
};

struct CiLineSheet {
    QList<CiPlaceSheet> places;
    QString end; // how the 句 ends, as the book marks it: 句, 韵, 叶, 换平韵 …

    // "○○●●（读）○○●（韵）"
    QString pattern() const;
};

// One 体 of a 调 as the 词谱 browser shows it: the pattern split by 段, the example and the note of the
// book, who stands behind the marks, and the corpus's counts at each place where its poems follow it.
struct CiFormSheet {
    prosody::CiFormRef ref; // what 按此体填词 asks the check for
    QString title;          // 浣溪沙 · 正体（韩偓）
    int characters = 0;
    int juan = 0;         // 0: a form of the corpus alone
    QString tier;         // 据词作 850 首, 据谱（例词及注）, 据谱（例词，无别首可校）
    QString evidence;     // 据 850 首，312 家; 据谱（例词及注） · 词作 3 首，2 家
    QString author;       // of the example
    QString example;      // the book's with its marks, else the corpus's opening lines
    QString note;         // the editors', as printed
    bool counted = false; // the corpus's poems stand behind the counts
    QList<QList<CiLineSheet>> stanzas;

    // Each 段 a line of its 句, the 段 apart by " ｜ ".
    QString pattern() const;
};

CiFormSheet sheetOf(const prosody::CiTune &tune, const prosody::CiForm &form);

// 卷一 … 卷四十; 谱外 for 0, a 调 or form the book lacks.
QString juanName(int juan);
