// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// Small source trees for the builder's tests. The texts are made up for the tests; only their
// shape follows the data packages.
namespace fixtures {

void writeFile(const QString &path, const QByteArray &bytes);
void writeJson(const QString &path, const QJsonValue &value);
void writeBzip2(const QString &path, const QByteArray &text);

// One Unihan line: "U+573A<TAB>kTGH<TAB>2013:367".
QByteArray unihanLine(char32_t hanzi, const char *field, const QString &value);

// Writes both Unihan files into dir.
void writeUnihan(const QString &dir, const QByteArray &mappings, const QByteArray &readings);

// A complete tree under root: root/node_modules/... and root/unihan/. Needs no node for anything
// but the idiom list.
void writeSources(const QString &root);

QString poetryDist(const QString &root);

// The first column of every row a query of a built file returns, joined by blanks.
QString query(const QString &path, const QString &sql);

} // namespace fixtures
