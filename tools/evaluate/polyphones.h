// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QTextStream>

#include <memory>

// The characters of both classes in the lines of 唐诗三百首 that their word decides in 平水韵: how many
// positions move from 中, how they agree with the 平仄 strings of chinese-poetry, by character, and
// a sample of the moved positions to read.
int polyphones(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &dist,
               QTextStream &out);
