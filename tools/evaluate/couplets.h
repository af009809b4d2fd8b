// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QString>
#include <QTextStream>

#include <memory>

// The pair table of date/classics.db and the 对仗 check measured on the 律诗 of 唐诗三百首, as
// Markdown for docs/DUIZHANG.md; asPrinted: their text as the anthology prints it, in traditional
// characters. Returns the exit status.
int evaluateCouplets(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &classicsPath,
                     const QString &dist, bool asPrinted, QTextStream &out);
