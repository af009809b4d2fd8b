// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/guangyun.h"

#include "tools/common/builderror.h"
#include "tools/common/sources.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace builddb {

namespace {

std::optional<Tone> toneOf(const QString &text)
{
    for (Tone tone : {Tone::Ping, Tone::Shang, Tone::Qu, Tone::Ru})
        if (text == toneChar(tone))
            return tone;
    return std::nullopt;
}

QList<GuangyunEntry> entriesOf(const QJsonArray &rows, const QString &source)
{
    QList<GuangyunEntry> entries;
    entries.reserve(rows.size());
    for (const QJsonValue &value : rows) {
        const QJsonArray row = value.toArray();
        const QString hanzi = row.at(0).toString();
        const QList<uint> ucs4 = hanzi.toUcs4();
        const std::optional<Tone> tone = toneOf(row.at(1).toString());
        const QString rhyme = row.at(2).toString();
        const QString hu = row.at(3).toString();
        if (row.size() != 5 || ucs4.size() != 1 || !tone || rhyme.size() != 1 || hu.size() > 1 ||
            !row.at(4).isDouble())
            throw BuildError(source,
                             QStringLiteral("an entry is not [字頭, 聲, 韻, 呼, 小韻號]: %1")
                                 .arg(QString::fromUtf8(QJsonDocument(row).toJson(QJsonDocument::Compact))));
        entries.append(
            {ucs4.front(), {*tone, rhyme, hu.isEmpty() ? QChar() : hu.front(), row.at(4).toInt()}});
    }
    if (entries.isEmpty())
        throw BuildError(source, QStringLiteral("holds no entries"));
    return entries;
}

} // namespace

QList<GuangyunEntry> readGuangyun(const QString &packageDir)
{
    // Only the fields the books need; the glosses would be most of the output.
    static const QString script =
        QStringLiteral("const d = require(process.argv[1]).資料;"
                       "if (!d || typeof d.iter音韻地位 !== 'function') { console.error('no "
                       "資料.iter音韻地位'); process.exit(2); }"
                       "const out = [];"
                       "for (const a of d.iter音韻地位())"
                       "  for (const e of d.query音韻地位(a))"
                       "    out.push([e.字頭, a.聲, a.韻, a.呼 || '', Number(e.來源 && e.來源.小韻號) || 0]);"
                       "process.stdout.write(JSON.stringify(out));");
    const QJsonDocument doc = readThroughNode(packageDir, script);
    if (!doc.isArray())
        throw BuildError(packageDir, QStringLiteral("its entries are not a JSON array"));
    return entriesOf(doc.array(), packageDir);
}

} // namespace builddb
