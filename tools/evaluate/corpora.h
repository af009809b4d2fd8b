// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/converter.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace prosody {
class Cipu;
struct CiTune;
} // namespace prosody

namespace evaluate {

// A poem of an anthology as its file prints it, for pasting in several layouts.
struct SourcePoem {
    QString title;   // the poem's title, or the 词牌 (with "·题" where the file has one)
    QString author;  // the name alone
    QString dynasty; // 唐, 宋 … as the file gives it or the corpus implies
    QString filed;   // the form the anthology files it under (五言律诗 …), simplified; empty when none
    QString tune;    // for a 词: the 词牌 its file names
    QStringList printed; // the lines as the file prints them (its own characters)
    QStringList plain;   // the same in simplified characters, notes in brackets out, each with its final stop
    bool isCi() const { return !tune.isEmpty(); }
};

// The corpora the harness reads, each by its name: tang300 (唐诗三百首), song300 (宋词三百首),
// tangsample and songsample (every step-th poem of 全唐诗's regulated verse and of the 宋词, up to
// limit), and the ones kept back from tuning: qianjiashi (千家诗), shuimo (水墨唐诗), nalan (纳兰性德).
QList<SourcePoem> readCorpus(const QString &dist, const QString &name, const builddb::Converter &t2s,
                             int limit);

// The corpora a run reads: the one named, else those kept back from tuning (千家诗, 水墨唐诗, 纳兰性德)
// or those tuned on (唐诗三百首, 宋词三百首, the samples).
QStringList corpora(const QString &named, bool held);

// The 词牌 a corpus name stands for in this 词谱: "醉落魄・一斛珠" by the whole or by either part (the
// name the poet used, the usual name), which may be two 词牌 (木兰花 of its own, and 木兰花 as 玉楼春).
QList<const prosody::CiTune *> tunesOfName(const prosody::Cipu &cipu, const QString &name);

} // namespace evaluate
