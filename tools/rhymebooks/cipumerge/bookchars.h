// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/converter.h"

#include <QString>

namespace cipumerge {

// The book's characters as the rhyme books and the corpus write them: its old and variant forms
// folded to the standard traditional form (栁 → 柳, 㸃 → 點), then simplified through OpenCC; a
// character Unicode lacks (written &KR1324;) becomes □, a character without a reading. One
// character in, one out, so that the places the notes name stay where they are.
//
// This is the one seam between the book's writing and ours: a table of variants shared with the
// rhyme books replaces the folding here when it lands.
class BookCharacters {
public:
    explicit BookCharacters(const builddb::Converter &t2s);
    QString operator()(const QString &printed) const;

private:
    const builddb::Converter &m_t2s;
};

} // namespace cipumerge
