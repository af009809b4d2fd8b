// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace cipubook {

// The book's text by characters: several of its characters lie outside the BMP, and a character
// Unicode lacks is written as an entity (&KR1324;), which counts as one character and reads back as
// written.
using Text = std::u32string;
using TextView = std::u32string_view;

Text toText(QStringView text);
QString toQString(TextView text);

// The full-width space: an indent, a gap between 段, a gap in small print.
constexpr char32_t kBlank = U'\u3000';

// 一 … 九十九 and the hundreds as the book writes them (一百二 102, 一百十 110, 二百四十 240); 兩 is 二.
// -1 when the text is not one numeral.
int numeral(TextView text);
bool isNumeralChar(char32_t c);

bool startsWith(TextView text, TextView prefix);
bool contains(TextView text, TextView part);

} // namespace cipubook
