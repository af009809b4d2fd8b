// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/converter.h"

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
// The 五代 词 under dist/wudaishici: 花间集 by 卷, then 南唐二主词. Throws BuildError.
QList<CorpusCi> readWudaiCi(const QString &dist, const Converter &t2s);

// The parts of a written name that name a tune, each in its usual writing: "醉落魄・一斛珠" gives both,
// "一翦梅" gives 一剪梅; a part lost to □, 自度曲 (a tune of the poet's own) and 失调名 (the name is
// lost) give none.
QStringList tuneNameParts(const QString &written);

} // namespace builddb
