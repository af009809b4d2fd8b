// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

// The fields of chinese-poetry's JSON entries; each reader throws BuildError naming the file when the
// field is missing or of another kind.
namespace builddb {

QString textField(const QJsonObject &entry, const QString &name, const QString &file);
// A list of texts, the value of the field `name`.
QStringList linesOf(const QJsonValue &value, const QString &name, const QString &file);
QStringList linesField(const QJsonObject &entry, const QString &name, const QString &file);
QJsonObject entryAt(const QJsonValue &value, const QString &file);
QJsonArray arrayField(const QJsonObject &object, const QString &name, const QString &file);

} // namespace builddb
