// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The lines of the plain-text format of works, read and written alike: a title line, the text's
// lines, a blank line between works. Everything a work holds reads back exactly, yet an ordinary
// text file of poems reads as it looks:
// - an empty line inside a text is written as one ideographic space, which reads as blank;
// - a line that would otherwise be misread (an empty or blank title, a blank line of other white
//   space, a line beginning with a backslash, a control character such as a line break in a title)
//   is written as a backslash followed by the line with \\, \n, \r and \xHH escapes.
namespace plainlines {

// The line standing for an empty line inside a work.
inline constexpr QChar innerBlank = QChar(0x3000);

// Every character white space (or none).
bool isBlank(QStringView line);
// A line that ends a work when read: blank, and not the inner blank.
bool isSeparator(QStringView line);

// Writing.
QString titleLine(const QString &title);
QStringList textLines(const QString &text);

// Reading: a title line, or a line inside a work, back to what it stands for.
QString readTitle(QStringView line);
QString readTextLine(QStringView line);

} // namespace plainlines
