// SPDX-License-Identifier: GPL-3.0-or-later
// shihai-works: lists, exports and imports the works of a W.mdb, for scripts and backups, by the
// rules of 经典案例's 导出 and 导入.
#include "db/dberror.h"
#include "db/sqlite.h"
#include "pages/shared/fonts.h"
#include "pages/works/pdf/writers.h"
#include "presentation/categories.h"
#include "presentation/runtimefolder.h"
#include "presentation/works/exportjob.h"
#include "presentation/works/importjob.h"
#include "presentation/works/importplan.h"
#include "presentation/works/library.h"
#include "presentation/works/textimporter.h"
#include "presentation/works/workwriter.h"
#include "tools/cli/commandline.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

enum Exit { Done = 0, Nothing = 1, Failed = 2 };

int fail(const QString &message)
{
    std::fprintf(stderr, "shihai-works: %s\n", message.toUtf8().constData());
    return Failed;
}

void say(FILE *to, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

// Without --db: the working directory's date/W.mdb as the program reads it, else the one in the
// user's data folder of the installed program.
QString defaultDatabase()
{
    const QString local = QStringLiteral("date/W.mdb");
    const QString xdg =
        qEnvironmentVariable("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share")) +
        QStringLiteral("/shihai/") + local;
    return QFileInfo::exists(local) || !QFileInfo::exists(xdg) ? local : xdg;
}

// A title on one line of a listing.
QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return text;
}

std::optional<QString> checkedCategory(const QString &category)
{
    if (categories::markOf(category))
        return category;
    return std::nullopt;
}

int list(Connection &db, const QString &category)
{
    const QList<Work> works = category.isEmpty() ? library::all(&db) : library::ofCategory(&db, category);
    QString out;
    for (const Work &work : works) {
        const int lines = work.text.isEmpty() ? 0 : int(work.text.count(u'\n')) + 1;
        out += QStringLiteral("%1\t%2\t%3\t%4\n")
                   .arg(work.category, work.date.toString(Qt::ISODate))
                   .arg(lines)
                   .arg(oneLine(work.title));
    }
    say(stdout, out);
    return works.isEmpty() ? Nothing : Done;
}

int exportTo(Connection &db, const QString &category, ExportFormat format, const QString &file)
{
    QList<Work> works = category.isEmpty() ? library::all(&db) : library::ofCategory(&db, category);
    const int count = int(works.size());
    if (file.isEmpty() || file == u"-") {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return fail(QStringLiteral("写不了标准输出"));
        const std::unique_ptr<WorkWriter> writer = makeWriter(format);
        writer->begin(&out);
        for (const Work &work : std::as_const(works))
            writer->write(work);
        writer->end();
    } else {
        ExportJob job(std::move(works), makeWriter(format), file);
        if (const QString refused = job.open(); !refused.isEmpty())
            return fail(refused);
        while (job.done() < job.total())
            job.step();
        if (const QString refused = job.commit(); !refused.isEmpty())
            return fail(refused);
        say(stderr, QStringLiteral("已导出 %1 篇作品到 %2\n").arg(count).arg(file));
    }
    return count == 0 ? Nothing : Done;
}

int importFrom(Connection &db, const QString &category, const QString &file, bool all, bool dryRun)
{
    TextImporter::Result read;
    if (file == u"-") {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            return fail(QStringLiteral("读不了标准输入"));
        read = TextImporter::readDevice(in);
    } else {
        read = TextImporter::readFile(file);
    }
    if (!read.refusal.isEmpty())
        return fail(QStringLiteral("无法导入 %1：%2").arg(file, read.refusal));

    const QList<ImportItem> items = importplan::plan(read.poems, library::all(&db));
    QList<int> chosen;
    int duplicates = 0;
    QString preview;
    for (int i = 0; i < items.size(); ++i) {
        duplicates += items[i].duplicate ? 1 : 0;
        if (all || !items[i].duplicate)
            chosen << i;
        preview += QStringLiteral("%1\t%2\t%3\n")
                       .arg(items[i].duplicate ? QStringLiteral("可能重复") : QStringLiteral("新"))
                       .arg(items[i].lines)
                       .arg(oneLine(items[i].poem.title));
    }
    if (dryRun) {
        say(stdout, preview);
        return duplicates ? Nothing : Done;
    }
    ImportJob job(&db, importplan::chosen(items, chosen), category, QFileInfo(file).fileName());
    job.begin();
    while (job.done() < job.total())
        job.step();
    job.commit();
    QString told = QStringLiteral("已导入 %1 首诗到%2").arg(job.total()).arg(category);
    if (duplicates && !all)
        told += QStringLiteral("（%1 首像是已有的作品，没有导入；加 --all 一并导入）").arg(duplicates);
    say(stderr, told + u'\n');
    return duplicates && !all ? Nothing : Done;
}

} // namespace

int main(int argc, char **argv)
{
    cli::CommandLine line(
        QStringLiteral("shihai-works"),
        QStringLiteral("列出、导出、导入作品库（W.mdb）中的作品，规则与“经典案例”的导出、导入相同。"));
    line.addUsage(QStringLiteral("list [选项]"));
    line.addUsage(QStringLiteral("export [选项] [FILE]"));
    line.addUsage(QStringLiteral("import --category 类别 [选项] FILE"));
    const QCommandLineOption category(
        QStringLiteral("category"),
        QStringLiteral("类别：%1。list、export 默认为全部作品；import 必须指定。")
            .arg(categories::categoryTexts().join(QStringLiteral("、"))),
        QStringLiteral("类别"));
    const QCommandLineOption format(
        QStringLiteral("format"), QStringLiteral("导出格式：txt、md、pdf（默认按 FILE 的后缀，否则 txt）。"),
        QStringLiteral("FORMAT"));
    const QCommandLineOption horizontal(QStringLiteral("horizontal"),
                                        QStringLiteral("PDF 横排（默认竖排）。"));
    const QCommandLineOption all(QStringLiteral("all"), QStringLiteral("import：像是已有作品的诗也导入。"));
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        QStringLiteral("import：只列出将导入的诗（新 / 可能重复、行数、题目），不写入。"));
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("作品库文件（默认：当前目录下的 date/W.mdb，没有时用户数据文件夹中的）。"),
        QStringLiteral("PATH"));
    line.addOptions({category, format, horizontal, all, dryRun, db});
    line.addArgument(QStringLiteral("list"),
                     QStringLiteral("每篇一行：类别、日期、行数、标题（以制表符分隔）。"));
    line.addArgument(QStringLiteral("export"),
                     QStringLiteral("导出为纯文本、Markdown 或 PDF（每篇一页，默认竖排）到 FILE；"
                                    "省略 FILE 或为 - 时写到标准输出。"));
    line.addArgument(QStringLiteral("import"),
                     QStringLiteral("导入 FILE（- 为标准输入）：UTF-8、GB 18030 或带 BOM 的 UTF-16 文本，"
                                    "诗与诗之间空一行，每首的第一行是题目；作为新作品加入 --category "
                                    "所指的类别，日期为今天，全部在一个事务中写入。"
                                    "只读普通文件，不跟随符号链接，不读设备、管道和大于 64 MB 的文件。"));
    line.addNote(QStringLiteral(
        "退出状态：0 完成；1 没有作品可列出或导出，或有像是已有作品的诗没有导入；2 选项、输入或文件有误。"));
    if (const std::optional<int> done = line.parse(argc, argv))
        return *done;

    const QStringList positional = line.positional();
    const QString command = positional.value(0);
    const QString file = positional.value(1);
    if (command != u"list" && command != u"export" && command != u"import")
        return line.mistake(QStringLiteral("要做的事是 list、export 或 import"));
    if (positional.size() > (command == u"list" ? 1 : 2))
        return line.mistake(
            QStringLiteral("多余的参数：%1").arg(positional.mid(command == u"list" ? 1 : 2).join(u' ')));
    const QString chosenCategory = line.value(category);
    if (line.isSet(category) && !checkedCategory(chosenCategory))
        return fail(QStringLiteral("不认识的类别「%1」，可选：%2")
                        .arg(chosenCategory, categories::categoryTexts().join(QStringLiteral("、"))));

    ExportFormat exportFormat = ExportFormat::Text;
    if (command == u"export") {
        const QString name = line.isSet(format) ? line.value(format) : QFileInfo(file).suffix();
        const auto known = exportformat::fromName(name, line.isSet(horizontal));
        if (!known && line.isSet(format))
            return fail(QStringLiteral("不认识的格式「%1」，可选：txt、md、pdf").arg(name));
        exportFormat = known.value_or(ExportFormat::Text);
    }
    if (command == u"import" && (!line.isSet(category) || file.isEmpty()))
        return line.mistake(QStringLiteral("import 需要 --category 类别 和要导入的文件"));

    // The PDF is painted with fonts, which needs a QGuiApplication; without a display it serves offscreen.
    const bool pdf = exportFormat == ExportFormat::PdfVertical || exportFormat == ExportFormat::PdfHorizontal;
    std::optional<RuntimeFolder> runtime;
    if (pdf) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        runtime.emplace();
    }
    std::unique_ptr<QCoreApplication> app =
        pdf ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("shihai-works"));
    if (pdf)
        look::installFontSubstitutions();

    const QString path = line.isSet(db) ? line.value(db) : defaultDatabase();
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("找不到作品库 %1（用 --db 指定）").arg(path));
    try {
        Connection connection(path);
        if (command == u"list")
            return list(connection, chosenCategory);
        if (command == u"export")
            return exportTo(connection, chosenCategory, exportFormat, file);
        return importFrom(connection, chosenCategory, file, line.isSet(all), line.isSet(dryRun));
    } catch (const std::exception &e) {
        return fail(QStringLiteral("%1：%2").arg(path, QString::fromUtf8(e.what())));
    }
}
