// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/rhymegroups.h"

#include <optional>
#include <span>

// What this program adds to the data for the classical rhyme books, each list in ourlists.cpp with
// what it is for.
namespace builddb {

// A classical reading: tone, rhyme family by its 平聲 base name, 開合 (0 when the family has none).
struct OurReading {
    char32_t hanzi;
    char16_t tone;
    char16_t rhyme;
    char16_t hu;
};

struct OurKeep {
    char32_t hanzi;
    char16_t tone;
};

// Common characters the 廣韻 lacks in every form.
std::span<const OurReading> ourReadings();
// Readings poets use that the 廣韻 lacks for a character it has; added after the filter.
std::span<const OurReading> ourAdditions();
// Classical readings the reflex filter would drop but that poets use.
std::span<const OurKeep> ourKeeps();
// Readings the classics rhyme on that the books lacked, from their audit: added before the reflex
// filter and kept by it, so that a modern reading decides between the others (娆 平 drops the 上 and
// 去 of the 廣韻's 嬈, which is another word).
std::span<const OurReading> classicsMends();

// The tone a character 平, 上, 去 or 入 names.
std::optional<Tone> toneOf(char16_t c);

} // namespace builddb
