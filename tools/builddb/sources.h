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
    QString unihanFile(const QString &name) const;
};

// Each reader throws BuildError naming the file when it is missing or cannot be read.
QByteArray readFile(const QString &path);
QByteArray readBzip2File(const QString &path);

// A JSON file whose top level is an object or an array, as the caller expects.
QJsonDocument readJsonFile(const QString &path);
QJsonObject readJsonObject(const QString &path);
QJsonArray readJsonArray(const QString &path);

} // namespace builddb
