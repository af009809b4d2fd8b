// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/poemreader.h"

#include "db/classicsschema.h"
#include "prosody/text/reader.h"
#include "tools/common/builderror.h"
#include "tools/common/sources.h"
#include "tools/dictionary/poemtext.h"
#include "tools/dictionary/poetryjson.h"
#include "tools/dictionary/primers.h"

#include <QDir>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace builddb {

namespace cs = classicsschema;

namespace {

const QString kQuantangshi = QStringLiteral("全唐诗");
const QString kSongci = QStringLiteral("宋词");
const QString kTangPrimer = QStringLiteral("唐诗三百首");
const QString kQianjiashi = QStringLiteral("千家诗");
const QString kSongPrimer = QStringLiteral("宋词三百首");
const QString kUnknownDynasty = QStringLiteral("不详");

// How a collection's file is read.
struct Collection {
    QString name;
    QString dynasty;
    QString form;
    QString titleField; // 词 are known by their tune
    QString primerTag;  // the tag the collection gives the primer's poems
    bool primer = false;
};

// A list of texts; an absent list is empty.
QStringList stringsOf(const QJsonObject &entry, const QString &name, const QString &file)
{
    const QJsonValue value = entry.value(name);
    if (value.isUndefined())
        return {};
    if (!value.isArray())
        throw BuildError(file, QStringLiteral("an entry's \"%1\" is not a list").arg(name));
    QStringList out;
    for (const QJsonValue &v : value.toArray()) {
        if (!v.isString())
            throw BuildError(file,
                             QStringLiteral("the list \"%1\" holds a value that is not a text").arg(name));
        out << v.toString();
    }
    return out;
}

// The files of a collection in its own order ("poet.tang.1000.json" after "poet.tang.0.json"); a
// file without a number ("ci.song.2019y.json") comes last.
QStringList numberedFiles(const QDir &dir, const QString &pattern)
{
    QStringList files = dir.entryList({pattern}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        throw BuildError(dir.path(), QStringLiteral("holds no %1 files").arg(pattern));
    const auto number = [](const QString &name) {
        bool ok = false;
        const qint64 n = name.section(u'.', 2, 2).toLongLong(&ok);
        return ok ? n : std::numeric_limits<qint64>::max();
    };
    std::stable_sort(files.begin(), files.end(),
                     [&](const QString &a, const QString &b) { return number(a) < number(b); });
    for (QString &name : files)
        name = dir.filePath(name);
    return files;
}

// Converts many texts in one call of OpenCC, whose cost is mostly per call.
QStringList convertAll(QStringList texts, const Converter &t2s)
{
    for (QString &t : texts)
        t.replace(u'\n', u' ');
    const QStringList converted = t2s(texts.join(u'\n')).split(u'\n');
    if (converted.size() == texts.size())
        return converted;
    QStringList one; // should OpenCC ever change a line break
    for (const QString &t : texts)
        one << t2s(t);
    return one;
}

// The first characters of a poem that count in the metre, up to most of them.
QString head(const QStringList &lines, qsizetype most)
{
    QString out;
    for (const QString &line : lines) {
        for (const char32_t c : line.toUcs4()) {
            if (!prosody::isVerseChar(c))
                continue;
            out += QString::fromUcs4(&c, 1);
            if (--most == 0)
                return out;
        }
    }
    return out;
}

bool hasVerseChar(const QString &line)
{
    const QList<uint> chars = line.toUcs4();
    return std::any_of(chars.begin(), chars.end(), [](uint c) { return prosody::isVerseChar(c); });
}

// Collects the poems, merging an entry into a poem read before when it holds the same poem.
class Merger {
public:
    Merger(QList<ClassicPoem> &poems, CorpusReport &report)
        : m_poems(poems)
        , m_report(report)
    {
    }

    void add(ClassicPoem poem)
    {
        ++m_report.read[poem.sources.first()];
        const CleanText clean = cleanLines(poem.lines);
        poem.lines = clean.lines;
        poem.notes += clean.notes;
        poem.notes.removeAll(QString());
        if (poem.lines.isEmpty()) {
            ++m_report.withoutText;
            return;
        }
        // Sixteen characters: long enough that two poems of one author rarely share them (three 忆江南
        // of 白居易 open with 江南好), short enough to meet again across editions.
        const QString start = head(poem.lines, 16);
        QList<qsizetype> &candidates = m_byHead[poem.author + u'\t' + QString::number(start.size())];
        for (qsizetype i : candidates) {
            if (!isSameLine(m_heads.at(i), start))
                continue;
            ClassicPoem &first = m_poems[i];
            if (!first.sources.contains(poem.sources.first()))
                first.sources << poem.sources.first();
            first.inPrimer = first.inPrimer || poem.inPrimer;
            ++m_report.merged;
            return;
        }
        candidates.append(m_poems.size());
        m_heads.append(start);
        m_poems.append(poem);
    }

private:
    QList<ClassicPoem> &m_poems;
    CorpusReport &m_report;
    QList<QString> m_heads;
    QHash<QString, QList<qsizetype>> m_byHead; // author and length of the head → poems
};

void readPrimerFile(const QString &path, const QString &collection, const QString &dynasty,
                    const Converter &t2s, Merger &merger)
{
    for (const PrimerPoem &p : readPrimer(path, dynasty, t2s))
        merger.add({p.title,
                    p.author,
                    p.dynasty.isEmpty() ? kUnknownDynasty : p.dynasty,
                    cs::formShi,
                    {collection},
                    p.lines,
                    p.notes,
                    true});
}

void readCollectionFile(const QString &path, const Collection &c, const Converter &t2s, Merger &merger)
{
    struct Entry {
        qsizetype at;
        qsizetype lines;
        qsizetype notes;
        bool tagged;
    };
    QList<Entry> entries;
    QStringList texts;
    for (const QJsonValue &value : readJsonArray(path)) {
        const QJsonObject o = entryAt(value, path);
        if (!o.value(QStringLiteral("paragraphs")).isArray())
            throw BuildError(path, QStringLiteral("an entry has no list \"paragraphs\""));
        const QStringList lines = stringsOf(o, QStringLiteral("paragraphs"), path);
        QStringList notes = stringsOf(o, QStringLiteral("notes"), path);
        if (const QString preface = o.value(QStringLiteral("prologue")).toString(); !preface.isEmpty())
            notes.prepend(QStringLiteral("序：") + preface);
        entries.append({texts.size(), lines.size(), notes.size(),
                        stringsOf(o, QStringLiteral("tags"), path).contains(c.primerTag)});
        texts << textField(o, c.titleField, path) << textField(o, QStringLiteral("author"), path) << lines
              << notes;
    }
    const QStringList converted = convertAll(texts, t2s);
    for (const Entry &e : entries) {
        merger.add({converted.at(e.at).trimmed(),
                    converted.at(e.at + 1).trimmed(),
                    c.dynasty,
                    c.form,
                    {c.name},
                    converted.mid(e.at + 2, e.lines),
                    converted.mid(e.at + 2 + e.lines, e.notes),
                    c.primer || e.tagged});
    }
}

} // namespace

CleanText cleanLines(const QStringList &lines)
{
    CleanText out;
    const QString text = lines.join(u'\n');
    QString kept, note;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'（') {
            if (depth++ > 0)
                note += c;
            continue;
        }
        if (c == u'）' && depth > 0) {
            if (--depth > 0) {
                note += c;
            } else {
                if (const QString n = note.trimmed(); !n.isEmpty())
                    out.notes << n;
                note.clear();
            }
            continue;
        }
        if (depth > 0) {
            if (c != u'\n') // a note running over lines is one note
                note += c;
        } else if (c != u'[' && c != u']') {
            kept += c;
        }
    }
    if (depth > 0) // unbalanced: the rest stays in the text
        kept += u'（' + note;
    for (const QString &line : kept.split(u'\n'))
        if (hasVerseChar(line))
            out.lines << line.trimmed();
    return out;
}

QList<ClassicPoem> readClassics(const QString &dist, const Converter &t2s, CorpusReport &report)
{
    QList<ClassicPoem> poems;
    Merger merger(poems, report);
    const QDir root(dist);
    readPrimerFile(tangPrimerPath(dist), kTangPrimer, QStringLiteral("唐"), t2s, merger);
    readPrimerFile(root.filePath(QStringLiteral("mengxue/qianjiashi.json")), kQianjiashi, QString(), t2s,
                   merger);
    const Collection songPrimer{kSongPrimer, QStringLiteral("宋"), cs::formCi, QStringLiteral("rhythmic"), {},
                                true};
    readCollectionFile(root.filePath(QStringLiteral("songci/宋词三百首.json")), songPrimer, t2s, merger);

    const Collection tang{kQuantangshi, QStringLiteral("唐"), cs::formShi, QStringLiteral("title"),
                          kTangPrimer};
    for (const QString &file : numberedFiles(QDir(root.filePath(QStringLiteral("quantangshi"))),
                                             QStringLiteral("poet.tang.*.json")))
        readCollectionFile(file, tang, t2s, merger);
    const Collection song{kSongci, QStringLiteral("宋"), cs::formCi, QStringLiteral("rhythmic"), kSongPrimer};
    for (const QString &file :
         numberedFiles(QDir(root.filePath(QStringLiteral("songci"))), QStringLiteral("ci.song.*.json")))
        readCollectionFile(file, song, t2s, merger);
    return poems;
}

QStringList orderForSearch(QList<ClassicPoem> &poems)
{
    QStringList order = {QStringLiteral("唐"), QStringLiteral("五代"), QStringLiteral("宋"),
                         QStringLiteral("元"), QStringLiteral("明"),   QStringLiteral("清")};
    for (const ClassicPoem &p : poems)
        if (!order.contains(p.dynasty) && p.dynasty != kUnknownDynasty)
            order << p.dynasty;
    order << kUnknownDynasty;
    QHash<QString, int> rank;
    for (qsizetype i = 0; i < order.size(); ++i)
        rank.insert(order.at(i), int(i));
    std::stable_sort(poems.begin(), poems.end(), [&](const ClassicPoem &a, const ClassicPoem &b) {
        return std::pair(!a.inPrimer, rank.value(a.dynasty)) < std::pair(!b.inPrimer, rank.value(b.dynasty));
    });
    QStringList present;
    for (const QString &d : order)
        if (std::any_of(poems.begin(), poems.end(), [&](const ClassicPoem &p) { return p.dynasty == d; }))
            present << d;
    return present;
}

} // namespace builddb
