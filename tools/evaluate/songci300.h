// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"

#include <QString>

#include <memory>

namespace evaluate {

// 宋词三百首 checked in 自动 without their titles: how many are named as their 词牌 and pass, the
// faults by kind, the commonest fault texts and the first `judged` named 词 that do not pass. With
// restore, each poem is read from the main 宋词 files where they keep characters the anthology lost
// (tools/evaluate/restore.h).
int songci300(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &dist, int judged,
              bool restore);

} // namespace evaluate
