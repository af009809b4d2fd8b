// SPDX-License-Identifier: GPL-3.0-or-later
// shihai-classics: the classics on the command line; `lines` finds verse lines by their tones (集句).
#include "classics/lines/linepatterns.h"
#include "classics/lines/patterntext.h"
#include "db/classicsschema.h"
#include "db/rhymebookschema.h"
#include "prosody/core/books.h"
#include "prosody/core/referencefile.h"
#include "tools/cli/commandline.h"
#include "tools/cli/datafile.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace classics;

namespace {

constexpr int foundStatus = 0;
constexpr int noneStatus = 1;
constexpr int filesStatus = 3;

int missing(const QString &message)
{
    cli::print(stderr, QStringLiteral("shihai-classics: %1\n").arg(message));
    return filesStatus;
}

// The group of the book named exactly, or the one group whose name ends so (七阳 for 下平七阳).
std::optional<int> groupNamed(const prosody::RhymeBooks &books, prosody::Book book, const QString &name)
{
    const QList<prosody::RhymeBooks::Group> &groups = books.groups(book);
    std::optional<int> ending;
    int endings = 0;
    for (int g = 0; g < groups.size(); ++g) {
        if (groups.at(g).name == name)
            return g;
        if (groups.at(g).name.endsWith(name))
            ending = g, ++endings;
    }
    return endings == 1 ? ending : std::nullopt;
}

QString lineText(const PatternLine &l)
{
    return QStringLiteral("%1　——%2《%3》（%4）\n").arg(l.text, l.author, l.title, l.dynasty);
}

QString countText(const Counts &counts)
{
    QStringList parts;
    for (const DynastyCount &d : counts.byDynasty)
        parts << QStringLiteral("%1 %2").arg(d.dynasty).arg(d.lines);
    return counts.lines == 0
               ? QStringLiteral("没有这样的句子\n")
               : QStringLiteral("共 %1 句：%2\n").arg(counts.lines).arg(parts.join(QStringLiteral(" · ")));
}

QByteArray json(const Counts &counts, const QList<PatternLine> &lines)
{
    QJsonArray rows;
    for (const PatternLine &l : lines)
        rows.append(QJsonObject{{QStringLiteral("text"), l.text},
                                {QStringLiteral("title"), l.title},
                                {QStringLiteral("author"), l.author},
                                {QStringLiteral("dynasty"), l.dynasty}});
    return QJsonDocument(
               QJsonObject{{QStringLiteral("count"), counts.lines}, {QStringLiteral("lines"), rows}})
        .toJson(QJsonDocument::Compact);
}

} // namespace

int main(int argc, char **argv)
{
    cli::CommandLine line(
        QStringLiteral("shihai-classics"),
        QStringLiteral("在全唐诗和宋词中查找。lines：按平仄格式、末字韵部、某位置上的字、朝代和作者"
                       "找诗句（集句），先列总数和各朝代的句数，再按文件中的次序（先蒙学选本）列出诗句。"
                       "诗句指一联的上句或下句、词的一个分句。"));
    line.addUsage(QStringLiteral("lines --pattern 格式 [选项]"));
    const QCommandLineOption pattern(
        QStringLiteral("pattern"),
        QStringLiteral(
            "平仄格式，每字一位：平、仄、中（可平可仄），也可写 ○ ● ◎，如 仄仄平平仄仄平。平仄两读的字"
            "（中）平仄皆合。"),
        QStringLiteral("格式"));
    const QCommandLineOption rhyme(QStringLiteral("rhyme"),
                                   QStringLiteral("末字的韵部，如 下平七阳（也可只写 七阳，唯一时认得）。"),
                                   QStringLiteral("韵部"));
    const QCommandLineOption book(
        QStringLiteral("book"),
        QStringLiteral("韵书：平水韵（默认）、词林正韵、中华新韵、中华通韵；平仄和韵部都按它。"),
        QStringLiteral("韵书"), QStringLiteral("平水韵"));
    const QCommandLineOption at(QStringLiteral("at"),
                                QStringLiteral("某位置上的字，如 5=月（第五字为月）；可写多次或用逗号分开。"),
                                QStringLiteral("位=字"));
    const QCommandLineOption dynasty(QStringLiteral("dynasty"), QStringLiteral("只找这一朝代，如 唐、宋。"),
                                     QStringLiteral("朝代"));
    const QCommandLineOption author(QStringLiteral("author"), QStringLiteral("只找这位作者，如 杜甫。"),
                                    QStringLiteral("作者"));
    const QCommandLineOption limit(QStringLiteral("limit"), QStringLiteral("最多列出几句（默认 20）。"),
                                   QStringLiteral("N"), QStringLiteral("20"));
    const QCommandLineOption offset(QStringLiteral("offset"),
                                    QStringLiteral("跳过前几句（默认 0），用于翻页。"), QStringLiteral("N"),
                                    QStringLiteral("0"));
    const QCommandLineOption asJson(
        QStringLiteral("json"),
        QStringLiteral(
            "输出一个 JSON 对象：{\"count\": 总句数, \"lines\": [{\"text\", \"title\", \"author\", "
            "\"dynasty\"}, …]}。"));
    const QCommandLineOption classicsFile(
        QStringLiteral("classics"),
        QStringLiteral("古典诗词文件（默认：当前目录下的 %1，其次是用户数据文件夹和安装的副本）。")
            .arg(classicsschema::defaultPath),
        QStringLiteral("PATH"));
    const QCommandLineOption booksFile(
        QStringLiteral("books"),
        QStringLiteral("韵书文件，按韵部找时要用（默认：与古典诗词文件同样查找 %1）。")
            .arg(rhymebookschema::defaultPath),
        QStringLiteral("PATH"));
    line.addOptions(
        {pattern, rhyme, book, at, dynasty, author, limit, offset, asJson, classicsFile, booksFile});
    line.addArgument(QStringLiteral("lines"), QStringLiteral("按平仄格式找诗句。"));
    line.addNote(QStringLiteral(
        "退出状态：0 找到诗句，1 没有这样的句子，2 选项有误，3 找不到或读不了古典诗词文件或韵书文件。"));
    if (const std::optional<int> done = line.parse(argc, argv))
        return *done;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("shihai-classics"));

    if (line.positional() != QStringList{QStringLiteral("lines")})
        return line.mistake(line.positional().isEmpty()
                                ? QStringLiteral("要写出子命令，如 lines")
                                : QStringLiteral("不认识的子命令「%1」").arg(line.positional().join(u' ')));
    if (!line.isSet(pattern))
        return line.mistake(QStringLiteral("要用 --pattern 写出平仄格式，如 --pattern 仄仄平平仄仄平"));
    LineQuery query;
    const ParsedPattern parsed = parsePattern(line.value(pattern));
    if (!parsed.error.isEmpty())
        return line.mistake(parsed.error);
    if (parsed.pattern.isEmpty())
        return line.mistake(QStringLiteral("平仄格式是空的"));
    query.pattern = parsed.pattern;
    const std::optional<prosody::Book> chosen = prosody::bookFromName(line.value(book));
    if (!chosen)
        return line.mistake(QStringLiteral("不认识的韵书「%1」，可选：平水韵、词林正韵、中华新韵、中华通韵")
                                .arg(line.value(book)));
    query.book = *chosen;
    const ParsedPlaces places = parsePlaces(line.values(at).join(u','));
    if (!places.error.isEmpty())
        return line.mistake(places.error);
    for (const CharAt &a : places.at)
        if (a.place >= query.pattern.size())
            return line.mistake(
                QStringLiteral("第 %1 字超出了 %2 个字位的格式").arg(a.place + 1).arg(query.pattern.size()));
    query.at = places.at;
    bool limitRead = false, offsetRead = false;
    const int rows = line.value(limit).toInt(&limitRead);
    const int skip = line.value(offset).toInt(&offsetRead);
    if (!limitRead || rows < 0 || !offsetRead || skip < 0)
        return line.mistake(QStringLiteral("--limit 和 --offset 要写不小于 0 的整数"));
    query.dynasty = line.value(dynasty).trimmed();
    query.author = line.value(author).trimmed();

    std::shared_ptr<const prosody::RhymeBooks> books;
    if (line.isSet(rhyme)) {
        try {
            books = prosody::loadRhymeBooks(
                line.isSet(booksFile) ? line.value(booksFile) : cli::dataFile(rhymebookschema::defaultPath));
        } catch (const prosody::LoadError &e) {
            return missing(e.message());
        }
        query.rhymeGroup = groupNamed(*books, query.book, line.value(rhyme).trimmed());
        if (!query.rhymeGroup)
            return line.mistake(
                QStringLiteral("%1中没有韵部「%2」").arg(prosody::bookName(query.book), line.value(rhyme)));
    }
    try {
        const std::unique_ptr<LinePatterns> found = LinePatterns::open(
            line.isSet(classicsFile) ? line.value(classicsFile) : cli::dataFile(classicsschema::defaultPath),
            books);
        if (!query.dynasty.isEmpty() && !found->dynasties().contains(query.dynasty))
            return line.mistake(QStringLiteral("没有朝代「%1」，可选：%2")
                                    .arg(query.dynasty, found->dynasties().join(QStringLiteral("、"))));
        const Counts counts = found->count(query);
        const QList<PatternLine> lines = found->lines(query, skip, rows);
        if (line.isSet(asJson)) {
            cli::print(stdout, QString::fromUtf8(json(counts, lines)) + u'\n');
        } else {
            QString out = countText(counts);
            for (const PatternLine &l : lines)
                out += lineText(l);
            cli::print(stdout, out);
        }
        return counts.lines > 0 ? foundStatus : noneStatus;
    } catch (const ClassicsError &e) {
        return missing(e.message());
    }
}
