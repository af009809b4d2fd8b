// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The shape of the source tree: which units include which (a header and its source count as one unit,
// named by their path without the extension), the include circles between units, the files of code
// over the length limit, and which layer includes which.
namespace structure {

// The libraries, lowest first: a library includes only those before it.
const QStringList &libraries();
// The rooms of the builders in tools/, lowest first, above the libraries: a room includes the
// libraries and the rooms before it. The other folders of tools/ hold commands, above every room.
const QStringList &toolRooms();
// The layer of a file: its top-level folder, or for a file in a folder of tools/ that folder.
QString layerOf(const QString &path);

struct Options {
    bool withTests = false;          // tests/ and bench/ count for the circles too
    int longest = 450;               // lines a file of code may have (tests and benchmarks aside)
    QStringList knownLong;           // files over the limit for now, by path from the root
    QList<QStringList> knownCircles; // circles allowed for now, each by its units
};

struct Include {
    QString file; // the including file, from the root
    int line = 0;
    QString target; // the included file, from the root
};

struct Circle {
    QStringList units;       // sorted
    QList<Include> includes; // every include between two of its units
    bool known = false;
};

struct LongFile {
    QString file;
    int lines = 0;
    bool known = false;
};

struct Report {
    QList<Circle> circles;
    QList<LongFile> longFiles;
    QStringList noLongerLong;                 // known as long, but not over the limit (or gone)
    QStringList folders;                      // the layers of the matrix, in layer order
    QMap<QString, QMap<QString, int>> layers; // including layer -> included layer -> includes
    QList<Include> upward;                    // a layer of code including one above it

    // True when nothing but known exceptions was found.
    bool clean() const;
};

// Reads every .h and .cpp file under root (never build*/, node_modules/ or hidden folders; tests/ and
// bench/ only with withTests, except for the layer matrix, which shows them).
Report analyse(const QString &root, const Options &options);
// The report as text for a terminal.
QString describe(const Report &report, const Options &options);

} // namespace structure
