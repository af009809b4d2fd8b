// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// How lines go into the full-text index of date/classics.db and how a search text becomes a query of
// it. The builder and the search share these, so that both read a line the same way.
namespace classics {

// The text the index holds for a line: each Chinese character (prosody::isVerseChar) a token, any
// run of other characters (punctuation, blanks, □) one token "0", all separated by blanks:
// "白日依山尽，黄河" → "白 日 依 山 尽 0 黄 河".
QString indexedText(const QString &line);

// The runs of Chinese characters in a text to search for; anything else separates them:
// "明月，春风" → {"明月", "春风"}; empty when the text holds no Chinese character.
QStringList searchRuns(const QString &text);

// The FTS5 query that finds the lines holding every run, each as a phrase of its characters.
QString matchExpression(const QStringList &runs);

} // namespace classics
