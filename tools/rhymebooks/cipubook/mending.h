// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"
#include "tools/rhymebooks/cipubook/example.h"

#include <QStringList>

namespace cipubook {

struct MendedExample {
    BookExample example;
    QStringList slips; // what was read past: "「漫遲留韻」的韻读作韵号"
};

// The example as printed; where it disagrees with its heading in 字数 or rhymes, a slip of the
// transcription is read past when that and nothing less makes the example agree: the last 句 left
// without its mark (it is the 词's last rhyme), or a mark written full size among the verse
// (…漫遲留韻何事…). 韻, 句, 讀 and 叶 are also words of verse (風韻, 詩句), so only the reading the heading
// confirms is taken.
MendedExample readMendedExample(const QList<PrintedLine> &lines, const FormHeading &heading);

} // namespace cipubook
