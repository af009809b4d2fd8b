// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace builddb {

// A conversion of OpenCC applied to single characters: each character its dictionaries convert → the
// character it ends as (the first of several, which OpenCC lists commonest first: 乾 → 干).
using CharacterConversion = QHash<char32_t, char32_t>;

// The conversions of OpenCC's configurations (t2s.json, tw2s.json …) on single characters, in the
// order given, read from the dictionaries each configuration chains (TWVariantsRev then TSCharacters
// for tw2s); phrases are left out. Throws BuildError naming a configuration OpenCC cannot load.
QList<CharacterConversion> readOpenccConversions(const QStringList &configs);

} // namespace builddb
