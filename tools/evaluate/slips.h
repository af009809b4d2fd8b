// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QTextStream>

#include <memory>

// A poet's slip: each regulated poem of 唐诗三百首 (its lines all of 5 or 7 characters, 4 or 8 of them)
// with one character doubled or dropped in one line, checked in 自动 on its own — how many are still
// read as 诗 (with the slip reported), how many are taken for a 词 and which.
int slips(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &dist, QTextStream &out);
