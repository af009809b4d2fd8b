// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cicorpus.h"

#include "tools/common/builderror.h"
#include "tools/common/sources.h"

#include <QDir>
#include <QJsonObject>
#include <QRegularExpression>

#include <limits>

namespace builddb {

namespace {

// Names the corpus writes in another way than the usual one: a variant character (翦 for 剪) or a
// homophone the 词 books give as the same tune.
const QHash<QString, QString> &usualWritings()
{
    static const QHash<QString, QString> map = {
        {QStringLiteral("一翦梅"), QStringLiteral("一剪梅")},
        {QStringLiteral("雨淋铃"), QStringLiteral("雨霖铃")},
        {QStringLiteral("番女怨"), QStringLiteral("蕃女怨")},
        {QStringLiteral("忆余杭"), QStringLiteral("忆馀杭")},
        {QStringLiteral("离亭宴"), QStringLiteral("离亭燕")},
    };
    return map;
}

// One entry of a corpus file: its name field may be "rhythmic" (宋词, 五代词) and its title may carry a
// number after the name ("菩萨蛮 其一").
CorpusCi entryOf(const QJsonObject &entry, const QString &path, const Converter &t2s)
{
    const QJsonValue paragraphs = entry.value(QStringLiteral("paragraphs"));
    if (!entry.value(QStringLiteral("rhythmic")).isString() || !paragraphs.isArray())
        throw BuildError(path, QStringLiteral("an entry has no \"rhythmic\" text or \"paragraphs\" list"));
    QStringList lines;
    for (const QJsonValue &line : paragraphs.toArray())
        lines << line.toString();
    // One conversion per poem: OpenCC keeps the line breaks.
    return {t2s(entry.value(QStringLiteral("author")).toString()).trimmed(),
            t2s(entry.value(QStringLiteral("rhythmic")).toString()).trimmed(),
            t2s(lines.join(u'\n')).split(u'\n')};
}

void readFileInto(const QString &path, const Converter &t2s, QList<CorpusCi> &out)
{
    for (const QJsonValue &value : readJsonArray(path))
        out.append(entryOf(value.toObject(), path, t2s));
}

} // namespace

QList<CorpusCi> readSongCi(const QString &dist, const Converter &t2s)
{
    const QDir folder(QDir(dist).filePath(QStringLiteral("songci")));
    QStringList files = folder.entryList({QStringLiteral("ci.song.*.json")}, QDir::Files);
    if (files.isEmpty())
        throw BuildError(folder.path(), QStringLiteral("holds no ci.song.*.json files"));
    // ci.song.0.json, ci.song.1000.json …: in the order of the numbers, the corpus's own order.
    static const QRegularExpression number(QStringLiteral("^ci\\.song\\.(\\d+)\\.json$"));
    const auto rank = [](const QString &name) {
        const QRegularExpressionMatch m = number.match(name);
        return m.hasMatch() ? m.captured(1).toLongLong() : std::numeric_limits<qint64>::max();
    };
    std::stable_sort(files.begin(), files.end(), [&](const QString &a, const QString &b) {
        return std::pair(rank(a), a) < std::pair(rank(b), b);
    });
    QList<CorpusCi> out;
    for (const QString &name : files)
        readFileInto(folder.filePath(name), t2s, out);
    return out;
}

QList<CorpusCi> readWudaiCi(const QString &dist, const Converter &t2s)
{
    const QDir root(QDir(dist).filePath(QStringLiteral("wudaishici")));
    const QDir huajian(root.filePath(QStringLiteral("huajianji")));
    // huajianji-1-juan.json … huajianji-9-juan.json, huajianji-x-juan.json (the tenth): the preface holds
    // no 词.
    const QStringList files =
        huajian.entryList({QStringLiteral("huajianji-*-juan.json")}, QDir::Files, QDir::Name);
    const QString nantang = root.filePath(QStringLiteral("nantang/poetrys.json"));
    if (files.isEmpty() || !QFileInfo::exists(nantang))
        throw BuildError(root.path(),
                         QStringLiteral("holds no 花间集 juan files or no nantang/poetrys.json"));
    QList<CorpusCi> out;
    for (const QString &name : files)
        readFileInto(huajian.filePath(name), t2s, out);
    readFileInto(nantang, t2s, out);
    return out;
}

QStringList tuneNameParts(const QString &written)
{
    QString n = written;
    for (const QChar dot : {u'・', u'·', u'•', u'‧', u'･'})
        n.replace(dot, u'·');
    // 乐语 names no 词牌: 王义山's 21 pieces for the court's feasts under that heading are each in
    // another tune; as one "tune" they made forms that took 纳兰性德's 蝶恋花 (出塞) from its own.
    QStringList parts;
    for (const QString &p : n.split(u'·')) {
        const QString t = usualWritings().value(p.trimmed(), p.trimmed());
        if (!t.isEmpty() && !t.contains(u'□') && t != u"自度曲" && t != u"失调名" && t != u"乐语" &&
            !parts.contains(t))
            parts << t;
    }
    return parts;
}

} // namespace builddb
