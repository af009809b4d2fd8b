// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Stored texts may be Rich Text Format (written by earlier editors of the same file); the program
// shows and edits such a value as its plain text.
namespace rtf {

bool isRtf(const QString &text);
// The text of an RTF document: paragraphs become line breaks; fonts, colours, pictures and other
// destinations are dropped; \'hh escapes are decoded in the document's ANSI code page.
QString toPlainText(const QString &rtf);
// The stored value shown as text: RTF converted, anything else unchanged.
QString displayText(const QString &stored);
// The value that stores a typed text: the text itself, unless it would be read as RTF; such a text
// is stored as an RTF document that holds exactly it, so displayText() gives it back unchanged.
QString fromPlainText(const QString &text);

} // namespace rtf
