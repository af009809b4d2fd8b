// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/sources.h"

#include <QList>
#include <QString>

#include <utility>

namespace builddb {

// The data packages the rhyme books are built from.
namespace rhymebookpackages {
inline const QString guangyun = QStringLiteral("tshet-uinh");
inline const QString pinyin = QStringLiteral("@pinyin-pro/data");
inline const QString poetry = QStringLiteral("chinese-poetry");
} // namespace rhymebookpackages

// Whether the tree holds the text of 御定词谱 (data/yuding-cipu); without it the 词谱 is the corpus's alone.
bool hasCipuBook(const SourcePaths &sources);

// The versions of the sources, as the 版本 table records them: the packages' and the date of Unihan.
// Reads no more than the sources' headers.
QList<std::pair<QString, QString>> sourceVersions(const SourcePaths &sources);

// The data version of a reference file built from these sources: the builder's own format and
// the versions of the sources.
QString rhymeBooksDataVersion(const SourcePaths &sources);

} // namespace builddb
