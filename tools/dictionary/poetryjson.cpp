// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dictionary/poetryjson.h"

#include "tools/common/builderror.h"

namespace builddb {

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

} // namespace builddb
