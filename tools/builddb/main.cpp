#include "builder.h"
#include "builderror.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace builddb;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("shihai-builddb"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds the dictionary database of 诗海拾贝 (rhyme tables, words, idioms and classic works) from the "
        "installed data packages. An existing OUTPUT is never replaced."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("OUTPUT"), QStringLiteral("The database file to write."));
    const BuildOptions defaults;
    const QCommandLineOption sources(
        QStringLiteral("sources"),
        QStringLiteral("The folder holding node_modules/ (default: %1).").arg(defaults.sources.root),
        QStringLiteral("DIR"), defaults.sources.root);
    const QCommandLineOption unihan(
        QStringLiteral("unihan"),
        QStringLiteral("The folder holding Unihan_*.txt.bz2 (default: %1).").arg(defaults.sources.unihan),
        QStringLiteral("DIR"), defaults.sources.unihan);
    parser.addOption(sources);
    parser.addOption(unihan);
    parser.process(app);

    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    BuildOptions options;
    options.output = parser.positionalArguments().first();
    options.sources.root = parser.value(sources);
    options.sources.unihan = parser.value(unihan);

    QTextStream out(stdout);
    try {
        buildDatabase(options, out);
    } catch (const BuildError &error) {
        std::fprintf(stderr, "shihai-builddb: %s\n", error.what());
        return 1;
    }
    return 0;
}
