// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/core/loaderror.h"

#include <memory>

namespace prosody {

// Reads the reference file (date/rhymebooks.db): the four rhyme books, the modern readings, the 词谱,
// and keeps the file open for the word readings. Throws LoadError when the file is missing, damaged
// or of another kind.
std::shared_ptr<const RhymeBooks> loadRhymeBooks(const QString &path);

} // namespace prosody
