#pragma once

#include <span>

namespace builddb {

// A reading of our own: tone (平 上 去 入), rhyme family by its 平聲 base name as tshet-uinh names it, and
// 開合 (開, 合 or 0).
struct OurReading {
    char32_t hanzi;
    char16_t tone;
    char16_t rhyme;
    char16_t hu;
};

// A tone of a character's readings that the reflex filter keeps.
struct OurTone {
    char32_t hanzi;
    char16_t tone;
};

// Common characters the 廣韻 lacks in every form, with their readings in the later rhyme books.
std::span<const OurReading> ourReadings();
// Readings poets use that the 廣韻 lacks for a character it has; added after the reflex filter.
std::span<const OurReading> ourAdditions();
// Classical readings the reflex filter would drop but that poets use.
std::span<const OurTone> ourKeeps();
// Readings the classics rhyme on that the books lacked, from their audit: added before the reflex
// filter and kept by it, so that a modern reading decides between the others (娆 平 drops the 上 and
// 去 of the 廣韻's 嬈, which is another word).
std::span<const OurReading> classicsMends();

} // namespace builddb
