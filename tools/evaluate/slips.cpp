// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/slips.h"

#include "prosody/check.h"
#include "tools/common/converter.h"
#include "tools/common/sources.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>

using namespace prosody;

namespace {

// The lines of a poem of regulated shape, else none.
QStringList regulatedLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("[，。？！；、\\s]+"));
    const QStringList lines = text.split(breaks, Qt::SkipEmptyParts);
    if (lines.isEmpty() || (lines.size() != 4 && lines.size() != 8))
        return {};
    const qsizetype n = lines.first().size();
    if (n != 5 && n != 7)
        return {};
    for (const QString &l : lines)
        if (l.size() != n)
            return {};
    return lines;
}

} // namespace

int slips(const std::shared_ptr<const RhymeBooks> &books, const QString &dist, QTextStream &out)
{
    const builddb::Converter t2s;
    const QJsonObject anthology =
        builddb::readJsonObject(QDir(dist).filePath(QStringLiteral("mengxue/tangshisanbaishou.json")));
    int poems = 0, asShi = 0;
    QMap<QString, int> asCi;
    QStringList examples;
    for (const QJsonValue &section : anthology.value(QStringLiteral("content")).toArray()) {
        for (const QJsonValue &v : section.toObject().value(QStringLiteral("content")).toArray()) {
            QStringList paragraphs;
            for (const QJsonValue &p : v.toObject().value(QStringLiteral("paragraphs")).toArray())
                paragraphs << p.toString();
            QStringList lines = regulatedLines(t2s(paragraphs.join(u'\n')));
            if (lines.isEmpty())
                continue;
            // The slip, spread over lines and places by the poem's number: a character doubled in even
            // poems, dropped in odd ones.
            const int line = poems % int(lines.size());
            const int at = (poems * 3) % int(lines[line].size());
            if (poems % 2 == 0)
                lines[line].insert(at, lines[line].at(at));
            else
                lines[line].remove(at, 1);
            ++poems;
            const QList<PoemCheck> checks =
                checkAs(books, lines.join(u'\n'), CheckRequest{}).value_or(QList<PoemCheck>());
            // As 诗: the slip named, or a last line short taken as still being typed, or a first line long
            // taken as a title.
            if (checks.size() == 1 && !checks.first().isCi()) {
                ++asShi;
                continue;
            }
            const QString said =
                checks.size() == 1 ? checks.first().summary() : QStringLiteral("%1 首").arg(checks.size());
            ++asCi[said.section(QStringLiteral(" · "), 0, 1)];
            examples << QStringLiteral("- %1 → %2").arg(lines.join(u'/'), said);
        }
    }
    out << "## A slip in the regulated verse of 唐诗三百首, checked in 自动\n\n| item | count |\n|---|---:|\n"
        << "| poems with one character doubled or dropped | " << poems << " |\n| read as 诗 | " << asShi
        << " |\n| taken for a 词 | " << poems - asShi << " |\n\n";
    for (auto it = asCi.constBegin(); it != asCi.constEnd(); ++it)
        out << "- " << it.key() << ": " << it.value() << "\n";
    out << "\n" << examples.join(u'\n') << "\n" << Qt::endl;
    return 0;
}
