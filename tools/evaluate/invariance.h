// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QStringList>
#include <QTextStream>

#include <memory>

namespace evaluate {

// Each poem of the corpora pasted in the layouts people paste (tools/evaluate/layouts.h) and checked in
// 自动: the share whose verdict (form, variant, rhyme group, ok, faults) is that of the plain reading,
// by corpus and layout, with the first changes listed. Then the figures of reading as
// printed: regulated verse with its title and author line in traditional characters passing as the
// form the anthology files it under, and 词 a stanza a line without final stops named as their 词牌.
int invariance(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &dist,
               const QStringList &corpora, QTextStream &out);

} // namespace evaluate
