// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/findings/poemcheck.h"

namespace prosody {

// Warnings for characters the book cannot class (未知) or classes only by another basis (今读).
QList<Finding> characterNotes(const RhymeBooks &books, Book book, const QList<LineCheck> &lines);

} // namespace prosody
