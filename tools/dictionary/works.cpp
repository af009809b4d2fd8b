// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dictionary/works.h"

#include "presentation/categories.h"
#include "tools/common/builderror.h"
#include "tools/common/sources.h"
#include "tools/dictionary/poemtext.h"
#include "tools/dictionary/poetryjson.h"
#include "tools/dictionary/primers.h"

#include <QDir>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace builddb {

namespace {

// The categories in the program's order: 甲类, 乙类, 丙类, 丁类, 戊类.
const QString kSeries = ::categories::table[0].category;
const QString kRegulated = ::categories::table[1].category;
const QString kCi = ::categories::table[2].category;
const QString kSanqu = ::categories::table[3].category;
const QString kAncient = ::categories::table[4].category;

QString remarks(const QString &head, const QStringList &notes)
{
    QStringList parts;
    if (!head.isEmpty())
        parts << head;
    parts << tidyLines(notes);
    return parts.join(u'\n');
}

Work makeWork(const QString &category, const QString &title, const QString &author, const QString &source,
              const QString &remarks, const QStringList &lines)
{
    return {title, category, author, source, remarks, lines.join(u'\n'), 1};
}

bool isRegulatedForm(const QString &form)
{
    return form.contains(QStringLiteral("绝句")) || form.contains(QStringLiteral("律诗"));
}

Work primerWork(const QString &category, const PrimerPoem &poem, const QString &source)
{
    QString head = poem.dynasty;
    if (!poem.form.isEmpty())
        head += (head.isEmpty() ? QString() : QStringLiteral("·")) + poem.form;
    return makeWork(category, poem.title, poem.author, source, remarks(head, poem.notes), poem.lines);
}

bool isAnonymous(const QString &author)
{
    return author == u"佚名" || author == u"无名氏" || author.isEmpty();
}

bool isChineseNumeral(const QString &text)
{
    static const QRegularExpression numeral(QStringLiteral("^[一二三四五六七八九十百]+$"));
    return numeral.match(text).hasMatch();
}

// The number in "poet.tang.12000.json", so that the files are read in the collection's order.
int fileNumber(const QString &name)
{
    return name.section(u'.', 2, 2).toInt();
}

Work ciWork(const QString &title, const QString &tune, const QString &author, const QStringList &lines,
            const QString &source, const QString &dynasty, const QStringList &notes)
{
    // A 词 known only by its tune is named by the tune and its first line.
    const QString name = title.isEmpty() ? tune + u'·' + firstClause(lines.value(0)) : title;
    return makeWork(kCi, name, author, source, remarks(dynasty, notes), lines);
}

} // namespace

const QList<Category> &categories()
{
    static const QList<Category> list = [] {
        QList<Category> out;
        for (const ::categories::Pair &p : ::categories::table)
            out << Category{p.category, p.mark};
        return out;
    }();
    return list;
}

QString markOf(const QString &category)
{
    return ::categories::markOf(category).value_or(QString());
}

QSet<QString> tangPoets(const QString &dist, const Converter &t2s)
{
    QSet<QString> poets;
    for (const PrimerPoem &poem : readPrimer(tangPrimerPath(dist), QStringLiteral("唐"), t2s))
        if (!isAnonymous(poem.author))
            poets.insert(poem.author);
    return poets;
}

namespace {

// A poem of a series: its place or its own title in the series, its lines and notes.
struct SeriesPart {
    QString name;
    QStringList lines;
    QStringList notes;
};

struct Series {
    QString author;
    QString title;
    QList<SeriesPart> parts;
    QStringList firstLines;
};

// The files of 全唐诗 in the collection's order.
QStringList tangFiles(const QDir &dir)
{
    QStringList files = dir.entryList({QStringLiteral("poet.tang.*.json")}, QDir::Files);
    if (files.isEmpty())
        throw BuildError(dir.path(), QStringLiteral("holds no poet.tang.*.json files"));
    std::sort(files.begin(), files.end(),
              [](const QString &a, const QString &b) { return fileNumber(a) < fileNumber(b); });
    for (QString &name : files)
        name = dir.filePath(name);
    return files;
}

// Reads the poems of series of the poets in 全唐诗, each series in the order its parts come.
class SeriesReader {
public:
    SeriesReader(const QSet<QString> &poets, const Converter &t2s)
        : m_poets(poets)
        , m_t2s(t2s)
    {
    }

    void readFile(const QString &path)
    {
        for (const QJsonValue &value : readJsonArray(path))
            readPoem(entryAt(value, path), path);
    }

    const QList<Series> &series() const { return m_series; }

private:
    void readPoem(const QJsonObject &poem, const QString &path)
    {
        // "秋興八首 一": the series title, then the poem's place or its own title in the series. A
        // heading before the series title ("雜曲歌辭 秋興八首 一") is left out, so that a poem the
        // collection holds twice, with and without it, lands in one series.
        static const QRegularExpression seriesTitle(
            QStringLiteral("^(?:.*\\s)?(\\S*?[一二三四五六七八九十百]+首)\\s+(\\S.*)$"));
        const auto match = seriesTitle.match(textField(poem, QStringLiteral("title"), path));
        if (!match.hasMatch())
            return;
        const QString rawAuthor = textField(poem, QStringLiteral("author"), path);
        auto author = m_authorNames.constFind(rawAuthor);
        if (author == m_authorNames.constEnd())
            author = m_authorNames.insert(rawAuthor, m_t2s(rawAuthor));
        if (!m_poets.contains(*author))
            return;

        const QString title = m_t2s(match.captured(1));
        const QString key = *author + u'\t' + title;
        auto index = m_seriesIndex.constFind(key);
        if (index == m_seriesIndex.constEnd()) {
            index = m_seriesIndex.insert(key, m_series.size());
            m_series.append({*author, title, {}, {}});
        }
        Series &s = m_series[*index];

        SeriesPart part{m_t2s(match.captured(2)).simplified(),
                        convertLines(linesField(poem, QStringLiteral("paragraphs"), path), m_t2s),
                        {}};
        // 全唐诗 holds some poems twice, under a longer title or with a variant character: keep
        // the first.
        const QString first = part.lines.value(0);
        if (first.isEmpty() || std::any_of(s.firstLines.cbegin(), s.firstLines.cend(),
                                           [&](const QString &seen) { return isSameLine(seen, first); }))
            return;
        s.firstLines << first;
        if (poem.value(QStringLiteral("notes")).isArray())
            part.notes = convertLines(linesField(poem, QStringLiteral("notes"), path), m_t2s);
        const EditorialSplit split = splitEditorialNotes(part.lines.join(u'\n'));
        part.lines = split.poem.split(u'\n');
        part.notes += split.notes;
        s.parts.append(part);
    }

    const QSet<QString> &m_poets;
    const Converter &m_t2s;
    QList<Series> m_series;
    QHash<QString, qsizetype> m_seriesIndex;
    QHash<QString, QString> m_authorNames; // the same few thousand names recur 57,000 times
};

// A series of two poems or more as one work, each poem under its heading.
Work seriesWork(const Series &s)
{
    QStringList blocks;
    QStringList notes;
    for (const SeriesPart &part : s.parts) {
        const QString heading = isChineseNumeral(part.name) ? u'其' + part.name : part.name;
        blocks << heading + u'\n' + part.lines.join(u'\n');
        for (const QString &note : part.notes)
            notes << heading + QStringLiteral("：") + note;
    }
    return {s.title,
            kSeries,
            s.author,
            QStringLiteral("全唐诗"),
            remarks(QStringLiteral("唐"), notes),
            blocks.join(QStringLiteral("\n\n")),
            int(s.parts.size())};
}

} // namespace

QList<Work> seriesWorks(const QString &dist, const QSet<QString> &poets, const Converter &t2s)
{
    SeriesReader reader(poets, t2s);
    for (const QString &path : tangFiles(QDir(QDir(dist).filePath(QStringLiteral("quantangshi")))))
        reader.readFile(path);
    QList<Work> works;
    for (const Series &s : reader.series())
        if (s.parts.size() >= 2)
            works << seriesWork(s);
    return works;
}

QList<Work> regulatedVerse(const QString &dist, const Converter &t2s)
{
    const struct {
        QString file;
        QString source;
        QString dynasty;
    } primers[] = {
        {tangPrimerPath(dist), QStringLiteral("唐诗三百首"), QStringLiteral("唐")},
        {QDir(dist).filePath(QStringLiteral("mengxue/qianjiashi.json")), QStringLiteral("千家诗"), QString()},
    };
    QList<Work> works;
    QSet<QString> seen; // author and first line: both primers hold 登鹳雀楼
    for (const auto &primer : primers) {
        for (const PrimerPoem &poem : readPrimer(primer.file, primer.dynasty, t2s)) {
            if (!isRegulatedForm(poem.form) || poem.lines.isEmpty())
                continue;
            const QString key = poem.author + u'\t' + firstClause(poem.lines.first());
            if (seen.contains(key))
                continue;
            seen.insert(key);
            works << primerWork(kRegulated, poem, primer.source);
        }
    }
    return works;
}

QList<Work> ciWorks(const QString &dist, const Converter &t2s)
{
    QList<Work> works;
    const QDir root(dist);

    const QString songPath = root.filePath(QStringLiteral("songci/宋词三百首.json"));
    for (const QJsonValue &value : readJsonArray(songPath)) {
        const QJsonObject ci = entryAt(value, songPath);
        // "凤栖梧・蝶恋花": the name the poet used, then the usual name of the tune.
        const QStringList tune = t2s(textField(ci, QStringLiteral("rhythmic"), songPath)).split(u'・');
        QStringList notes;
        if (tune.size() > 1)
            notes << QStringLiteral("词牌：") + tune.last().trimmed();
        works << ciWork({}, tune.first().trimmed(),
                        t2s(textField(ci, QStringLiteral("author"), songPath)).trimmed(),
                        convertLines(linesField(ci, QStringLiteral("paragraphs"), songPath), t2s),
                        QStringLiteral("宋词三百首"), QStringLiteral("宋"), notes);
    }

    const QDir huajian(root.filePath(QStringLiteral("wudaishici/huajianji")));
    const QStringList juan =
        huajian.entryList({QStringLiteral("huajianji-*-juan.json")}, QDir::Files, QDir::Name);
    if (juan.isEmpty())
        throw BuildError(huajian.path(), QStringLiteral("holds no huajianji-*-juan.json files"));
    for (const QString &name : juan) {
        const QString path = huajian.filePath(name);
        for (const QJsonValue &value : readJsonArray(path)) {
            const QJsonObject ci = entryAt(value, path);
            // "菩萨蛮 其一" becomes "菩萨蛮·其一".
            const QString title =
                t2s(ci.value(QStringLiteral("title")).toString()).simplified().replace(u' ', u'·');
            works << ciWork(
                title, t2s(textField(ci, QStringLiteral("rhythmic"), path)).trimmed(),
                t2s(textField(ci, QStringLiteral("author"), path)).trimmed(),
                convertLines(linesField(ci, QStringLiteral("paragraphs"), path), t2s),
                QStringLiteral("花间集"), QStringLiteral("五代"),
                t2s(linesOf(ci.value(QStringLiteral("notes")).toArray(), QStringLiteral("notes"), path)
                        .join(u'\n'))
                    .split(u'\n'));
        }
    }

    const QString nantangPath = root.filePath(QStringLiteral("wudaishici/nantang/poetrys.json"));
    for (const QJsonValue &value : readJsonArray(nantangPath)) {
        const QJsonObject ci = entryAt(value, nantangPath);
        works << ciWork(
            t2s(ci.value(QStringLiteral("title")).toString()).trimmed(),
            t2s(textField(ci, QStringLiteral("rhythmic"), nantangPath)).trimmed(),
            t2s(textField(ci, QStringLiteral("author"), nantangPath)).trimmed(),
            convertLines(linesField(ci, QStringLiteral("paragraphs"), nantangPath), t2s),
            QStringLiteral("南唐二主词"), QStringLiteral("五代·南唐"),
            t2s(linesOf(ci.value(QStringLiteral("notes")).toArray(), QStringLiteral("notes"), nantangPath)
                    .join(u'\n'))
                .split(u'\n'));
    }

    const QString nalanPath = root.filePath(QStringLiteral("nalanxingde/纳兰性德诗集.json"));
    for (const QJsonValue &value : readJsonArray(nalanPath)) {
        const QJsonObject ci = entryAt(value, nalanPath);
        const QString title = t2s(textField(ci, QStringLiteral("title"), nalanPath)).trimmed();
        // The collection also holds his 诗; a 词 is titled by its tune: "长相思·山一程".
        if (!title.contains(u'·'))
            continue;
        works << ciWork(title, title.section(u'·', 0, 0),
                        t2s(textField(ci, QStringLiteral("author"), nalanPath)),
                        convertLines(linesField(ci, QStringLiteral("para"), nalanPath), t2s),
                        QStringLiteral("纳兰性德诗集"), QStringLiteral("清"), {});
    }
    return works;
}

QList<Work> sanquWorks(const QString &dist, const Converter &t2s)
{
    // A 散曲 opens with its mode: "双调・水仙子". The rest of the collection is the arias of plays.
    static const QRegularExpression modeHeading(
        QStringLiteral("^(黄钟|正宫|大石调|小石调|仙吕|中吕|南吕|双调|越调|商调|商角调|般涉调|高平调|歇指调|"
                       "宫调|道宫|高宫)宫?[・·]"));
    static const QRegularExpression separator(QStringLiteral("[・·]"));
    static const QRegularExpression punctuation(QStringLiteral("[，。？！、；：]"));

    const QString path = QDir(dist).filePath(QStringLiteral("yuanqu/yuanqu.json"));
    QList<Work> works;
    bool inSuite = false;
    for (const QJsonValue &value : readJsonArray(path)) {
        const QJsonObject qu = entryAt(value, path);
        const QString title = t2s(textField(qu, QStringLiteral("title"), path)).trimmed();
        const QString author = t2s(textField(qu, QStringLiteral("author"), path)).trimmed();
        const QStringList lines = convertLines(linesField(qu, QStringLiteral("paragraphs"), path), t2s);

        if (modeHeading.match(title).hasMatch()) {
            QString name = title;
            name.replace(separator, QStringLiteral("·"));
            works << makeWork(kSanqu, name, author, QStringLiteral("元曲"), QStringLiteral("元"), lines);
            inSuite = true;
            continue;
        }
        // The later tunes of a 套数 follow its heading, titled by the tune and the start of their
        // text ("醉春风・直睡到日齐高，…"), which runs on into the first line.
        const qsizetype cut = title.indexOf(separator);
        const QString opening = cut < 0 ? QString() : title.mid(cut + 1);
        if (inSuite && works.last().author == author && opening.contains(punctuation)) {
            QString text = QStringLiteral("〔%1〕%2%3").arg(title.left(cut), opening, lines.value(0));
            for (qsizetype i = 1; i < lines.size(); ++i)
                text += u'\n' + lines[i];
            works.last().content += u'\n' + text;
            continue;
        }
        inSuite = false;
    }
    return works;
}

QList<Work> ancientVerse(const QString &dist, const Converter &t2s)
{
    QList<Work> works;
    const QDir root(dist);

    const QString shijingPath = root.filePath(QStringLiteral("shijing/shijing.json"));
    for (const QJsonValue &value : readJsonArray(shijingPath)) {
        const QJsonObject poem = entryAt(value, shijingPath);
        const QString chapter = t2s(textField(poem, QStringLiteral("chapter"), shijingPath)).trimmed();
        const QString section = t2s(poem.value(QStringLiteral("section")).toString()).trimmed();
        QString source = QStringLiteral("诗经·") + chapter;
        if (!section.isEmpty() && section != chapter)
            source += u'·' + section;
        works << makeWork(kAncient, t2s(textField(poem, QStringLiteral("title"), shijingPath)).trimmed(),
                          QStringLiteral("佚名"), source, QStringLiteral("先秦"),
                          convertLines(linesField(poem, QStringLiteral("content"), shijingPath), t2s));
    }

    // 楚辞 gathers the Warring States poets and the Han poets who wrote in their manner.
    const QSet<QString> warringStates = {QStringLiteral("屈原"), QStringLiteral("宋玉"),
                                         QStringLiteral("景差")};
    const QString chuciPath = root.filePath(QStringLiteral("chuci/chuci.json"));
    for (const QJsonValue &value : readJsonArray(chuciPath)) {
        const QJsonObject poem = entryAt(value, chuciPath);
        const QString title = t2s(textField(poem, QStringLiteral("title"), chuciPath)).trimmed();
        const QString author = t2s(textField(poem, QStringLiteral("author"), chuciPath)).trimmed();
        const QString section = t2s(poem.value(QStringLiteral("section")).toString()).trimmed();
        QString source = QStringLiteral("楚辞");
        if (!section.isEmpty() && section != title)
            source += u'·' + section;
        works << makeWork(kAncient, title, author, source,
                          warringStates.contains(author) ? QStringLiteral("战国") : QStringLiteral("汉"),
                          convertLines(linesField(poem, QStringLiteral("content"), chuciPath), t2s));
    }

    for (const PrimerPoem &poem : readPrimer(tangPrimerPath(dist), QStringLiteral("唐"), t2s))
        if (!isRegulatedForm(poem.form) && !poem.lines.isEmpty())
            works << primerWork(kAncient, poem, QStringLiteral("唐诗三百首"));
    return works;
}

} // namespace builddb
