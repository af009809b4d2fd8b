// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/sources.h"
#include "tools/dictionary/pinyin.h"

#include <QHash>
#include <QList>
#include <QMultiHash>

#include <functional>

namespace builddb {

// What the rhyme books need of Unihan beyond the standard list: the variant links between
// characters, the main Mandarin reading of every character and the Cantonese readings.
struct UnihanExtras {
    QMultiHash<char32_t, char32_t> simplified;  // kSimplifiedVariant
    QMultiHash<char32_t, char32_t> traditional; // kTraditionalVariant
    QMultiHash<char32_t, char32_t> variants;    // kSemanticVariant, kZVariant
    QMultiHash<char32_t, char32_t> narrower;    // kSpecializedSemanticVariant: a narrower sense in common
    QHash<char32_t, Reading> mandarin;          // kMandarin, its first reading
    QHash<char32_t, QStringList> cantonese;     // kCantonese, jyutping with tone numbers
};

// Reads Unihan_Variants and Unihan_Readings from paths.unihan; throws BuildError naming the file.
UnihanExtras readUnihanExtras(const SourcePaths &paths);

} // namespace builddb
