#include "tools/dictionary/works.h"

#include "presentation/categories.h"
#include "tools/common/builderror.h"
#include "tools/common/sources.h"

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

QString textField(const QJsonObject &entry, const QString &name, const QString &file)
{
    const QJsonValue value = entry.value(name);
    if (!value.isString())
        throw BuildError(file, QStringLiteral("an entry has no text field \"%1\"").arg(name));
    return value.toString();
}

QStringList linesOf(const QJsonValue &value, const QString &name, const QString &file)
{
    if (!value.isArray())
        throw BuildError(file, QStringLiteral("an entry has no list \"%1\"").arg(name));
    QStringList lines;
    for (const QJsonValue &line : value.toArray()) {
        if (!line.isString())
            throw BuildError(file,
                             QStringLiteral("the list \"%1\" holds a value that is not a text").arg(name));
        lines << line.toString();
    }
    return lines;
}

QStringList linesField(const QJsonObject &entry, const QString &name, const QString &file)
{
    return linesOf(entry.value(name), name, file);
}

QJsonObject entryAt(const QJsonValue &value, const QString &file)
{
    if (!value.isObject())
        throw BuildError(file, QStringLiteral("holds an entry that is not a JSON object"));
    return value.toObject();
}

QJsonArray arrayField(const QJsonObject &object, const QString &name, const QString &file)
{
    const QJsonValue value = object.value(name);
    if (!value.isArray())
        throw BuildError(file, QStringLiteral("has no list \"%1\"").arg(name));
    return value.toArray();
}

// Trimmed lines without the empty ones.
QStringList tidyLines(const QStringList &lines)
{
    QStringList out;
    for (const QString &line : lines)
        if (const QString t = line.trimmed(); !t.isEmpty())
            out << t;
    return out;
}

// Converts a poem's lines in one call.
QStringList convertLines(const QStringList &lines, const Converter &t2s)
{
    return tidyLines(t2s(lines.join(u'\n')).split(u'\n'));
}

QString remarks(const QString &head, const QStringList &notes)
{
    QStringList parts;
    if (!head.isEmpty())
        parts << head;
    parts << tidyLines(notes);
    return parts.join(u'\n');
}

// Takes the bracketed notes on variant readings, such as "(明年 一作：年年)", out of the lines; a
// note may run over into the next line.
QStringList takeNotes(QStringList &lines)
{
    const QString text = lines.join(u'\n');
    QString kept, note;
    QStringList notes;
    int depth = 0;
    for (QChar c : text) {
        const bool open = c == u'(' || c == u'（';
        const bool close = c == u')' || c == u'）';
        if (open && depth++ == 0) {
            note.clear();
            continue;
        }
        if (close && depth > 0 && --depth == 0) {
            notes << note.simplified();
            continue;
        }
        (depth > 0 ? note : kept) += c;
    }
    if (depth > 0)
        kept += u'(' + note;
    lines = tidyLines(kept.split(u'\n'));
    return notes;
}

Work makeWork(const QString &category, const QString &title, const QString &author, const QString &source,
              const QString &remarks, const QStringList &lines)
{
    return {title, category, author, source, remarks, lines.join(u'\n'), 1};
}

} // namespace

QList<PrimerPoem> readPrimer(const QString &path, const QString &defaultDynasty, const Converter &t2s)
{
    static const QRegularExpression dynastyPrefix(QStringLiteral("^[（(]([^）)]+)[）)]\\s*(.+)$"));
    QList<PrimerPoem> poems;
    const QJsonObject root = readJsonObject(path);
    for (const QJsonValue &sectionValue : arrayField(root, QStringLiteral("content"), path)) {
        const QJsonObject section = entryAt(sectionValue, path);
        const QString form = t2s(textField(section, QStringLiteral("type"), path));
        for (const QJsonValue &itemValue : arrayField(section, QStringLiteral("content"), path)) {
            const QJsonObject item = entryAt(itemValue, path);
            PrimerPoem poem;
            poem.form = form;
            poem.title = t2s(textField(item, QStringLiteral("chapter"), path)).trimmed();
            poem.author = t2s(textField(item, QStringLiteral("author"), path)).trimmed();
            poem.dynasty = defaultDynasty;
            if (const auto m = dynastyPrefix.match(poem.author); m.hasMatch()) {
                poem.dynasty = m.captured(1);
                poem.author = m.captured(2);
            }

            // Other titles the poem goes by: "送别 / 山中送别".
            const QString subchapter = t2s(item.value(QStringLiteral("subchapter")).toString());
            QStringList otherTitles;
            for (const QString &t : subchapter.split(u'/', Qt::SkipEmptyParts))
                if (t.trimmed() != poem.title)
                    otherTitles << t.trimmed();
            if (!otherTitles.isEmpty())
                poem.notes << QStringLiteral("又题：") + otherTitles.join(u'、');

            const QJsonValue paragraphs = item.value(QStringLiteral("paragraphs"));
            const QJsonArray parts = paragraphs.toArray();
            if (!parts.isEmpty() && parts.first().isObject()) {
                // A group of poems under one title ("秋兴八首": 其一, 其二, ...) gives one poem each.
                for (const QJsonValue &partValue : parts) {
                    const QJsonObject part = entryAt(partValue, path);
                    PrimerPoem single = poem;
                    single.title += u'·' + t2s(textField(part, QStringLiteral("subchapter"), path)).trimmed();
                    single.lines = convertLines(linesField(part, QStringLiteral("paragraphs"), path), t2s);
                    single.notes += takeNotes(single.lines);
                    poems << single;
                }
                continue;
            }
            poem.lines = convertLines(linesOf(paragraphs, QStringLiteral("paragraphs"), path), t2s);
            poem.notes += takeNotes(poem.lines);
            poems << poem;
        }
    }
    return poems;
}

QString tangPrimerPath(const QString &dist)
{
    return QDir(dist).filePath(QStringLiteral("mengxue/tangshisanbaishou.json"));
}

namespace {

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

bool isSameLine(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    const qsizetype allowed = a.size() / 8;
    qsizetype differences = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && ++differences > allowed)
            return false;
    return true;
}

QString firstClause(const QString &text)
{
    static const QRegularExpression stop(QStringLiteral("[，。？！；：、,.?!;:\\s]"));
    const QString trimmed = text.trimmed();
    const qsizetype at = trimmed.indexOf(stop);
    return at < 0 ? trimmed : trimmed.left(at);
}

EditorialSplit splitEditorialNotes(const QString &text)
{
    EditorialSplit out;
    QString poem;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i) != u'（') {
            poem += text.at(i++);
            continue;
        }
        qsizetype end = i + 1;
        for (int depth = 1; end < text.size(); ++end) {
            depth += text.at(end) == u'（' ? 1 : text.at(end) == u'）' ? -1 : 0;
            if (depth == 0)
                break;
        }
        if (end >= text.size()) { // unbalanced: leave the rest as it is
            poem += text.mid(i);
            break;
        }
        const QString inner = text.mid(i + 1, end - i - 1);
        QString note = inner;
        note.remove(u'\n');
        note = note.trimmed();
        // Variant readings (一作「行」) and marks of a doubtful character (疑) stay with the line.
        if (note.startsWith(QStringLiteral("一作")) || note.size() <= 2)
            poem += text.mid(i, end - i + 1);
        else
            out.notes << note;
        i = end + 1;
    }
    // A line left with nothing but punctuation once its note has gone is dropped.
    static const QRegularExpression punctuationOnly(QStringLiteral("^[\\p{P}\\s]*$"));
    QStringList lines;
    for (const QString &line : poem.split(u'\n'))
        if (!punctuationOnly.match(line).hasMatch())
            lines << line;
    out.poem = lines.join(u'\n');
    return out;
}

QSet<QString> tangPoets(const QString &dist, const Converter &t2s)
{
    QSet<QString> poets;
    for (const PrimerPoem &poem : readPrimer(tangPrimerPath(dist), QStringLiteral("唐"), t2s))
        if (!isAnonymous(poem.author))
            poets.insert(poem.author);
    return poets;
}

QList<Work> seriesWorks(const QString &dist, const QSet<QString> &poets, const Converter &t2s)
{
    const QDir dir(QDir(dist).filePath(QStringLiteral("quantangshi")));
    QStringList files = dir.entryList({QStringLiteral("poet.tang.*.json")}, QDir::Files);
    if (files.isEmpty())
        throw BuildError(dir.path(), QStringLiteral("holds no poet.tang.*.json files"));
    std::sort(files.begin(), files.end(),
              [](const QString &a, const QString &b) { return fileNumber(a) < fileNumber(b); });

    // "秋興八首 一": the series title, then the poem's place or its own title in the series. A
    // heading before the series title ("雜曲歌辭 秋興八首 一") is left out, so that a poem the
    // collection holds twice, with and without it, lands in one series.
    static const QRegularExpression seriesTitle(
        QStringLiteral("^(?:.*\\s)?(\\S*?[一二三四五六七八九十百]+首)\\s+(\\S.*)$"));
    struct Part {
        QString name;
        QStringList lines;
        QStringList notes;
    };
    struct Series {
        QString author;
        QString title;
        QList<Part> parts;
        QStringList firstLines;
    };
    QList<Series> series;
    QHash<QString, qsizetype> seriesIndex;
    QHash<QString, QString> authorNames; // the same few thousand names recur 57,000 times

    for (const QString &name : files) {
        const QString path = dir.filePath(name);
        for (const QJsonValue &value : readJsonArray(path)) {
            const QJsonObject poem = entryAt(value, path);
            const auto match = seriesTitle.match(textField(poem, QStringLiteral("title"), path));
            if (!match.hasMatch())
                continue;
            const QString rawAuthor = textField(poem, QStringLiteral("author"), path);
            auto author = authorNames.constFind(rawAuthor);
            if (author == authorNames.constEnd())
                author = authorNames.insert(rawAuthor, t2s(rawAuthor));
            if (!poets.contains(*author))
                continue;

            const QString title = t2s(match.captured(1));
            const QString key = *author + u'\t' + title;
            auto index = seriesIndex.constFind(key);
            if (index == seriesIndex.constEnd()) {
                index = seriesIndex.insert(key, series.size());
                series.append({*author, title, {}, {}});
            }
            Series &s = series[*index];

            Part part{t2s(match.captured(2)).simplified(),
                      convertLines(linesField(poem, QStringLiteral("paragraphs"), path), t2s),
                      {}};
            // 全唐诗 holds some poems twice, under a longer title or with a variant character: keep
            // the first.
            const QString first = part.lines.value(0);
            if (first.isEmpty() || std::any_of(s.firstLines.cbegin(), s.firstLines.cend(),
                                               [&](const QString &seen) { return isSameLine(seen, first); }))
                continue;
            s.firstLines << first;
            if (poem.value(QStringLiteral("notes")).isArray())
                part.notes = convertLines(linesField(poem, QStringLiteral("notes"), path), t2s);
            const EditorialSplit split = splitEditorialNotes(part.lines.join(u'\n'));
            part.lines = split.poem.split(u'\n');
            part.notes += split.notes;
            s.parts.append(part);
        }
    }

    QList<Work> works;
    for (const Series &s : series) {
        if (s.parts.size() < 2)
            continue;
        QStringList blocks;
        QStringList notes;
        for (const Part &part : s.parts) {
            const QString heading = isChineseNumeral(part.name) ? u'其' + part.name : part.name;
            blocks << heading + u'\n' + part.lines.join(u'\n');
            for (const QString &note : part.notes)
                notes << heading + QStringLiteral("：") + note;
        }
        Work work{s.title,
                  kSeries,
                  s.author,
                  QStringLiteral("全唐诗"),
                  remarks(QStringLiteral("唐"), notes),
                  blocks.join(QStringLiteral("\n\n")),
                  int(s.parts.size())};
        works << work;
    }
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
