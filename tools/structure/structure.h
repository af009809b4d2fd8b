#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The shape of the source tree: which units include which (a header and its source count as one unit,
// named by their path without the extension), the include circles between units, the files of the
// libraries over the length limit, and which top-level folder includes which.
namespace structure {

// The libraries, lowest first: a library includes only those before it.
const QStringList &libraries();

struct Options {
    bool withTests = false;          // tests/ and bench/ count for the circles too
    int longest = 450;               // lines a file of a library may have
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
    QStringList folders;                      // of the layer matrix, in layer order
    QMap<QString, QMap<QString, int>> layers; // including folder -> included folder -> includes
    QList<Include> upward;                    // a library including one above it

    // True when nothing but known exceptions was found.
    bool clean() const;
};

// Reads every .h and .cpp file under root (never build*/, node_modules/ or hidden folders; tests/ and
// bench/ only with withTests, except for the layer matrix, which shows them).
Report analyse(const QString &root, const Options &options);
// The report as text for a terminal.
QString describe(const Report &report, const Options &options);

} // namespace structure
