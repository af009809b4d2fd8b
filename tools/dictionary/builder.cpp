// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dictionary/builder.h"

#include "db/schema.h"
#include "tools/common/builderror.h"
#include "tools/common/converter.h"
#include "tools/common/progress.h"
#include "tools/common/temporaryfile.h"
#include "tools/dictionary/dbwriter.h"
#include "tools/dictionary/meanings.h"
#include "tools/dictionary/rhymes.h"
#include "tools/dictionary/works.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace builddb {

namespace {

QList<Work> readAllWorks(const QString &dist, const Converter &t2s, BuildSummary &summary, Progress &progress)
{
    QList<Work> works;
    const QSet<QString> poets = tangPoets(dist, t2s);
    const QList<QList<Work>> parts = {seriesWorks(dist, poets, t2s), regulatedVerse(dist, t2s),
                                      ciWorks(dist, t2s), sanquWorks(dist, t2s), ancientVerse(dist, t2s)};
    QStringList counts;
    for (const QList<Work> &part : parts) {
        for (const Work &work : part)
            ++summary.worksByCategory[work.category];
        works += part;
    }
    for (const Category &c : categories())
        counts << QStringLiteral("%1 %2").arg(c.name).arg(summary.worksByCategory.value(c.name));
    progress.stage(QStringLiteral("classic works"), counts.join(QStringLiteral(", ")));
    return works;
}

RhymeTables readRhymeTables(const SourcePaths &src, BuildSummary &summary, Progress &progress)
{
    const HanziTable hanzi = readUnihan(src);
    qsizetype readingCount = 0;
    for (const Hanzi &h : hanzi)
        readingCount += h.readings.size();
    progress.stage(QStringLiteral("Unihan"),
                   QStringLiteral("%1 characters, %2 readings").arg(hanzi.size()).arg(readingCount));

    const ReadingWeights weights =
        readReadingWeights(src.nodeModule(QStringLiteral("@pinyin-pro/data/json/complete.json")), hanzi);
    progress.stage(QStringLiteral("reading weights"), QStringLiteral("complete.json read"));

    RhymeTables rhymes =
        buildRhymeTables(hanzi, weights, src.unihanFile(QStringLiteral("Unihan_Readings.txt.bz2")));
    summary.plainRows = rhymes.plain.size();
    summary.retroflexRows = rhymes.retroflex.size();
    summary.commonChars = rhymes.commonCount;
    summary.rareChars = rhymes.rareCount;
    progress.stage(QStringLiteral("rhyme tables"),
                   QStringLiteral("%1 %2 rows, %3 %4 rows; %5 common, %6 rare")
                       .arg(schema::tablePsy)
                       .arg(summary.plainRows)
                       .arg(schema::tableJsy)
                       .arg(summary.retroflexRows)
                       .arg(summary.commonChars)
                       .arg(summary.rareChars));
    return rhymes;
}

Lexicon readLexicon(const SourcePaths &src, BuildSummary &summary, Progress &progress)
{
    const QHash<QString, QString> explanations =
        readExplanations(src.nodeModule(QStringLiteral("cnchar-data/explanation")));
    progress.stage(QStringLiteral("explanations"), QStringLiteral("%1 entries").arg(explanations.size()));
    const QStringList idiomList = readIdiomList(src.nodeModule(QStringLiteral("cnchar-idiom")));
    const QStringList modern =
        readModernWords(src.nodeModule(QStringLiteral("@pinyin-pro/data/json/modern.json")));
    progress.stage(QStringLiteral("word lists"),
                   QStringLiteral("%1 idioms, %2 modern words").arg(idiomList.size()).arg(modern.size()));
    Lexicon lexicon = buildLexicon(explanations, idiomList, modern);
    summary.idioms = lexicon.idioms.size();
    summary.words = lexicon.words.size();
    summary.wordsWithoutMeaning = lexicon.wordsWithoutMeaning;
    progress.stage(QStringLiteral("words and idioms"),
                   QStringLiteral("%1 idioms, %2 words (%3 without a meaning), %4 cross-references resolved")
                       .arg(summary.idioms)
                       .arg(summary.words)
                       .arg(summary.wordsWithoutMeaning)
                       .arg(lexicon.referencesResolved));
    return lexicon;
}

void writeDatabase(const QString &path, const RhymeTables &rhymes, const Lexicon &lexicon,
                   const QList<Work> &works, const QDate &date)
{
    DatabaseWriter writer(path);
    writer.writeRhymes(schema::tablePsy, rhymes.plain);
    writer.writeRhymes(schema::tableJsy, rhymes.retroflex);
    writer.writeEntries(schema::tableIdioms, lexicon.idioms);
    writer.writeEntries(schema::tableWords, lexicon.words);
    writer.writeWorks(works, date);
    writer.finish();
}

void logSummary(QTextStream &log, const BuildSummary &summary, qsizetype works, double seconds)
{
    log << QStringLiteral("Summary, built in %1 s:").arg(seconds, 0, 'f', 1) << Qt::endl
        << QStringLiteral("  %1 %2 rows, %3 %4 rows (简易 %5 characters, 繁杂 %6)")
               .arg(schema::tablePsy)
               .arg(summary.plainRows)
               .arg(schema::tableJsy)
               .arg(summary.retroflexRows)
               .arg(summary.commonChars)
               .arg(summary.rareChars)
        << Qt::endl
        << QStringLiteral("  %1 %2 rows").arg(schema::tableIdioms).arg(summary.idioms) << Qt::endl
        << QStringLiteral("  %1 %2 rows (%3 without a meaning)")
               .arg(schema::tableWords)
               .arg(summary.words)
               .arg(summary.wordsWithoutMeaning)
        << Qt::endl
        << QStringLiteral("  %1 %2 rows and the draft").arg(schema::tableWorks).arg(works) << Qt::endl;
}

} // namespace

BuildSummary buildDatabase(const BuildOptions &options, QTextStream &log)
{
    const QFileInfo target(options.output);
    if (target.exists())
        throw BuildError(
            options.output,
            QStringLiteral("already exists; it may hold the user's works, so it is left as it is"));
    if (!QDir().mkpath(target.absolutePath()))
        throw BuildError(target.absolutePath(), QStringLiteral("cannot be created"));

    BuildSummary summary;
    Progress progress(log);
    const Converter t2s(options.openccConfig);
    const RhymeTables rhymes = readRhymeTables(options.sources, summary, progress);
    const Lexicon lexicon = readLexicon(options.sources, summary, progress);
    const QList<Work> works = readAllWorks(options.sources.nodeModule(QStringLiteral("chinese-poetry/dist")),
                                           t2s, summary, progress);

    // Declared before the writer so that the writer closes the file before it is removed.
    const std::unique_ptr<QTemporaryFile> temporary = temporaryBeside(options.output);
    writeDatabase(temporary->fileName(), rhymes, lexicon, works, options.date);
    putInPlace(*temporary, options.output, Existing::Keep);
    summary.fileSize = QFileInfo(options.output).size();
    progress.stage(QStringLiteral("database written"),
                   QStringLiteral("%1 (%2 MB)").arg(options.output).arg(summary.fileSize / 1e6, 0, 'f', 1));
    logSummary(log, summary, works.size(), progress.seconds());
    return summary;
}

} // namespace builddb
