// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/printed.h"

#include "tools/common/sources.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

QList<PrintedPoem> tangshiAsPrinted(const QString &dist)
{
    const QJsonObject anthology =
        builddb::readJsonObject(QDir(dist).filePath(QStringLiteral("mengxue/tangshisanbaishou.json")));
    QList<PrintedPoem> out;
    for (const QJsonValue &section : anthology.value(QStringLiteral("content")).toArray()) {
        const QString type = section.toObject().value(QStringLiteral("type")).toString();
        for (const QJsonValue &v : section.toObject().value(QStringLiteral("content")).toArray()) {
            const QJsonObject poem = v.toObject();
            PrintedPoem p{type,
                          poem.value(QStringLiteral("author")).toString(),
                          poem.value(QStringLiteral("chapter")).toString(),
                          {}};
            for (const QJsonValue &line : poem.value(QStringLiteral("paragraphs")).toArray())
                p.paragraphs << line.toString();
            out << p;
        }
    }
    return out;
}
