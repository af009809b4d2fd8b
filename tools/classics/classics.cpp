// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/classics.h"

#include "db/classicsschema.h"
#include "db/linetonesschema.h"
#include "prosody/core/referencefile.h"
#include "prosody/text/reader.h"
#include "tools/classics/classicswriter.h"
#include "tools/classics/continuations.h"
#include "tools/classics/coupletpairs.h"
#include "tools/classics/linetones.h"
#include "tools/common/builderror.h"
#include "tools/common/progress.h"
#include "tools/common/referencewriter.h"
#include "tools/common/storedversion.h"
#include "tools/common/temporaryfile.h"

#include <QDir>
#include <QFileInfo>
#include <numeric>

namespace builddb {

namespace cs = classicsschema;

namespace {

// Raised whenever what the builder writes changes, so that the set-up rebuilds older files.
const QString kFormat = QStringLiteral("classics 6");
const QString kPackage = QStringLiteral("chinese-poetry");

// The regulated poems of four couplets among those the rhyme words counted, with their lines in the
// standard characters they stand for.
QList<EightLines> eightLinePoems(const QList<ClassicPoem> &poems, const QList<qsizetype> &verseToPoem,
                                 const QList<qsizetype> &regulated, const prosody::Variants &variants)
{
    QList<EightLines> out;
    for (const qsizetype v : regulated) {
        const qsizetype i = verseToPoem.at(v);
        const QList<prosody::Poem> read = prosody::readPoems(poems.at(i).lines.join(u'\n'));
        if (read.size() != 1 || read.first().lines.size() != 8)
            continue;
        EightLines poem{i + 1, {}};
        for (const prosody::Line &l : read.first().lines)
            poem.lines.append(variants.standard(l.chars));
        out.append(poem);
    }
    return out;
}

std::shared_ptr<const prosody::RhymeBooks> loadBooks(const ClassicsOptions &options)
{
    try {
        return prosody::loadRhymeBooks(options.rhymeBooksPath());
    } catch (const prosody::LoadError &e) {
        throw BuildError(options.rhymeBooksPath(), e.message());
    }
}

QList<ClassicPoem> readPoems(const ClassicsOptions &options, CorpusReport &report, Progress &progress)
{
    const Converter t2s;
    const QList<ClassicPoem> poems =
        readClassics(options.sources.nodeModule(kPackage + QStringLiteral("/dist")), t2s, report);
    QStringList read;
    for (auto it = report.read.constBegin(); it != report.read.constEnd(); ++it)
        read << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    progress.stage(QStringLiteral("poems"),
                   QStringLiteral("%1 read (%2); %3 merged, %4 without text; %5 poems")
                       .arg(std::accumulate(report.read.begin(), report.read.end(), qsizetype(0)))
                       .arg(read.join(QStringLiteral(", ")))
                       .arg(report.merged)
                       .arg(report.withoutText)
                       .arg(poems.size()));
    return poems;
}

// Counts the rhyme words of the regulated verse among the poems; gives back which poem each verse
// counted is.
QList<qsizetype> countRhymes(const QList<ClassicPoem> &poems,
                             std::shared_ptr<const prosody::RhymeBooks> books, RhymeWordTally &tally,
                             Progress &progress)
{
    QList<QStringList> verse;
    QList<qsizetype> verseToPoem;
    for (qsizetype i = 0; i < poems.size(); ++i)
        if (poems.at(i).form == cs::formShi)
            verse << poems.at(i).lines, verseToPoem << i;
    tally = countRhymeWords(verse, std::move(books));
    QStringList unplaced;
    for (prosody::Book b : prosody::allBooks)
        unplaced << QStringLiteral("%1 %2").arg(prosody::bookName(b)).arg(tally.unplaced[int(b)]);
    const qsizetype *faults = tally.byFaults;
    progress.stage(
        QStringLiteral("regulated forms"),
        QStringLiteral("%1 poems with a level rhyme; by faults: %2 none, %3 one, %4 two, %5 three, %6 "
                       "four or more (more than two left out)")
            .arg(std::accumulate(faults, faults + 5, qsizetype(0)))
            .arg(faults[0])
            .arg(faults[1])
            .arg(faults[2])
            .arg(faults[3])
            .arg(faults[4]));
    progress.stage(QStringLiteral("rhyme words"),
                   QStringLiteral("%1 poems of regulated verse, %2 rhyme positions; %3 rows; not placed: %4")
                       .arg(tally.poems)
                       .arg(tally.positions)
                       .arg(tally.counts.size())
                       .arg(unplaced.join(QStringLiteral(", "))));
    return verseToPoem;
}

PairTable countCouplets(const QList<ClassicPoem> &poems, const QList<qsizetype> &verseToPoem,
                        const RhymeWordTally &rhymes, const prosody::Variants &variants, Progress &progress)
{
    const PairTable pairs = countPairs(eightLinePoems(poems, verseToPoem, rhymes.regulated, variants));
    progress.stage(
        QStringLiteral("couplet pairs"),
        QStringLiteral("%1 regulated poems of four couplets, %2 middle couplets; %3 units in %4 groups, "
                       "%5 pairs; character positions attested by the other poems: middle %6 of %7, "
                       "outer %8 of %9")
            .arg(pairs.poems)
            .arg(pairs.couplets.size())
            .arg(pairs.units.size())
            .arg(pairs.groups)
            .arg(pairs.pairs.size() / 2)
            .arg(pairs.middleAttested)
            .arg(pairs.middlePositions)
            .arg(pairs.outerAttested)
            .arg(pairs.outerPositions));
    return pairs;
}

QList<std::pair<QString, qint64>> totalsOf(const ClassicsSummary &summary)
{
    const PairTable &pairs = summary.pairs;
    return {
        {QStringLiteral("诗"), summary.poems},
        {QStringLiteral("句"), summary.lines},
        {QStringLiteral("字"), summary.characters},
        {QStringLiteral("近体诗"), summary.rhymes.poems},
        {QStringLiteral("合并"), summary.corpus.merged},
        {QStringLiteral("对仗诗"), pairs.poems},
        {QStringLiteral("对仗联"), pairs.couplets.size()},
        {QStringLiteral("对语"), pairs.units.size()},
        {QStringLiteral("对仗对"), pairs.pairs.size() / 2},
        {QStringLiteral("对类"), pairs.groups},
        {QStringLiteral("对字"), pairs.characterCount},
    };
}

// Writes every table into the file at path and checks its full-text index.
void writeClassics(const QString &path, const QList<ClassicPoem> &poems, const QStringList &dynasties,
                   const prosody::RhymeBooks &books, const QString &version, ClassicsSummary &summary,
                   Progress &progress)
{
    const prosody::Variants &variants = books.variants();
    ReferenceWriter writer(path, cs::createStatements());
    const LineTally lines = writePoems(writer, poems, dynasties, variants);
    summary.poems = poems.size();
    summary.lines = lines.lines;
    summary.characters = lines.characters;
    writeDynasties(writer, dynasties, lines.runs);
    writeCharCounts(writer, lines.charLines, dynasties);
    summary.tones = writeLineTones(writer, poems, books);
    progress.stage(QStringLiteral("line tones"),
                   QStringLiteral("%1 verse lines (%2 longer than %3 characters, %4 beside a lost character "
                                  "or a letter left out); %5 MB of codes")
                       .arg(summary.tones.lines)
                       .arg(summary.tones.tooLong)
                       .arg(linetonesschema::maxLength)
                       .arg(summary.tones.unclear)
                       .arg(summary.tones.bytes / 1e6, 0, 'f', 1));
    writeRhymeWords(writer, summary.rhymes);
    writePairTable(writer, summary.pairs);
    writeVariants(writer, variants);
    const ContinuationTable continuations = countContinuations(poems);
    writeContinuations(writer, continuations);
    progress.stage(
        QStringLiteral("continuations"),
        QStringLiteral("%1 clauses of 3 to 9 characters; %2 rows, %3 entries kept, %4 seen once or "
                       "beyond a row's cap")
            .arg(continuations.clauses)
            .arg(continuations.rows.size())
            .arg(continuations.entries)
            .arg(continuations.dropped));
    writeTotals(writer, totalsOf(summary));
    writeVersion(writer, version);
    optimizeIndex(writer);
    verifyIndex(writer, lines.charLines.size(), path);
    progress.stage(QStringLiteral("lines"), QStringLiteral("%1 poems, %2 lines, %3 characters (%4 distinct) "
                                                           "written and indexed")
                                                .arg(summary.poems)
                                                .arg(summary.lines)
                                                .arg(summary.characters)
                                                .arg(lines.charLines.size()));
    writer.finish();
}

} // namespace

QString ClassicsOptions::rhymeBooksPath() const
{
    return rhymeBooks.isEmpty() ? QFileInfo(output).dir().filePath(QStringLiteral("rhymebooks.db"))
                                : rhymeBooks;
}

QString classicsDataVersion(const ClassicsOptions &options)
{
    const QString books = storedDataVersion(options.rhymeBooksPath());
    if (books.isEmpty())
        throw BuildError(options.rhymeBooksPath(),
                         QStringLiteral("is missing or holds no rhyme books; build it first with "
                                        "shihai-builddb --rhymebooks %1")
                             .arg(options.rhymeBooksPath()));
    return QStringList{kFormat, kPackage + u' ' + packageVersion(options.sources.nodeModule(kPackage)),
                       QStringLiteral("OpenCC " SHIHAI_OPENCC_VERSION),
                       QStringLiteral("韵书 (%1)").arg(books)}
        .join(QStringLiteral("; "));
}

ClassicsSummary buildClassicsFile(const ClassicsOptions &options, QTextStream &log)
{
    ClassicsSummary summary;
    const QString version = classicsDataVersion(options);
    if (options.onlyIfOutdated && storedDataVersion(options.output) == version) {
        log << QStringLiteral("%1 is up to date (%2)").arg(options.output, version) << Qt::endl;
        summary.skipped = true;
        return summary;
    }
    const std::unique_ptr<QTemporaryFile> temporary = temporaryBeside(options.output);
    Progress progress(log);
    const std::shared_ptr<const prosody::RhymeBooks> books = loadBooks(options);

    QList<ClassicPoem> poems = readPoems(options, summary.corpus, progress);
    const QStringList dynasties = orderForSearch(poems);
    const QList<qsizetype> verseToPoem = countRhymes(poems, books, summary.rhymes, progress);
    summary.pairs = countCouplets(poems, verseToPoem, summary.rhymes, books->variants(), progress);
    writeClassics(temporary->fileName(), poems, dynasties, *books, version, summary, progress);

    putInPlace(*temporary, options.output, Existing::Replace);
    summary.fileSize = QFileInfo(options.output).size();
    progress.stage(QStringLiteral("classics file written"), QStringLiteral("%1 (%2 MB) in %3 s")
                                                                .arg(options.output)
                                                                .arg(summary.fileSize / 1e6, 0, 'f', 1)
                                                                .arg(progress.seconds(), 0, 'f', 1));
    return summary;
}

} // namespace builddb
