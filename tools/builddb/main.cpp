// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/classics.h"
#include "tools/cli/commandline.h"
#include "tools/common/builderror.h"
#include "tools/dictionary/builder.h"
#include "tools/rhymebooks/reference.h"

#include <QCoreApplication>

#include <cstdio>

using namespace builddb;

int main(int argc, char **argv)
{
    cli::CommandLine line(
        QStringLiteral("shihai-builddb"),
        QStringLiteral("用已安装的数据包生成诗海拾贝的词典数据库 OUTPUT（韵表、词语、成语与古典作品），"
                       "已有的 OUTPUT 从不覆盖。加 --rhymebooks 或 --classics 时改为生成参考文件"
                       "（韵书，或古典诗词及其全文索引），参考文件可以覆盖。"));
    line.addUsage(QStringLiteral("[选项] OUTPUT"));
    line.addUsage(QStringLiteral("--rhymebooks FILE [选项]"));
    line.addUsage(QStringLiteral("--classics FILE [选项]"));
    const BuildOptions defaults;
    const QCommandLineOption sources(
        QStringLiteral("sources"),
        QStringLiteral("含有 node_modules/ 的文件夹（默认：%1）。").arg(defaults.sources.root),
        QStringLiteral("DIR"), defaults.sources.root);
    const QCommandLineOption unihan(
        QStringLiteral("unihan"),
        QStringLiteral("含有 Unihan_*.txt.bz2 的文件夹（默认：%1）。").arg(defaults.sources.unihan),
        QStringLiteral("DIR"), defaults.sources.unihan);
    const QCommandLineOption rhymeBooks(
        QStringLiteral("rhymebooks"),
        QStringLiteral("在 FILE 生成韵书参考文件（平水韵、词林正韵、中华新韵、中华通韵）。"),
        QStringLiteral("FILE"));
    const QCommandLineOption classics(
        QStringLiteral("classics"),
        QStringLiteral("在 FILE 生成古典诗词参考文件（全唐诗、宋词与蒙学读本，及其全文索引和韵脚字）。"),
        QStringLiteral("FILE"));
    const QCommandLineOption books(
        QStringLiteral("books"),
        QStringLiteral("与 --classics 同用：统计韵脚字所据的韵书文件（默认：FILE 旁边的 rhymebooks.db）。"),
        QStringLiteral("FILE"));
    const QCommandLineOption ifOutdated(
        QStringLiteral("if-outdated"),
        QStringLiteral(
            "与 --rhymebooks 或 --classics 同用：FILE 的数据版本已与这些数据源相符时不重新生成。"));
    line.addOptions({sources, unihan, rhymeBooks, classics, books, ifOutdated});
    line.addArgument(QStringLiteral("OUTPUT"), QStringLiteral("要生成的词典数据库文件。"));
    line.addNote(QStringLiteral("退出状态：0 完成，1 生成失败，2 选项有误。"));
    if (const std::optional<int> done = line.parse(argc, argv))
        return *done;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("shihai-builddb"));

    const bool reference = line.isSet(rhymeBooks) || line.isSet(classics);
    if (line.isSet(rhymeBooks) && line.isSet(classics))
        return line.mistake(QStringLiteral("--rhymebooks 与 --classics 一次只能用一个"));
    if (line.positional().size() != (reference ? 0 : 1))
        return line.mistake(reference ? QStringLiteral("生成参考文件时不要 OUTPUT")
                                      : QStringLiteral("要一个 OUTPUT 文件"));

    QTextStream out(stdout);
    if (line.isSet(classics)) {
        ClassicsOptions options;
        options.output = line.value(classics);
        options.rhymeBooks = line.value(books);
        options.sources.root = line.value(sources);
        options.sources.unihan = line.value(unihan);
        options.onlyIfOutdated = line.isSet(ifOutdated);
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
        options.output = line.value(rhymeBooks);
        options.sources.root = line.value(sources);
        options.sources.unihan = line.value(unihan);
        options.onlyIfOutdated = line.isSet(ifOutdated);
        try {
            buildReferenceFile(options, out);
        } catch (const BuildError &error) {
            std::fprintf(stderr, "shihai-builddb: %s\n", error.what());
            return 1;
        }
        return 0;
    }

    BuildOptions options;
    options.output = line.positional().first();
    options.sources.root = line.value(sources);
    options.sources.unihan = line.value(unihan);

    try {
        buildDatabase(options, out);
    } catch (const BuildError &error) {
        std::fprintf(stderr, "shihai-builddb: %s\n", error.what());
        return 1;
    }
    return 0;
}
