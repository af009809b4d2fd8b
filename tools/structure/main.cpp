// SPDX-License-Identifier: GPL-3.0-or-later
// shihai-structure: shows the structure of the source tree — include circles, over-long files of the
// libraries, the layer matrix — and exits 1 when there is a circle or an over-long file not known.
#include "tools/cli/commandline.h"
#include "tools/structure/structure.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    cli::CommandLine line(QStringLiteral("shihai-structure"),
                          QStringLiteral("显示源码树的结构：互相包含的圈、库中过长的文件、各层之间的包含。"
                                         "有圈或有未登记的过长文件时退出状态为 1。"));
    line.addUsage(QStringLiteral("[选项] [SRCDIR]"));
    const QCommandLineOption all(QStringLiteral("all"), QStringLiteral("tests/ 和 bench/ 也查包含圈。"));
    const QCommandLineOption limit(QStringLiteral("limit"),
                                   QStringLiteral("库中一个文件最多的行数（默认 450）。"),
                                   QStringLiteral("LINES"), QStringLiteral("450"));
    const QCommandLineOption knownLong(QStringLiteral("known-long"),
                                       QStringLiteral("暂且允许超过行数的文件（可重复）。"),
                                       QStringLiteral("PATH"));
    const QCommandLineOption knownCircle(QStringLiteral("known-circle"),
                                         QStringLiteral("暂且允许的包含圈，各单元以逗号分隔（可重复）。"),
                                         QStringLiteral("UNITS"));
    line.addOptions({all, limit, knownLong, knownCircle});
    line.addArgument(QStringLiteral("SRCDIR"), QStringLiteral("源码树（默认：当前目录）。"));
    line.addNote(QStringLiteral("退出状态：0 结构无误，1 有圈或过长的文件，2 选项有误。"));
    if (const std::optional<int> done = line.parse(argc, argv))
        return *done;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("shihai-structure"));

    structure::Options options;
    options.withTests = line.isSet(all);
    bool ok = false;
    options.longest = line.value(limit).toInt(&ok);
    const QString root = line.positional().value(0, QStringLiteral("."));
    if (!ok || options.longest <= 0)
        return line.mistake(QStringLiteral("--limit 要一个正整数"));
    if (!QDir(root).exists())
        return line.mistake(QStringLiteral("没有这个文件夹：%1").arg(root));
    options.knownLong = line.values(knownLong);
    for (const QString &units : line.values(knownCircle))
        options.knownCircles.append(units.split(u',', Qt::SkipEmptyParts));

    const structure::Report report = structure::analyse(root, options);
    QTextStream(stdout) << structure::describe(report, options) << Qt::flush;
    return report.clean() ? 0 : 1;
}
