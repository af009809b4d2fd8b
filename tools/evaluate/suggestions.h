// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QString>
#include <QTextStream>

#include <memory>

// The 填字 helper measured on the regulated poems of 唐诗三百首, each with its own clauses held back:
// how often the poet's own next character begins one of the first 10 and 30 words offered, by place
// and at the rhyme, beside a plain baseline; and whether the words offered at sampled places add a
// fault. Markdown for docs/TIANZI.md. Returns the exit status.
int evaluateSuggestions(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &classicsPath,
                        const QString &dist, QTextStream &out);
