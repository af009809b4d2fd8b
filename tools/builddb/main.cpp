#include "tools/classics/classics.h"
#include "tools/common/builderror.h"
#include "tools/dictionary/builder.h"
#include "tools/rhymebooks/reference.h"

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
        "installed data packages. An existing OUTPUT is never replaced. With --rhymebooks or --classics it "
        "builds a reference file instead (the rhyme books, or the classics with their full-text index), "
        "which it replaces freely."));
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
    const QCommandLineOption classics(
        QStringLiteral("classics"),
        QStringLiteral(
            "Build the reference file of the classics (全唐诗, 宋词 and the primers, their full-text "
            "index and rhyme words) at FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption books(
        QStringLiteral("books"),
        QStringLiteral("With --classics: the rhyme books to count rhyme words in (default: rhymebooks.db "
                       "beside FILE)."),
        QStringLiteral("FILE"));
    const QCommandLineOption ifOutdated(
        QStringLiteral("if-outdated"),
        QStringLiteral("With --rhymebooks or --classics: leave FILE alone when it holds the data version of "
                       "these sources."));
    parser.addOption(sources);
    parser.addOption(unihan);
    parser.addOption(rhymeBooks);
    parser.addOption(classics);
    parser.addOption(books);
    parser.addOption(ifOutdated);
    parser.process(app);

    const bool reference = parser.isSet(rhymeBooks) || parser.isSet(classics);
    if (parser.positionalArguments().size() != (reference ? 0 : 1) ||
        (parser.isSet(rhymeBooks) && parser.isSet(classics)))
        parser.showHelp(2);

    QTextStream out(stdout);
    if (parser.isSet(classics)) {
        ClassicsOptions options;
        options.output = parser.value(classics);
        options.rhymeBooks = parser.value(books);
        options.sources.root = parser.value(sources);
        options.sources.unihan = parser.value(unihan);
        options.onlyIfOutdated = parser.isSet(ifOutdated);
        try {
            buildClassicsFile(options, out);
        } catch (const BuildError &error) {
            std::fprintf(stderr, "shihai-builddb: %s\n", error.what());
            return 1;
        }
        return 0;
    }
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
