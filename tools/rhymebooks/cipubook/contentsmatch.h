// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"
#include "tools/rhymebooks/cipubook/contents.h"

#include <QList>

namespace cipubook {

// Each entry of a 卷's table of contents paired with its 调 among tunes[firstTune…]: the same name
// (variant forms folded) first, in order and then anywhere in the 卷; then a name that differs in one
// character or by 慢/令/近/引; then the one 调 left between the 调 of the entries around it. Names
// paired though printed differently are noted in problems. -1 where no 调 is found.
QList<qsizetype> matchContents(const QList<PrintedEntry> &entries, const QList<BookTune> &tunes,
                               qsizetype firstTune, QList<ReadProblem> &problems);

} // namespace cipubook
