// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/findings/poemcheck.h"
#include "prosody/request/checkrequest.h"

#include <QString>

#include <memory>

// shihai-gelv --suggest LINE:PLACE: the words of the classics for one place of the first poem of a draft.
namespace gelvcli {

struct SuggestAt {
    int line = 0;  // 1-based line of the poem
    int place = 0; // 1-based place in the line: the word fills it and those after
};

// "3:4" or "3：4"; nullopt for anything else.
std::optional<SuggestAt> parseSuggestAt(const QString &text);

// Writes the words, best first, as text or one line of JSON. Returns the exit status: 0 when words are
// offered, 1 when none fits, 2 when the place is not in the poem or the classics file cannot be read
// (message on standard error).
int suggest(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &classicsPath,
            const QString &text, const prosody::CheckRequest &request,
            const QList<prosody::PoemCheck> &checks, SuggestAt at, bool json);

} // namespace gelvcli
