// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/ciformref.h"
#include "prosody/ci/cipu.h"
#include "prosody/core/tones.h"
#include "prosody/couplet/couplet.h"
#include "prosody/findings/finding.h"
#include "prosody/text/reader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace prosody {

struct LineCheck {
    Line line;
    QList<ToneClass> tones;
    QString pattern;     // the template, 中 where it leaves a position free; empty when not judged
    bool rhymed = false; // a rhyme position of the form
    // For a 词: the share in percent of the poems behind each position of the pattern (the class
    // they lean to, as CiPosition::percent()), the rhyme run of the line's end (0 for none), and the
    // line of the form it stands for (0-based; -1 for a line the form has no place for).
    QList<int> shares;
    QStringList tips; // for a 词: what each character's position asks, with its counts (CiPosition::tip)
    int rhymeRun = 0;
    int formLine = -1;
    QString rhymeGroup; // for a 词 of several rhyme runs: the group of this line's run ("第七部")
};

// The verdict on one poem: its lines with their classes and template, the form it was judged as, and
// what was found.
struct PoemCheck {
    Poem poem;
    Book book = Book::Pingshui;
    QString form;    // "七言绝句"; empty when the lines make no regulated form
    QString variant; // "平起首句入韵"
    QString rhyme; // the rhyme group shared by the rhyme characters; for a 词 that changes rhyme, its runs:
                   // "换韵：第1、2句仄韵第十七部，第3、4句平韵第十二部"
    QList<LineCheck> lines;
    QList<Finding> findings; // in the order of the poem: faults, warnings and 拗救 together
    // For a 词: the form it was checked against, whole, for drawing the pattern beside the poem
    // (with the lines the poem lacks); form is then the 词牌 and variant the form's name.
    std::optional<CiForm> ciForm;
    // For a 律诗, an 排律 and a 对联: each couplet judged as 对仗, in the order of the poem (none
    // without the classics' pairs).
    QList<Couplet> couplets;
    // For a 词 recognised in 自动: other 词牌 or forms that fit almost as well, best first.
    QList<CiFormRef> ciAlternatives;
    // A 诗 still being written: the lines of its form not yet written, as their templates, and the
    // characters its last line still lacks.
    struct PendingLine {
        QString pattern; // "平平中仄仄"
        bool rhymed = false;
    };
    QList<PendingLine> pending;
    int unfinishedChars = 0;

    bool ok() const;
    // Whether a finding of the kind is among the findings.
    bool has(FindingKind kind) const;
    int faultCount() const;
    bool isCi() const { return ciForm.has_value(); }
    bool inProgress() const { return !pending.isEmpty() || unfinishedChars > 0; }
    // Where a poem being written stands: "已写6句，尚缺2句", "已写3句，第4句尚缺2字".
    QString progress() const;
    // What a finished text lacks, as one finding ("尚缺2句", "第4句尚缺2字"), for a check of a text
    // that should be whole; none for a poem that is not in progress.
    std::optional<Finding> unfinished() const;
    // "七言绝句 · 平起首句入韵 · 下平七阳 · 合律" or "浣溪沙 · 正体 · 第七部 · 合谱", or with the number
    // of faults.
    QString summary() const;
    // Faults first, then warnings, then the accepted 拗救; in the order of the poem within each.
    QList<Finding> sortedFindings() const;
    // Puts the findings in the order of the poem (line, then position), keeping the order of equals.
    void sortFindings();
};

} // namespace prosody
