// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dictionary/primers.h"

#include "tools/common/sources.h"
#include "tools/dictionary/poemtext.h"
#include "tools/dictionary/poetryjson.h"

#include <QDir>
#include <QRegularExpression>

namespace builddb {

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

} // namespace builddb
