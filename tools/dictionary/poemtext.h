// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/converter.h"

#include <QString>
#include <QStringList>

// The texts of poems as the collections write them.
namespace builddb {

// Trimmed lines without the empty ones.
QStringList tidyLines(const QStringList &lines);
// Converts a poem's lines to simplified characters in one call, tidied.
QStringList convertLines(const QStringList &lines, const Converter &t2s);
// Takes the bracketed notes on variant readings, such as "(明年 一作：年年)", out of the lines; a
// note may run over into the next line.
QStringList takeNotes(QStringList &lines);

// A poem's text without the editors' notes in brackets (collations, sources, "按：" remarks), and
// those notes. Variant readings ("（一作「行」）") and short marks ("（疑）") stay in the text.
struct EditorialSplit {
    QString poem;
    QStringList notes;
};
EditorialSplit splitEditorialNotes(const QString &text);

// Whether two lines are one line in two copies: equal, or differing in a variant character
// (彊/强) or, in a long line, one more for every eight characters.
bool isSameLine(const QString &a, const QString &b);

// First clause of a text, up to its first punctuation mark: "白日依山尽" of "白日依山尽，黄河入海流。".
QString firstClause(const QString &text);

} // namespace builddb
