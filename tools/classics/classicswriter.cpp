// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/classicswriter.h"

#include "classics/indextext.h"
#include "db/classicsschema.h"
#include "prosody/text/reader.h"
#include "tools/common/builderror.h"

#include <QSet>

namespace builddb {

namespace cs = classicsschema;

namespace {

// Counts the characters of a line, each once per line in its dynasty's column.
void tallyLine(const QString &line, int dynasty, qsizetype dynasties, LineTally &tally)
{
    QSet<char32_t> seen;
    for (const char32_t c : line.toUcs4()) {
        if (!prosody::isVerseChar(c))
            continue;
        ++tally.characters;
        if (seen.contains(c))
            continue;
        seen.insert(c);
        QList<int> &counts = tally.charLines[c];
        counts.resize(dynasties);
        ++counts[dynasty];
    }
}

} // namespace

LineTally writePoems(ReferenceWriter &writer, const QList<ClassicPoem> &poems, const QStringList &dynasties,
                     const prosody::Variants &variants)
{
    LineTally tally;
    writer.insert(cs::tablePoems, [&](Statement &poemRow) {
        writer.insert(cs::tableLines, [&](Statement &lineRow) {
            writer.prepared("INSERT INTO 句索引 (rowid, 文) VALUES (?1, ?2)", [&](Statement &indexRow) {
                for (qsizetype i = 0; i < poems.size(); ++i) {
                    const ClassicPoem &p = poems.at(i);
                    const int dynasty = int(dynasties.indexOf(p.dynasty));
                    if (tally.runs.isEmpty() || tally.runs.last().dynasty != p.dynasty)
                        tally.runs.append({tally.lines + 1, tally.lines + 1, p.dynasty});
                    insertRow(poemRow, i + 1, p.title, p.author, p.dynasty, p.form,
                              p.sources.join(QStringLiteral(" · ")), p.notes.join(u'\n'), tally.lines + 1,
                              p.lines.size());
                    for (const QString &line : p.lines) {
                        ++tally.lines;
                        insertRow(lineRow, tally.lines, i + 1, line);
                        const QString standard = variants.standard(line);
                        insertRow(indexRow, tally.lines, classics::indexedText(standard));
                        tallyLine(standard, dynasty, dynasties.size(), tally);
                    }
                    tally.runs.last().last = tally.lines;
                }
            });
        });
    });
    return tally;
}

void writeDynasties(ReferenceWriter &writer, const QStringList &dynasties, const QList<DynastyRun> &runs)
{
    writer.insert(cs::tableDynasties, [&](Statement &stmt) {
        for (qsizetype i = 0; i < dynasties.size(); ++i)
            insertRow(stmt, i + 1, dynasties.at(i));
    });
    writer.insert(cs::tableRuns, [&](Statement &stmt) {
        for (const DynastyRun &r : runs)
            insertRow(stmt, r.first, r.last, r.dynasty);
    });
}

void writeCharCounts(ReferenceWriter &writer, const QHash<char32_t, QList<int>> &charLines,
                     const QStringList &dynasties)
{
    writer.insert(cs::tableCharCounts, [&](Statement &stmt) {
        for (auto it = charLines.constBegin(); it != charLines.constEnd(); ++it) {
            const char32_t c = it.key();
            for (qsizetype d = 0; d < it->size(); ++d)
                if (it->at(d) != 0)
                    insertRow(stmt, QString::fromUcs4(&c, 1), dynasties.at(d), it->at(d));
        }
    });
}

void writeRhymeWords(ReferenceWriter &writer, const RhymeWordTally &tally)
{
    writer.insert(cs::tableRhymeWords, [&](Statement &stmt) {
        for (const RhymeWordCount &c : tally.counts)
            insertRow(stmt, prosody::bookName(c.book), c.group, c.hanzi, c.count);
    });
}

void writeVariants(ReferenceWriter &writer, const prosody::Variants &variants)
{
    writer.insert(cs::tableVariants, [&](Statement &stmt) {
        for (auto [form, standard] : variants.table().asKeyValueRange())
            insertRow(stmt, QString::fromUcs4(&form, 1), QString::fromUcs4(&standard, 1));
    });
}

void writeTotals(ReferenceWriter &writer, const QList<std::pair<QString, qint64>> &totals)
{
    writer.insert(cs::tableTotals, [&](Statement &stmt) {
        for (const auto &[key, value] : totals)
            insertRow(stmt, key, value);
    });
}

void writeVersion(ReferenceWriter &writer, const QString &version)
{
    writer.insert(cs::tableVersion, [&](Statement &stmt) { insertRow(stmt, cs::versionKey, version); });
}

void optimizeIndex(ReferenceWriter &writer)
{
    writer.exec("INSERT INTO 句索引 (句索引) VALUES ('optimize')");
}

void verifyIndex(ReferenceWriter &writer, qsizetype distinctChars, const QString &file)
{
    writer.exec("CREATE VIRTUAL TABLE temp.索引词 USING fts5vocab('main', '句索引', 'row')");
    qint64 terms = 0;
    writer.prepared("SELECT count(*) FROM temp.索引词 WHERE term <> '0'", [&](Statement &stmt) {
        if (stmt.step())
            terms = stmt.int64(0);
    });
    if (terms != distinctChars)
        throw BuildError(file,
                         QStringLiteral("the full-text index holds %1 distinct characters, the lines %2")
                             .arg(terms)
                             .arg(distinctChars));
    writer.exec("DROP TABLE temp.索引词");
}

} // namespace builddb
