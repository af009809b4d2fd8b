// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/dictionary/rhymes.h"
#include "tools/rhymebooks/opencctables.h"
#include "tools/rhymebooks/unihanextra.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

namespace builddb {

// Where the table of written forms looks for the standard character a form stands for.
struct VariantSources {
    const HanziTable &standard; // the 通用规范汉字表: the targets, the commonest (lowest rank) first
    const UnihanExtras &unihan;
    // OpenCC's conversions to simplified characters, the one to trust first first (t2s, tw2s, hk2s,
    // jp2t then t2s).
    QList<CharacterConversion> opencc;
};

// Written forms and the standard characters they stand for (衆 → 众, 樣 → 样, 栁 → 柳), for every
// character outside the 通用规范汉字表 that a source links to a standard one; standard characters
// stand for themselves (乾 stays 乾 though OpenCC makes it 干 alone).
struct VariantTable {
    QMap<char32_t, char32_t> standardOf;
    // Forms only a semantic or Z variant links (鴈 → 雁, 閞 → 开): the same word as often as not, so the
    // books keep such a form under its own readings when they are not its standard character's.
    QSet<char32_t> weak;
    // Forms of the Qing prints from our own list: read as their standard character, but lending it
    // only readings it has (玊 is also a word sù of its own, none of 玉's).
    QSet<char32_t> printForms;
    // Standard characters that are also the traditional form of another (徵 of 征, 乾 of 干): a text
    // converted from simplified characters writes them where the other is meant (孤蓬萬里徵).
    QMap<char32_t, char32_t> alsoFor;
    // How many forms each kind of link settled, by its name ("OpenCC", "Unihan 简繁", "Unihan 异体",
    // "ours").
    QMap<QString, qsizetype> bySource;
};

// Each form takes the first link that reaches a standard character: our own lists (old forms of the
// Qing prints that no source links, and the 廣韻's own forms of a few characters); OpenCC; Unihan's
// simplified and traditional links; then its semantic and Z variants and their simplified forms, the
// simplified form of its traditional form, and its variants of a narrower sense. Among several
// standard characters one link reaches, the commonest wins.
VariantTable buildVariantTable(const VariantSources &sources);

} // namespace builddb
