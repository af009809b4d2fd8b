// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/reference.h"

#include "db/rhymebookschema.h"
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
#include "tools/rhymebooks/dataversion.h"
#include "tools/rhymebooks/variants.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryFile>

#include <memory>

namespace builddb {

namespace rb = rhymebookschema;

namespace {

void writeBooks(ReferenceWriter &writer, const RhymeBooks &books)
{
    for (const Book &book : books.books) {
        writer.insert(rb::tableGroups, [&](Statement &stmt) {
            for (const BookGroup &g : book.groups) {
                insertRow(stmt, book.name, g.order, g.name, g.tone);
            }
        });
        writer.insert(rb::tableChars, [&](Statement &stmt) {
            for (const BookChar &c : book.chars) {
                insertRow(stmt, book.name, c.group, hanziText(c.hanzi), c.tone, c.level, c.order);
            }
        });
        writer.insert(rb::tableNeighbours, [&](Statement &stmt) {
            for (const auto &[group, neighbour] : book.neighbours) {
                insertRow(stmt, book.name, group, neighbour);
            }
        });
        writer.insert(rb::tableUngrouped, [&](Statement &stmt) {
            for (const UngroupedChar &c : book.ungrouped) {
                insertRow(stmt, book.name, hanziText(c.hanzi), c.tone, c.level, c.basis);
            }
        });
    }
    writer.insert(rb::tableVariants, [&](Statement &stmt) {
        for (auto it = books.variants.constBegin(); it != books.variants.constEnd(); ++it)
            insertRow(stmt, hanziText(it.key()), hanziText(it.value()));
    });
    writer.insert(rb::tableAlsoFor, [&](Statement &stmt) {
        for (auto it = books.alsoFor.constBegin(); it != books.alsoFor.constEnd(); ++it)
            insertRow(stmt, hanziText(it.key()), hanziText(it.value()));
    });
    writer.insert(rb::tableReadings, [&](Statement &stmt) {
        for (auto it = books.readings.constBegin(); it != books.readings.constEnd(); ++it) {
            for (qsizetype i = 0; i < it->size(); ++i) {
                insertRow(stmt, hanziText(it.key()), i + 1, it->at(i));
            }
        }
    });
}

// The corpus's 词谱 with 御定词谱's where the tree holds its text.
DerivedCipu cipuOf(const SourcePaths &src, const QString &dist, const Converter &t2s, const CiLookup &lookup,
                   Progress &progress)
{
    DerivedCipu corpus = deriveCipu(readSongCi(dist, t2s) + readWudaiCi(dist, t2s), lookup);
    logCipu(corpus, progress);
    if (!hasCipuBook(src)) {
        progress.stage(
            QStringLiteral("御定词谱"),
            QStringLiteral("no text under %1: the 词谱 is the corpus's alone").arg(src.cipuBook()));
        return corpus;
    }
    try {
        const cipubook::CipuBook book = cipubook::readCipuBook(src.cipuBook());
        cipumerge::MergeReport report;
        DerivedCipu merged =
            cipumerge::mergeCipu(corpus, book, cipumerge::BookCharacters(t2s), lookup, &report);
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
    progress.stage(
        QStringLiteral("forms kept apart"),
        QStringLiteral("%1 forms of a semantic variant kept in the books under their own readings, "
                       "%2 forms read as their standard characters")
            .arg(f.formsKeptApart)
            .arg(books.variants.size()));
    progress.stage(QStringLiteral("classes the forms changed"),
                   QStringLiteral("%1 standard characters take readings of the forms they stand for that "
                                  "change their groups: %2")
                       .arg(f.changedByForms.size())
                       .arg(f.changedByForms.join(QStringLiteral("; "))));
    progress.stage(QStringLiteral("level 1 coverage"),
                   QStringLiteral("%1 directly, %2 under a variant form, %3 from our list, %4 without a "
                                  "classical reading")
                       .arg(f.levelOneWithReading)
                       .arg(f.levelOneFromVariants)
                       .arg(f.levelOneFromOurList)
                       .arg(f.levelOneWithout));
}

// The size of the table of forms and what settled it.
void logVariants(const VariantTable &table, Progress &progress)
{
    QStringList sources;
    for (auto it = table.bySource.constBegin(); it != table.bySource.constEnd(); ++it)
        sources << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    progress.stage(QStringLiteral("forms"),
                   QStringLiteral("%1 written forms read as %2 standard characters (%3)")
                       .arg(table.standardOf.size())
                       .arg(QSet<char32_t>(table.standardOf.begin(), table.standardOf.end()).size())
                       .arg(sources.join(QStringLiteral(", "))));
}

} // namespace

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

namespace {

// What the books are read from besides the 廣韻 and the Unihan files.
struct WordData {
    ReadingWeights weights;
    QMap<QString, QString> polyphones;
};

// Reads Unihan, the 廣韻 and the words of @pinyin-pro/data.
WordData readInputs(const SourcePaths &src, RhymeBookInputs &in, Progress &progress)
{
    in.standard = readUnihan(src);
    in.unihan = readUnihanExtras(src);
    progress.stage(
        QStringLiteral("Unihan"),
        QStringLiteral("%1 standard characters, %2 variant links, %3 Mandarin "
                       "readings")
            .arg(in.standard.size())
            .arg(in.unihan.simplified.size() + in.unihan.traditional.size() + in.unihan.variants.size())
            .arg(in.unihan.mandarin.size()));
    in.guangyun = readGuangyun(src.nodeModule(rhymebookpackages::guangyun));
    progress.stage(QStringLiteral("廣韻"), QStringLiteral("%1 entries").arg(in.guangyun.size()));
    const QString completePath =
        src.nodeModule(rhymebookpackages::pinyin + QStringLiteral("/json/complete.json"));
    const QJsonObject complete = readJsonObject(completePath);
    WordData words{readingWeightsOf(complete, in.standard, completePath),
                   polyphoneWords(complete, in.standard)};
    progress.stage(QStringLiteral("word readings"),
                   QStringLiteral("%1 words with a character of both classes").arg(words.polyphones.size()));
    return words;
}

void writeReference(const QString &path, const ReferenceSummary &summary, const QMap<QString, QString> &words,
                    const QString &version, const SourcePaths &src)
{
    ReferenceWriter writer(path, rb::createStatements());
    writeBooks(writer, summary.books);
    writeCipu(writer, summary.cipu);
    writer.insert(rb::tableWordReadings, [&](Statement &stmt) {
        for (auto it = words.constBegin(); it != words.constEnd(); ++it)
            insertRow(stmt, it.key(), it.value());
    });
    writer.insert(rb::tableVersion, [&](Statement &stmt) {
        QList<std::pair<QString, QString>> rows = {{rb::versionKey, version}};
        rows += sourceVersions(src);
        for (const auto &[key, value] : rows)
            insertRow(stmt, key, value);
    });
    writer.finish();
}

} // namespace

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
    const WordData words = readInputs(src, in, progress);
    in.weights = &words.weights;
    const Converter t2s(QStringLiteral("t2s.json")), tw2s(QStringLiteral("tw2s.json")),
        hk2s(QStringLiteral("hk2s.json"));
    in.simplifiers = {std::cref(t2s), std::cref(tw2s), std::cref(hk2s)};
    const VariantTable variants = buildVariantTable(
        {in.standard, in.unihan,
         readOpenccConversions({QStringLiteral("t2s.json"), QStringLiteral("tw2s.json"),
                                QStringLiteral("hk2s.json"), QStringLiteral("jp2t.json")})});
    logVariants(variants, progress);
    in.variants = &variants;
    summary.books = buildRhymeBooks(in);
    logBooks(summary.books, progress);
    const QString dist = src.nodeModule(rhymebookpackages::poetry + QStringLiteral("/dist"));
    summary.cipu = cipuOf(src, dist, t2s, ciLookupOf(summary.books), progress);

    const std::unique_ptr<QTemporaryFile> temporary = temporaryBeside(options.output);
    writeReference(temporary->fileName(), summary, words.polyphones, version, src);
    putInPlace(*temporary, options.output, Existing::Replace);
    summary.wordReadings = words.polyphones.size();
    summary.fileSize = QFileInfo(options.output).size();
    progress.stage(QStringLiteral("reference file written"), QStringLiteral("%1 (%2 MB) in %3 s")
                                                                 .arg(options.output)
                                                                 .arg(summary.fileSize / 1e6, 0, 'f', 1)
                                                                 .arg(progress.seconds(), 0, 'f', 1));
    return summary;
}

} // namespace builddb
