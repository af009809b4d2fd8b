// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/corpora.h"

#include "prosody/ci/cipu.h"
#include "tools/common/sources.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

namespace evaluate {

namespace {

QStringList stringsOf(const QJsonValue &v)
{
    QStringList out;
    for (const QJsonValue &p : v.toArray())
        if (p.isString() && !p.toString().trimmed().isEmpty())
            out << p.toString().trimmed();
    return out;
}

SourcePoem made(const QString &title, const QString &author, const QString &dynasty,
                const QStringList &printed, const builddb::Converter &t2s)
{
    static const QRegularExpression note(QStringLiteral("[（(][^）)]*[）)]"));
    SourcePoem p;
    p.title = t2s(title).trimmed();
    p.author = t2s(author).trimmed();
    p.dynasty = dynasty;
    p.printed = printed;
    for (const QString &line : printed) {
        QString s = t2s(line);
        s.remove(note);
        s = s.trimmed();
        if (s.isEmpty())
            continue;
        // The plain reading ends each line with its stop, which some files leave out.
        if (!QStringLiteral("，。！？；：、").contains(s.back()))
            s += u'。';
        p.plain << s;
    }
    return p;
}

// 唐诗三百首 and 千家诗: sections by form, authors as "（唐）孟浩然", a series as subchapters.
QList<SourcePoem> primer(const QString &path, const builddb::Converter &t2s)
{
    static const QRegularExpression dynastyPrefix(QStringLiteral("^[（(]([^）)]+)[）)]\\s*(.+)$"));
    QList<SourcePoem> out;
    for (const QJsonValue &s : builddb::readJsonObject(path).value(QStringLiteral("content")).toArray()) {
        const QString form = t2s(s.toObject().value(QStringLiteral("type")).toString());
        for (const QJsonValue &v : s.toObject().value(QStringLiteral("content")).toArray()) {
            const QJsonObject o = v.toObject();
            QString author = o.value(QStringLiteral("author")).toString().trimmed(),
                    dynasty = QStringLiteral("唐");
            if (const auto m = dynastyPrefix.match(author); m.hasMatch())
                dynasty = t2s(m.captured(1)), author = m.captured(2);
            const QString title = o.value(QStringLiteral("chapter")).toString();
            const QJsonArray parts = o.value(QStringLiteral("paragraphs")).toArray();
            if (!parts.isEmpty() && parts.first().isObject()) {
                for (const QJsonValue &part : parts) {
                    SourcePoem p = made(title, author, dynasty,
                                        stringsOf(part.toObject().value(QStringLiteral("paragraphs"))), t2s);
                    p.filed = form;
                    out << p;
                }
                continue;
            }
            SourcePoem p = made(title, author, dynasty, stringsOf(parts), t2s);
            p.filed = form;
            out << p;
        }
    }
    return out;
}

// The form regulated lines make: 五言绝句 … 七言律诗; empty for another shape.
QString shapeForm(const QStringList &plain)
{
    static const QRegularExpression stops(QStringLiteral("[，。！？；、]"));
    QList<qsizetype> lengths;
    for (const QString &line : plain)
        for (const QString &ju : line.split(stops, Qt::SkipEmptyParts))
            lengths << ju.trimmed().size();
    if ((lengths.size() != 4 && lengths.size() != 8) || (lengths.first() != 5 && lengths.first() != 7) ||
        lengths.count(lengths.first()) != lengths.size())
        return {};
    return (lengths.first() == 5 ? QStringLiteral("五言") : QStringLiteral("七言")) +
           (lengths.size() == 4 ? QStringLiteral("绝句") : QStringLiteral("律诗"));
}

QList<SourcePoem> tangSample(const QString &dist, const builddb::Converter &t2s, int limit)
{
    QList<SourcePoem> out;
    for (int file = 0; file <= 57000 && out.size() < limit; file += 3000) {
        const QJsonArray poems = builddb::readJsonArray(
            QDir(dist).filePath(QStringLiteral("quantangshi/poet.tang.%1.json").arg(file)));
        for (qsizetype i = 0; i < poems.size() && out.size() < limit; i += 7) {
            const QJsonObject o = poems.at(i).toObject();
            SourcePoem p = made(t2s(o.value(QStringLiteral("title")).toString()),
                                t2s(o.value(QStringLiteral("author")).toString()), QStringLiteral("唐"),
                                stringsOf(o.value(QStringLiteral("paragraphs"))), t2s);
            p.filed = shapeForm(p.plain);
            if (!p.filed.isEmpty())
                out << p;
        }
    }
    return out;
}

QList<SourcePoem> ciFile(const QString &path, const builddb::Converter &t2s, int step, int limit)
{
    QList<SourcePoem> out;
    const QJsonArray poems = builddb::readJsonArray(path);
    for (qsizetype i = 0; i < poems.size() && out.size() < limit; i += step) {
        const QJsonObject o = poems.at(i).toObject();
        const QString tune = t2s(o.value(QStringLiteral("rhythmic")).toString()).trimmed();
        SourcePoem p = made(tune, t2s(o.value(QStringLiteral("author")).toString()), QStringLiteral("宋"),
                            stringsOf(o.value(QStringLiteral("paragraphs"))), t2s);
        p.tune = tune;
        if (!p.plain.isEmpty())
            out << p;
    }
    return out;
}

} // namespace

QStringList corpora(const QString &named, bool held)
{
    if (!named.isEmpty())
        return {named};
    if (held)
        return {QStringLiteral("qianjiashi"), QStringLiteral("shuimo"), QStringLiteral("nalan")};
    return {QStringLiteral("tang300"), QStringLiteral("song300"), QStringLiteral("tangsample"),
            QStringLiteral("songsample")};
}

QList<SourcePoem> readCorpus(const QString &dist, const QString &name, const builddb::Converter &t2s,
                             int limit)
{
    const QDir d(dist);
    QList<SourcePoem> out;
    if (name == u"tang300")
        out = primer(d.filePath(QStringLiteral("mengxue/tangshisanbaishou.json")), t2s);
    else if (name == u"qianjiashi")
        out = primer(d.filePath(QStringLiteral("mengxue/qianjiashi.json")), t2s);
    else if (name == u"song300")
        out = ciFile(d.filePath(QStringLiteral("songci/宋词三百首.json")), t2s, 1, limit);
    else if (name == u"songsample")
        for (int file = 0; file <= 21000 && out.size() < limit; file += 3000)
            out += ciFile(d.filePath(QStringLiteral("songci/ci.song.%1.json").arg(file)), t2s, 11,
                          limit - int(out.size()));
    else if (name == u"tangsample")
        out = tangSample(dist, t2s, limit);
    else if (name == u"shuimo")
        for (const QJsonValue &v :
             builddb::readJsonArray(d.filePath(QStringLiteral("shuimotangshi/shuimotangshi.json")))) {
            const QJsonObject o = v.toObject();
            SourcePoem p = made(o.value(QStringLiteral("title")).toString(),
                                o.value(QStringLiteral("author")).toString(), QStringLiteral("唐"),
                                stringsOf(o.value(QStringLiteral("paragraphs"))), t2s);
            p.filed = shapeForm(p.plain);
            out << p;
        }
    else if (name == u"nalan")
        for (const QJsonValue &v :
             builddb::readJsonArray(d.filePath(QStringLiteral("nalanxingde/纳兰性德诗集.json")))) {
            const QJsonObject o = v.toObject();
            SourcePoem p = made(o.value(QStringLiteral("title")).toString(),
                                o.value(QStringLiteral("author")).toString(), QStringLiteral("清"),
                                stringsOf(o.value(QStringLiteral("para"))), t2s);
            p.tune = p.title.section(u'·', 0, 0).trimmed();
            out << p;
        }
    return out.mid(0, limit);
}

QList<const prosody::CiTune *> tunesOfName(const prosody::Cipu &cipu, const QString &name)
{
    QList<const prosody::CiTune *> out;
    for (const prosody::CiTune *tune : cipu.findAll(name))
        out << tune;
    QString n = name;
    n.replace(u'・', u'·');
    for (const QString &part : n.split(u'·', Qt::SkipEmptyParts))
        for (const prosody::CiTune *tune : cipu.findAll(part))
            if (!out.contains(tune))
                out << tune;
    return out;
}

} // namespace evaluate
