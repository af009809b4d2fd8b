// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cicorpus.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace builddb {

// What the derivation knows of a character: its 平水韵 classes and its 部 in the 词林正韵.
struct CiCharInfo {
    bool ping = false;
    bool ze = false;
    QList<int> sections; // 1 to 19
};
using CiLookup = QHash<char32_t, CiCharInfo>;

// A 词 of the corpus read into lines.
struct CorpusPoem {
    int index = 0;
    QString author;
    QString opening; // the first paragraph
    QList<QList<char32_t>> lines;
    QList<bool> sentenceEnds; // the line closes a sentence (。！？ or the paragraph's end)
    QString structure;        // "7,7,7,7,7,7"
};

// Lines split where the metre check's reader splits them; lost characters (□) hold their place. A
// bracketed note is dropped; the poem is damaged (nullopt) when a note says text is lost, when it
// holds an encoding fault or when nothing is left.
std::optional<CorpusPoem> readCorpusPoem(const CorpusCi &ci);

QList<int> lengthsOf(const QString &structure);

// One position of a form and the poems' characters there.
struct DerivedPosition {
    QChar tone; // 平 or 仄 where at least 85% of the poems with a known class agree, else 中
    int ping = 0;
    int ze = 0;
    int both = 0;    // characters of both classes
    int unknown = 0; // characters without a class (and lost characters, □)
    // What 御定词谱 writes here: 平 or 仄 (its example's class), 中 (its note frees the place, or the
    // example's character reads both ways), 缺 (a character without a reading); null where the form is
    // not the book's.
    QChar book;
};

struct DerivedLine {
    int length = 0;
    int rhymeRun = 0; // 0: no rhyme; 1, 2 … the runs of one rhyme, in the order they begin
    QChar rhymeTone;  // 平 or 仄 at a rhyme
    int rhymed = 0;   // poems whose character here shares a 部 with another rhyme of its run
    QList<DerivedPosition> positions;
    // The book's marks, where the form is the book's: the pauses (读) inside the 句, after that many
    // characters, and how the 句 ends: 句, 韵, 叶, 叠 or 重, with the tone and 换 the book prints
    // ("仄韵", "换平韵").
    QList<int> dou;
    QString mark;
};

// Where a form of the 词谱 comes from: the corpus's poems, 御定词谱, or both (a corpus form matched to
// the book's 体 of the same structure).
enum class FormSource : quint8 { Corpus, Book, Both };

struct DerivedForm {
    int number = 1; // 1: the main form (正体); 2 …: the variants (又一体) by use
    int poems = 0;
    int authors = 0; // the poets of its poems
    QList<DerivedLine> lines;
    int stanzaBreak = 0; // 1-based line that begins the second 片, inferred; 0 when none is
    QString scheme;      // 平韵, 仄韵, 换韵 or 平仄通叶
    QString example;     // "晏殊：一曲新词酒一杯。"
    QList<int> lengths() const;

    // From 御定词谱 (source Book or Both):
    FormSource source = FormSource::Corpus;
    int bookNumber = 0; // 1 正体, 2 … each 又一体 in the book's order; 0 outside the book
    QString author;     // the book's example's author
    int juan = 0;       // its 卷
    QString note;       // the editors' note after the example, as printed
    QString bookText; // the example with its marks: "凭空眺远（句）见长空万里（句）云无留迹（韵）…"
    bool compared = false;   // the note frees characters on the evidence of other poems
    QList<int> stanzaStarts; // 0-based lines that begin each 段 after the first (the book's 段)
};

// How often the poems rhyme one 部 with another: for each rhyme run of each poem, its 部 (the one most
// of its rhymes share) and the 部 of each rhyme outside it (a character of that 部 alone), once per
// poem and pair. Keys are 部 numbers 1 to 19.
struct RhymeSharing {
    QHash<std::pair<int, int>, int> pairs; // (run's 部, the other 部) → poems
    QHash<int, int> runs;                  // 部 → poems with a run in it
};

// The form written by these poems (one line structure): each position's counts, the rhyme runs, the
// 片 break, the example; the rhymes across 部 are added to sharing.
DerivedForm deriveForm(const QList<const CorpusPoem *> &poems, const CiLookup &lookup, RhymeSharing &sharing);

} // namespace builddb
