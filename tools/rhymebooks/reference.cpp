#include "tools/rhymebooks/reference.h"

#include "db/dberror.h"
#include "db/rhymebookschema.h"
#include "db/sqlite.h"
#include "tools/common/builderror.h"
#include "tools/common/converter.h"
#include "tools/common/progress.h"
#include "tools/common/referencewriter.h"
#include "tools/common/storedversion.h"
#include "tools/common/temporaryfile.h"
#include "tools/rhymebooks/cipubook/bookerror.h"
#include "tools/rhymebooks/cipubook/cipubook.h"
#include "tools/rhymebooks/cipumerge/cipumerge.h"
#include "tools/rhymebooks/cipuwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryFile>

#include <memory>

namespace builddb {

namespace rb = rhymebookschema;

namespace {

// Raised whenever what the builder writes changes, so that the set-up rebuilds older files.
const QString kFormat = QStringLiteral("rhymebooks 11");

const QString kGuangyunPackage = QStringLiteral("tshet-uinh");
const QString kPinyinPackage = QStringLiteral("@pinyin-pro/data");
const QString kPoetryPackage = QStringLiteral("chinese-poetry");

QString text(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

void writeBooks(ReferenceWriter &writer, const RhymeBooks &books)
{
    for (const Book &book : books.books) {
        writer.insert(rb::tableGroups, 4, [&](Statement &stmt) {
            for (const BookGroup &g : book.groups) {
                stmt.bindText(1, book.name);
                stmt.bindInt64(2, g.order);
                stmt.bindText(3, g.name);
                stmt.bindText(4, g.tone);
                run(stmt);
            }
        });
        writer.insert(rb::tableChars, 6, [&](Statement &stmt) {
            for (const BookChar &c : book.chars) {
                stmt.bindText(1, book.name);
                stmt.bindText(2, c.group);
                stmt.bindText(3, text(c.hanzi));
                stmt.bindText(4, c.tone);
                stmt.bindInt64(5, c.level);
                stmt.bindInt64(6, c.order);
                run(stmt);
            }
        });
        writer.insert(rb::tableNeighbours, 3, [&](Statement &stmt) {
            for (const auto &[group, neighbour] : book.neighbours) {
                stmt.bindText(1, book.name);
                stmt.bindText(2, group);
                stmt.bindText(3, neighbour);
                run(stmt);
            }
        });
        writer.insert(rb::tableUngrouped, 5, [&](Statement &stmt) {
            for (const UngroupedChar &c : book.ungrouped) {
                stmt.bindText(1, book.name);
                stmt.bindText(2, text(c.hanzi));
                stmt.bindText(3, c.tone);
                stmt.bindInt64(4, c.level);
                stmt.bindText(5, c.basis);
                run(stmt);
            }
        });
    }
    writer.insert(rb::tableReadings, 3, [&](Statement &stmt) {
        for (auto it = books.readings.constBegin(); it != books.readings.constEnd(); ++it) {
            for (qsizetype i = 0; i < it->size(); ++i) {
                stmt.bindText(1, text(it.key()));
                stmt.bindInt64(2, i + 1);
                stmt.bindText(3, it->at(i));
                run(stmt);
            }
        }
    });
}

// "2 ... # Date: 2022-08-03 ..." — the first lines of a bzip2 file, without reading it whole.
QString unihanDate(const QString &path)
{
    const QByteArray head = readBzip2Head(path, 4096);
    const qsizetype at = head.indexOf("# Date:");
    if (at < 0)
        return QStringLiteral("undated");
    return QString::fromUtf8(head.mid(at + 7, head.indexOf('\n', at) - at - 7)).trimmed();
}

bool hasCipuBook(const SourcePaths &sources)
{
    return QFileInfo::exists(QDir(sources.cipuBook()).filePath(QStringLiteral("KR4j0086_001.txt")));
}

QList<std::pair<QString, QString>> sourceVersions(const SourcePaths &sources)
{
    return {
        {kGuangyunPackage, packageVersion(sources.nodeModule(kGuangyunPackage))},
        {kPinyinPackage, packageVersion(sources.nodeModule(kPinyinPackage))},
        {kPoetryPackage, packageVersion(sources.nodeModule(kPoetryPackage))},
        {QStringLiteral("Unihan"), unihanDate(sources.unihanFile(QStringLiteral("Unihan_Variants.txt.bz2")))},
        {QStringLiteral("御定词谱"), hasCipuBook(sources) ? QStringLiteral("KR4j0086") : QStringLiteral("无")},
    };
}

// The corpus's 词谱 with 御定词谱's where the tree holds its text.
DerivedCipu cipuOf(const SourcePaths &src, const QString &dist, const Converter &t2s, const CiLookup &lookup,
                   Progress &progress)
{
    DerivedCipu corpus = deriveCipu(readSongCi(dist, t2s) + readWudaiCi(dist, t2s), lookup);
    logCipu(corpus, progress);
    if (!hasCipuBook(src)) {
        progress.stage(QStringLiteral("御定词谱"),
                       QStringLiteral("no text under %1: the 词谱 is the corpus's alone").arg(src.cipuBook()));
        return corpus;
    }
    try {
        const cipubook::CipuBook book = cipubook::readCipuBook(src.cipuBook());
        cipumerge::MergeReport report;
        DerivedCipu merged = cipumerge::mergeCipu(corpus, book, cipumerge::BookCharacters(t2s), lookup, &report);
        logMerge(report, progress);
        return merged;
    } catch (const cipubook::BookError &e) {
        throw BuildError(src.cipuBook(), QString::fromStdString(e.what()));
    }
}

void logBooks(const RhymeBooks &books, Progress &progress)
{
    for (const Book &book : books.books) {
        QSet<QString> groups;
        QHash<char32_t, QSet<QChar>> classes;
        qsizetype common = 0;
        for (const BookGroup &g : book.groups)
            groups.insert(g.name);
        for (const BookChar &c : book.chars)
            classes[c.hanzi].insert(c.tone == u'平' ? u'平' : u'仄');
        qsizetype both = 0;
        for (auto it = classes.constBegin(); it != classes.constEnd(); ++it)
            both += it->size() == 2;
        QSet<char32_t> levelOne;
        for (const BookChar &c : book.chars)
            if (c.level == 1)
                levelOne.insert(c.hanzi);
        common = levelOne.size();
        progress.stage(book.name, QStringLiteral("%1 groups, %2 characters (%3 of level 1), %4 rows, %5 with "
                                                 "readings of both classes, %6 without a group")
                                      .arg(groups.size())
                                      .arg(classes.size())
                                      .arg(common)
                                      .arg(book.chars.size())
                                      .arg(both)
                                      .arg(book.ungrouped.size()));
    }
    const FilterReport &f = books.filter;
    progress.stage(
        QStringLiteral("reflex filter"),
        QStringLiteral("%1 of %2 classical readings removed; kept whole for %3 characters no modern "
                       "reading supports; %4 kept by our list")
            .arg(f.readingsRemoved)
            .arg(f.readingsBefore)
            .arg(f.keptForNoSupport)
            .arg(f.keptByList));
    progress.stage(QStringLiteral("classes the filter changed"), QStringLiteral("%1 level-1 characters: %2")
                                                                     .arg(f.changedLevelOne.size())
                                                                     .arg(f.changedLevelOne.join(u' ')));
    progress.stage(QStringLiteral("level 1 coverage"),
                   QStringLiteral("%1 directly, %2 under a variant form, %3 from our list, %4 without a "
                                  "classical reading")
                       .arg(f.levelOneWithReading)
                       .arg(f.levelOneFromVariants)
                       .arg(f.levelOneFromOurList)
                       .arg(f.levelOneWithout));
}

} // namespace

QString rhymeBooksDataVersion(const SourcePaths &sources)
{
    QStringList parts = {kFormat};
    for (const auto &[name, version] : sourceVersions(sources))
        parts << name + u' ' + version;
    return parts.join(QStringLiteral("; "));
}

QMap<QString, QString> polyphoneWords(const QJsonObject &complete, const HanziTable &standard)
{
    QSet<char32_t> mixed;
    for (auto it = standard.constBegin(); it != standard.constEnd(); ++it) {
        bool level = false, oblique = false;
        for (const Reading &r : it->readings)
            (r.tone <= 2 ? level : oblique) = true;
        if (level && oblique)
            mixed.insert(it.key());
    }
    QMap<QString, QString> words;
    for (auto it = complete.constBegin(); it != complete.constEnd(); ++it) {
        const QList<uint> hanzi = it.key().toUcs4();
        if (hanzi.size() < 2 ||
            std::none_of(hanzi.begin(), hanzi.end(), [&](uint c) { return mixed.contains(c); }))
            continue;
        const QString pinyin = it.value().toArray().at(0).toString();
        if (pinyin.split(u' ', Qt::SkipEmptyParts).size() == hanzi.size())
            words.insert(it.key(), pinyin);
    }
    return words;
}

ReferenceSummary buildReferenceFile(const ReferenceOptions &options, QTextStream &log)
{
    ReferenceSummary summary;
    const SourcePaths &src = options.sources;
    const QString version = rhymeBooksDataVersion(src);
    if (options.onlyIfOutdated && storedDataVersion(options.output) == version) {
        log << QStringLiteral("%1 is up to date (%2)").arg(options.output, version) << Qt::endl;
        summary.skipped = true;
        return summary;
    }

    const QFileInfo target(options.output);
    if (!QDir().mkpath(target.absolutePath()))
        throw BuildError(target.absolutePath(), QStringLiteral("cannot be created"));
    Progress progress(log);

    RhymeBookInputs in;
    in.standard = readUnihan(src);
    in.unihan = readUnihanExtras(src);
    progress.stage(
        QStringLiteral("Unihan"),
        QStringLiteral("%1 standard characters, %2 variant links, %3 Mandarin "
                       "readings")
            .arg(in.standard.size())
            .arg(in.unihan.simplified.size() + in.unihan.traditional.size() + in.unihan.variants.size())
            .arg(in.unihan.mandarin.size()));
    in.guangyun = readGuangyun(src.nodeModule(kGuangyunPackage));
    progress.stage(QStringLiteral("廣韻"), QStringLiteral("%1 entries").arg(in.guangyun.size()));
    const QString completePath = src.nodeModule(kPinyinPackage + QStringLiteral("/json/complete.json"));
    const QJsonObject complete = readJsonObject(completePath);
    const ReadingWeights weights = readingWeightsOf(complete, in.standard, completePath);
    const QMap<QString, QString> words = polyphoneWords(complete, in.standard);
    progress.stage(QStringLiteral("word readings"),
                   QStringLiteral("%1 words with a character of both classes").arg(words.size()));
    in.weights = &weights;
    const Converter t2s(QStringLiteral("t2s.json")), tw2s(QStringLiteral("tw2s.json")),
        hk2s(QStringLiteral("hk2s.json"));
    in.simplifiers = {std::cref(t2s), std::cref(tw2s), std::cref(hk2s)};
    summary.books = buildRhymeBooks(in);
    logBooks(summary.books, progress);
    const QString dist = src.nodeModule(kPoetryPackage + QStringLiteral("/dist"));
    summary.cipu = cipuOf(src, dist, t2s, ciLookupOf(summary.books), progress);

    const std::unique_ptr<QTemporaryFile> temporary = temporaryBeside(options.output);
    {
        ReferenceWriter writer(temporary->fileName(), rb::createStatements());
        writeBooks(writer, summary.books);
        writeCipu(writer, summary.cipu);
        writer.insert(rb::tableWordReadings, 2, [&](Statement &stmt) {
            for (auto it = words.constBegin(); it != words.constEnd(); ++it) {
                stmt.bindText(1, it.key());
                stmt.bindText(2, it.value());
                run(stmt);
            }
        });
        writer.insert(rb::tableVersion, 2, [&](Statement &stmt) {
            QList<std::pair<QString, QString>> rows = {{rb::versionKey, version}};
            rows += sourceVersions(src);
            for (const auto &[key, value] : rows) {
                stmt.bindText(1, key);
                stmt.bindText(2, value);
                run(stmt);
            }
        });
        writer.finish();
    }
    replace(*temporary, options.output);
    summary.wordReadings = words.size();
    summary.fileSize = QFileInfo(options.output).size();
    progress.stage(QStringLiteral("reference file written"), QStringLiteral("%1 (%2 MB) in %3 s")
                                                                 .arg(options.output)
                                                                 .arg(summary.fileSize / 1e6, 0, 'f', 1)
                                                                 .arg(progress.seconds(), 0, 'f', 1));
    return summary;
}

} // namespace builddb
