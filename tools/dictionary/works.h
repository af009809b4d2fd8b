// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/converter.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace builddb {

// The five categories of 作品 with the mark each is paired with.
struct Category {
    QString name;
    QString mark;
};
const QList<Category> &categories();
QString markOf(const QString &category);

// One row of 作品 without its date, which is the build day.
struct Work {
    QString title;
    QString category;
    QString author;
    QString source;
    QString remarks;
    QString content;
    int count = 1;
};

// Each reader takes chinese-poetry's dist folder, converts every text to simplified characters
// and throws BuildError naming the file on a missing or malformed source.

// The poets of 唐诗三百首 (anonymous entries left out).
QSet<QString> tangPoets(const QString &dist, const Converter &t2s);

// 甲类: the series ("秋兴八首") of the given poets in 全唐诗, one row per series.
QList<Work> seriesWorks(const QString &dist, const QSet<QString> &poets, const Converter &t2s);

// 乙类: the regulated verse (绝句, 律诗) of 唐诗三百首 and 千家诗, without repeats.
QList<Work> regulatedVerse(const QString &dist, const Converter &t2s);

// 丙类: 宋词三百首, 花间集, 南唐二主词 and the 词 of 纳兰性德.
QList<Work> ciWorks(const QString &dist, const Converter &t2s);

// 丁类: the 散曲 of 元曲, a 套数 with all its tunes in one row.
QList<Work> sanquWorks(const QString &dist, const Converter &t2s);

// 戊类: 诗经, 楚辞 and the ancient-style verse and 乐府 of 唐诗三百首.
QList<Work> ancientVerse(const QString &dist, const Converter &t2s);

} // namespace builddb
