// shihai-structure: shows the structure of the source tree — include circles, over-long files of code,
// includes reaching up, the layer matrix — and exits 1 when there is any of them not known.
#include "tools/structure/structure.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("shihai-structure"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Include circles, long files and layers of the sources."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("srcdir"), QStringLiteral("The source tree (default: .)."));
    const QCommandLineOption all(QStringLiteral("all"),
                                 QStringLiteral("Check tests/ and bench/ for circles too."));
    const QCommandLineOption limit(QStringLiteral("limit"), QStringLiteral("Lines a file of code may have."),
                                   QStringLiteral("lines"), QStringLiteral("450"));
    const QCommandLineOption knownLong(QStringLiteral("known-long"),
                                       QStringLiteral("A file allowed over the limit for now (repeatable)."),
                                       QStringLiteral("path"));
    const QCommandLineOption knownCircle(
        QStringLiteral("known-circle"),
        QStringLiteral("A circle allowed for now, its units separated by commas (repeatable)."),
        QStringLiteral("units"));
    parser.addOptions({all, limit, knownLong, knownCircle});
    parser.process(app);

    structure::Options options;
    options.withTests = parser.isSet(all);
    bool ok = false;
    options.longest = parser.value(limit).toInt(&ok);
    const QString root = parser.positionalArguments().value(0, QStringLiteral("."));
    if (!ok || options.longest <= 0 || !QDir(root).exists()) {
        QTextStream(stderr) << "shihai-structure: "
                            << (ok ? "no such folder: " + root : "--limit takes a number") << Qt::endl;
        return 2;
    }
    options.knownLong = parser.values(knownLong);
    for (const QString &units : parser.values(knownCircle))
        options.knownCircles.append(units.split(u',', Qt::SkipEmptyParts));

    const structure::Report report = structure::analyse(root, options);
    QTextStream(stdout) << structure::describe(report, options) << Qt::flush;
    return report.clean() ? 0 : 1;
}
