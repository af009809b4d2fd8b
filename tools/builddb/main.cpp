#include "builder.h"
#include "builderror.h"
#include "reference.h"

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
        "installed data packages. An existing OUTPUT is never replaced. With --rhymebooks it builds the "
        "reference file of the rhyme books instead, which it replaces freely."));
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
    const QCommandLineOption rhymeBooks(
        QStringLiteral("rhymebooks"),
        QStringLiteral(
            "Build the reference file of the rhyme books (平水韵, 词林正韵, 中华新韵, 中华通韵) at FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption ifOutdated(
        QStringLiteral("if-outdated"),
        QStringLiteral(
            "With --rhymebooks: leave FILE alone when it holds the data version of these sources."));
    parser.addOption(sources);
    parser.addOption(unihan);
    parser.addOption(rhymeBooks);
    parser.addOption(ifOutdated);
    parser.process(app);

    const bool reference = parser.isSet(rhymeBooks);
    if (parser.positionalArguments().size() != (reference ? 0 : 1))
        parser.showHelp(2);

    QTextStream out(stdout);
    if (reference) {
        ReferenceOptions options;
        options.output = parser.value(rhymeBooks);
        options.sources.root = parser.value(sources);
        options.sources.unihan = parser.value(unihan);
        options.onlyIfOutdated = parser.isSet(ifOutdated);
        try {
            buildReferenceFile(options, out);
        } catch (const BuildError &error) {
            std::fprintf(stderr, "shihai-builddb: %s\n", error.what());
            return 1;
        }
        return 0;
    }

    BuildOptions options;
    options.output = parser.positionalArguments().first();
    options.sources.root = parser.value(sources);
    options.sources.unihan = parser.value(unihan);

    try {
        buildDatabase(options, out);
    } catch (const BuildError &error) {
        std::fprintf(stderr, "shihai-builddb: %s\n", error.what());
        return 1;
    }
    return 0;
}
