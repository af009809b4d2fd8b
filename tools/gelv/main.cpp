// SPDX-License-Identifier: GPL-3.0-or-later
// shihai-gelv: checks the metre of regulated verse, of 词 and of 对联 from a file or standard input.
#include "classics/coupletpairs.h"
#include "db/classicsschema.h"
#include "db/rhymebookschema.h"
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/report.h"
#include "prosody/request/parserequest.h"
#include "tools/cli/commandline.h"
#include "tools/cli/datafile.h"
#include "tools/gelv/suggest.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

#include <cstdio>

using namespace prosody;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "shihai-gelv: %s\n", message.toUtf8().constData());
    return 2;
}

void write(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

} // namespace

int main(int argc, char **argv)
{
    cli::CommandLine line(
        QStringLiteral("shihai-gelv"),
        QStringLiteral(
            "检查近体诗（绝句、律诗、排律）的平仄、粘对与用韵，词的平仄、用韵与句式（按宋词归纳的词谱），"
            "以及对联的平仄与对仗。读取 FILE 或标准输入中的 UTF-8 文本；以空行分隔的几首诗各自检查，"
            "词的上下片之间可空一行。"));
    line.addUsage(QStringLiteral("[选项] [FILE]"));
    const QCommandLineOption book(
        QStringLiteral("book"),
        QStringLiteral("韵书：平水韵、词林正韵、中华新韵、中华通韵。默认诗用平水韵，词用词林正韵。"),
        QStringLiteral("BOOK"));
    const QCommandLineOption form(
        QStringLiteral("form"),
        QStringLiteral(
            "体裁：自动（默认）、五绝、七绝、五律、七律、排律、对联，或词牌名（如 "
            "浣溪沙、念奴娇、大江东去），"
            "词牌名后加“:N”指定其第 N 体（1 为正体，如 念奴娇:2）。"
            "自动时，绝句、律诗、排律句式按诗检查；其余文本若题目为词牌名或句式合某一词牌，按词检查。"
            "对联：上联一行，下联一行。"),
        QStringLiteral("FORM"), QStringLiteral("自动"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("每首诗输出一行 JSON。"));
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("韵书文件（默认：当前目录下的 %1，其次是用户数据文件夹和安装的副本）。")
            .arg(rhymebookschema::defaultPath),
        QStringLiteral("PATH"), rhymebookschema::defaultPath);
    const QCommandLineOption classicsFile(
        QStringLiteral("classics"),
        QStringLiteral("古典诗词文件，律诗中间两联和对联的对仗据此判断（默认：与韵书文件同样查找 %1；"
                       "没有时不判断对仗）。")
            .arg(classicsschema::defaultPath),
        QStringLiteral("PATH"), classicsschema::defaultPath);
    const QCommandLineOption suggest(
        QStringLiteral("suggest"),
        QStringLiteral("填字：列出第一首诗第 LINE 句第 PLACE 字处古人常用、合乎平仄与韵的字词（最多 30 个，"
                       "常用的在前），各附次数与一句例句。PLACE 可为句末之后一字；LINE 可为末句之后一句。"),
        QStringLiteral("LINE:PLACE"));
    line.addOptions({book, form, json, db, classicsFile, suggest});
    line.addArgument(QStringLiteral("FILE"), QStringLiteral("要检查的文本；省略或为 - 时读标准输入。"));
    line.addNote(QStringLiteral("退出状态：0 全部合律，1 有不合之处，2 选项、输入或韵书文件有误。"
                                "--suggest 时：0 有可填的字词，1 没有，2 位置、输入或文件有误。"));
    if (const std::optional<int> done = line.parse(argc, argv))
        return *done;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("shihai-gelv"));

    const std::optional<gelvcli::SuggestAt> suggestAt = gelvcli::parseSuggestAt(line.value(suggest));
    if (line.isSet(suggest) && !suggestAt)
        return fail(QStringLiteral("--suggest 要写成 句:字，如 3:4（第3句第4字）"));
    const std::optional<Book> chosenBook = bookFromName(line.value(book));
    if (line.isSet(book) && !chosenBook)
        return fail(QStringLiteral("不认识的韵书「%1」，可选：平水韵、词林正韵、中华新韵、中华通韵")
                        .arg(line.value(book)));
    if (line.positional().size() > 1)
        return fail(QStringLiteral("只能检查一个文件"));

    QFile input;
    const QString name = line.positional().value(0);
    if (name.isEmpty() || name == u"-") {
        if (!input.open(stdin, QIODevice::ReadOnly))
            return fail(QStringLiteral("读不了标准输入"));
    } else {
        input.setFileName(name);
        if (!input.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("读不了 %1：%2").arg(name, input.errorString()));
    }
    const QByteArray bytes = input.readAll();
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(bytes);
    if (decode.hasError())
        return fail(QStringLiteral("输入不是 UTF-8 文本"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    std::shared_ptr<const RhymeBooks> books;
    try {
        books = loadRhymeBooks(line.isSet(db) ? line.value(db) : cli::dataFile(rhymebookschema::defaultPath));
    } catch (const LoadError &e) {
        return fail(e.message());
    }
    // Without the classics' pairs the metre is checked all the same; a 对联 then says so.
    std::unique_ptr<classics::CoupletPairs> pairs;
    try {
        pairs = classics::CoupletPairs::open(
            line.isSet(classicsFile) ? line.value(classicsFile) : cli::dataFile(classicsschema::defaultPath));
    } catch (const classics::ClassicsError &e) {
        if (line.isSet(classicsFile))
            return fail(e.message());
    }
    const ParsedRequest asked = parseRequest(books->cipu(), line.value(form));
    if (!asked.request)
        return fail(asked.error);
    CheckRequest request = *asked.request;
    request.book = chosenBook;
    // The request was read against this 词谱: every 词牌 and form it names is there.
    QList<PoemCheck> checks = checkAs(books, text, request, pairs.get()).value();
    if (suggestAt && !checks.isEmpty())
        return gelvcli::suggest(books,
                                line.isSet(classicsFile) ? line.value(classicsFile)
                                                         : cli::dataFile(classicsschema::defaultPath),
                                text, request, checks, *suggestAt, line.isSet(json));
    // A text given to be checked is taken as finished: one that stops short says what it lacks.
    for (PoemCheck &check : checks)
        if (const std::optional<Finding> lack = check.unfinished())
            check.findings.append(*lack);
    if (checks.isEmpty())
        return fail(QStringLiteral("输入中没有诗句"));

    bool allOk = true;
    for (qsizetype i = 0; i < checks.size(); ++i) {
        allOk = allOk && checks.at(i).ok();
        if (line.isSet(json))
            write(QString::fromUtf8(toJson(checks.at(i))) + u'\n');
        else
            write((i > 0 ? QStringLiteral("\n") : QString()) + toText(checks.at(i)));
    }
    return allOk ? 0 : 1;
}
