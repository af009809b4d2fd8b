// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/layouts.h"

#include <QRegularExpression>

namespace evaluate {

namespace {

const QRegularExpression &stops()
{
    static const QRegularExpression re(QStringLiteral("[，。！？；：、]"));
    return re;
}

QString joinedLines(const SourcePoem &p)
{
    return p.plain.join(u'\n');
}

// Each 句 of the poem, without its stop.
QStringList jus(const SourcePoem &p)
{
    QStringList out;
    for (const QString &line : p.plain)
        for (const QString &ju : line.split(stops(), Qt::SkipEmptyParts))
            if (!ju.trimmed().isEmpty())
                out << ju.trimmed();
    return out;
}

QString titleOf(const SourcePoem &p)
{
    return p.title.isEmpty() ? p.tune : p.title;
}

} // namespace

QString authorLine(const SourcePoem &poem, int style)
{
    switch (style % 3) {
    case 0:
        return QStringLiteral("（%1）%2").arg(poem.dynasty, poem.author);
    case 1:
        return QStringLiteral("%1·%2").arg(poem.dynasty, poem.author);
    default:
        return poem.author;
    }
}

QStringList withoutFinalStops(const QStringList &lines)
{
    QStringList out;
    for (QString line : lines) {
        while (!line.isEmpty() && QStringLiteral("，。！？；：、").contains(line.back()))
            line.chop(1);
        out << line;
    }
    return out;
}

QList<Layout> layouts(const builddb::Converter &s2t)
{
    QList<Layout> out;
    out.append({QStringLiteral("plain"), [](const SourcePoem &p, int) { return joinedLines(p); }});
    out.append({QStringLiteral("no final stops"),
                [](const SourcePoem &p, int) { return withoutFinalStops(p.plain).join(u'\n'); }});
    out.append({QStringLiteral("a 句 a line"), [](const SourcePoem &p, int) { return jus(p).join(u'\n'); }});
    out.append(
        {QStringLiteral("one line"), [](const SourcePoem &p, int) { return p.plain.join(QString()); }});
    out.append({QStringLiteral("half-width stops"), [](const SourcePoem &p, int) {
                    QString t = joinedLines(p);
                    const QString full = QStringLiteral("，。！？；：、"), half = QStringLiteral(",.!?;:,");
                    for (qsizetype i = 0; i < full.size(); ++i)
                        t.replace(full.at(i), half.at(i));
                    return t;
                }});
    out.append({QStringLiteral("spaces between 句"), [](const SourcePoem &p, int) {
                    QStringList lines;
                    for (const QString &line : p.plain)
                        lines << line.split(stops(), Qt::SkipEmptyParts).join(u' ').trimmed();
                    return lines.join(u'\n');
                }});
    out.append({QStringLiteral("title above"),
                [](const SourcePoem &p, int) { return titleOf(p) + u'\n' + joinedLines(p); }});
    out.append({QStringLiteral("title and author"), [](const SourcePoem &p, int i) {
                    return titleOf(p) + u'\n' + authorLine(p, i) + u'\n' + joinedLines(p);
                }});
    out.append({QStringLiteral("title and author, no final stops"), [](const SourcePoem &p, int i) {
                    return titleOf(p) + u'\n' + authorLine(p, i) + u'\n' +
                           withoutFinalStops(p.plain).join(u'\n');
                }});
    out.append({QStringLiteral("section labels"),
                [](const SourcePoem &p, int) {
                    if (!p.isCi())
                        return QStringLiteral("其一\n%1\n其二\n%1").arg(joinedLines(p));
                    const qsizetype half = (p.plain.size() + 1) / 2;
                    return QStringLiteral("上阕\n%1\n下阕\n%2")
                        .arg(p.plain.mid(0, half).join(u'\n'), p.plain.mid(half).join(u'\n'));
                },
                true});
    out.append({QStringLiteral("note under it"), [](const SourcePoem &p, int) {
                    return joinedLines(p) + QStringLiteral("\n注：①此诗作于诗人晚年。②一作“春山”。");
                }});
    out.append(
        {QStringLiteral("traditional"), [&s2t](const SourcePoem &p, int) { return s2t(joinedLines(p)); }});
    return out;
}

} // namespace evaluate
