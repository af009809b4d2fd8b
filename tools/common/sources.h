// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace builddb {

// Where the data packages are installed.
struct SourcePaths {
    QString root;   // holds node_modules/ with the npm data packages
    QString unihan; // holds Debian's Unihan_*.txt.bz2

    // The default: the repository's own node_modules and Debian's unicode-data.
    static SourcePaths installed();

    QString nodeModule(const QString &relative) const;
    // The text of 御定词谱 (data/yuding-cipu under root); a tree without it builds the corpus's 词谱 alone.
    QString cipuBook() const;
    QString unihanFile(const QString &name) const;
};

// Each reader throws BuildError naming the file when it is missing or cannot be read.
QByteArray readFile(const QString &path);
QByteArray readBzip2File(const QString &path);
// At least the first bytes of a bzip2 file (all of it when shorter), without unpacking the rest.
QByteArray readBzip2Head(const QString &path, qsizetype bytes);

// A JSON file whose top level is an object or an array, as the caller expects.
QJsonDocument readJsonFile(const QString &path);
QJsonObject readJsonObject(const QString &path);
QJsonArray readJsonArray(const QString &path);

// Runs a node script with the package's folder as its first argument and reads the JSON it writes.
QJsonDocument readThroughNode(const QString &packageDir, const QString &script);

// The version recorded in a package's package.json.
QString packageVersion(const QString &packageDir);

} // namespace builddb
