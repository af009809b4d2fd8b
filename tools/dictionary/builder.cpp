#include "tools/dictionary/builder.h"

#include "db/schema.h"
#include "tools/common/builderror.h"
#include "tools/common/converter.h"
#include "tools/common/progress.h"
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
    const SourcePaths &src = options.sources;
    const Converter t2s(options.openccConfig);

    const HanziTable hanzi = readUnihan(src);
    qsizetype readingCount = 0;
    for (const Hanzi &h : hanzi)
        readingCount += h.readings.size();
    progress.stage(QStringLiteral("Unihan"),
                   QStringLiteral("%1 characters, %2 readings").arg(hanzi.size()).arg(readingCount));

    const ReadingWeights weights =
        readReadingWeights(src.nodeModule(QStringLiteral("@pinyin-pro/data/json/complete.json")), hanzi);
    progress.stage(QStringLiteral("reading weights"), QStringLiteral("complete.json read"));

    const RhymeTables rhymes =
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

    const QHash<QString, QString> explanations =
        readExplanations(src.nodeModule(QStringLiteral("cnchar-data/explanation")));
    progress.stage(QStringLiteral("explanations"), QStringLiteral("%1 entries").arg(explanations.size()));
    const QStringList idiomList = readIdiomList(src.nodeModule(QStringLiteral("cnchar-idiom")));
    const QStringList modern =
        readModernWords(src.nodeModule(QStringLiteral("@pinyin-pro/data/json/modern.json")));
    progress.stage(QStringLiteral("word lists"),
                   QStringLiteral("%1 idioms, %2 modern words").arg(idiomList.size()).arg(modern.size()));
    const Lexicon lexicon = buildLexicon(explanations, idiomList, modern);
    summary.idioms = lexicon.idioms.size();
    summary.words = lexicon.words.size();
    summary.wordsWithoutMeaning = lexicon.wordsWithoutMeaning;
    progress.stage(QStringLiteral("words and idioms"),
                   QStringLiteral("%1 idioms, %2 words (%3 without a meaning), %4 cross-references resolved")
                       .arg(summary.idioms)
                       .arg(summary.words)
                       .arg(summary.wordsWithoutMeaning)
                       .arg(lexicon.referencesResolved));

    const QList<Work> works =
        readAllWorks(src.nodeModule(QStringLiteral("chinese-poetry/dist")), t2s, summary, progress);

    // Declared before the writer so that the writer closes the file before it is removed.
    QTemporaryFile temporary(
        QDir(target.absolutePath()).filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!temporary.open())
        throw BuildError(temporary.fileTemplate(),
                         QStringLiteral("cannot be created: ") + temporary.errorString());
    temporary.close();
    // A temporary file is private to its owner; the database is an ordinary file.
    temporary.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    {
        DatabaseWriter writer(temporary.fileName());
        writer.writeRhymes(schema::tablePsy, rhymes.plain);
        writer.writeRhymes(schema::tableJsy, rhymes.retroflex);
        writer.writeEntries(schema::tableIdioms, lexicon.idioms);
        writer.writeEntries(schema::tableWords, lexicon.words);
        writer.writeWorks(works, options.date);
        writer.finish();
    }
    // rename() never replaces an existing file, should one have appeared during the build.
    if (!temporary.rename(options.output))
        throw BuildError(options.output, QStringLiteral("cannot be written: ") + temporary.errorString());
    temporary.setAutoRemove(false); // the renamed file is the result
    summary.fileSize = QFileInfo(options.output).size();
    progress.stage(QStringLiteral("database written"),
                   QStringLiteral("%1 (%2 MB)").arg(options.output).arg(summary.fileSize / 1e6, 0, 'f', 1));

    log << QStringLiteral("Summary, built in %1 s:").arg(progress.seconds(), 0, 'f', 1) << Qt::endl
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
        << QStringLiteral("  %1 %2 rows and the draft").arg(schema::tableWorks).arg(works.size()) << Qt::endl;
    return summary;
}

} // namespace builddb
