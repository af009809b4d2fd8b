// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktext.h"

#include <QStringList>

namespace cipubook {

// The other names a 调's origin note gives in so many words: "…因名大江東去又名酹江月…", a name
// taken only where the note plainly ends it (another 名, 按, 此調, 見, the note's end …), since the
// note runs names and prose together.
QStringList originAliases(TextView origin);

// The note names this name after a 名 ("詞名", "又名", "更名"), its variant forms folded.
bool originNames(TextView origin, TextView name);

} // namespace cipubook
