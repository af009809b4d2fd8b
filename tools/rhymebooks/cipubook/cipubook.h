// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"

#include <QString>

namespace cipubook {

// 御定词谱 (1715) read from its text (data/yuding-cipu): every 调 with its forms (体), each form's
// heading, example 词 and the editors' note, and which characters the note makes free.
//
//   const CipuBook book = readCipuBook(dir);
//   for (const BookTune &tune : book.tunes)
//       for (const BookForm &form : tune.forms)
//           … form.heading.characters, form.example.stanzas[s].lines[l].text, form.free …
//   const QList<Finding> findings = selfCheck(book); // tools/rhymebooks/cipubook/selfcheck.h

// Reads 卷一 … 卷四十 (KR4j0086_001.txt … _040.txt) of dir. Throws BookError (bookerror.h) when a file
// cannot be read.
CipuBook readCipuBook(const QString &dir);

// One 卷 from its text in the files' format (its table of contents, then its body); 卷四十 is read as
// the 附编.
CipuBook readCipuJuan(const QString &text, int juan);

} // namespace cipubook
