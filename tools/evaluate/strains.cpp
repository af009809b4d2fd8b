// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/strains.h"

#include "tools/common/sources.h"
#include "tools/dictionary/poemtext.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

QString dist()
{
    return builddb::SourcePaths::installed().nodeModule(QStringLiteral("chinese-poetry/dist"));
}

QString keyOf(const QString &author, const QString &firstLine)
{
    return author + u'\t' + builddb::firstClause(firstLine);
}

// 平仄 strings of 全唐诗 poems, by author and first clause in simplified characters.
QHash<QString, QStringList> tangStrains(const builddb::Converter &t2s)
{
    QHash<QString, QStringList> byKey;
    const QDir poems(QDir(dist()).filePath(QStringLiteral("quantangshi")));
    const QDir strains(QDir(dist()).filePath(QStringLiteral("strains/json")));
    for (const QString &name : poems.entryList({QStringLiteral("poet.tang.*.json")}, QDir::Files)) {
        if (!strains.exists(name))
            continue;
        QHash<QString, QStringList> strainsById;
        for (const QJsonValue &v : builddb::readJsonArray(strains.filePath(name))) {
            QStringList lines;
            for (const QJsonValue &s : v.toObject().value(QStringLiteral("strains")).toArray())
                lines << s.toString();
            strainsById.insert(v.toObject().value(QStringLiteral("id")).toString(), lines);
        }
        for (const QJsonValue &v : builddb::readJsonArray(poems.filePath(name))) {
            const QJsonObject poem = v.toObject();
            const QJsonArray paragraphs = poem.value(QStringLiteral("paragraphs")).toArray();
            if (paragraphs.isEmpty())
                continue;
            const QString key = keyOf(t2s(poem.value(QStringLiteral("author")).toString()),
                                      t2s(paragraphs.first().toString()));
            const QStringList s = strainsById.value(poem.value(QStringLiteral("id")).toString());
            if (!s.isEmpty() && !byKey.contains(key))
                byKey.insert(key, s);
        }
    }
    return byKey;
}
