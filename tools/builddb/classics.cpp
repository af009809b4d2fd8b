#include "tools/builddb/classics.h"

#include "classics/indextext.h"
#include "db/classicsschema.h"
#include "prosody/core/referencefile.h"
#include "prosody/text/reader.h"
#include "tools/builddb/builderror.h"
#include "tools/builddb/coupletpairs.h"
#include "tools/builddb/progress.h"
#include "tools/builddb/reference.h"
#include "tools/builddb/referencewriter.h"
#include "tools/builddb/works.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <limits>
#include <numeric>

namespace builddb {

namespace cs = classicsschema;

namespace {

// Raised whenever what the builder writes changes, so that the set-up rebuilds older files.
const QString kFormat = QStringLiteral("classics 3");
const QString kPackage = QStringLiteral("chinese-poetry");

const QString kQuantangshi = QStringLiteral("全唐诗");
const QString kSongci = QStringLiteral("宋词");
const QString kTangPrimer = QStringLiteral("唐诗三百首");
const QString kQianjiashi = QStringLiteral("千家诗");
const QString kSongPrimer = QStringLiteral("宋词三百首");
const QString kUnknownDynasty = QStringLiteral("不详");

// How a collection's file is read.
struct Collection {
    QString name;
    QString dynasty;
    QString form;
    QString titleField; // 词 are known by their tune
    QString primerTag;  // the tag the collection gives the primer's poems
    bool primer = false;
};

QJsonObject entryOf(const QJsonValue &value, const QString &file)
{
    if (!value.isObject())
        throw BuildError(file, QStringLiteral("holds an entry that is not a JSON object"));
    return value.toObject();
}

QString stringOf(const QJsonObject &entry, const QString &name, const QString &file)
{
    const QJsonValue value = entry.value(name);
    if (!value.isString())
        throw BuildError(file, QStringLiteral("an entry has no text field \"%1\"").arg(name));
    return value.toString();
}

// A list of texts; an absent list is empty.
QStringList stringsOf(const QJsonObject &entry, const QString &name, const QString &file)
{
    const QJsonValue value = entry.value(name);
    if (value.isUndefined())
        return {};
    if (!value.isArray())
        throw BuildError(file, QStringLiteral("an entry's \"%1\" is not a list").arg(name));
    QStringList out;
    for (const QJsonValue &v : value.toArray()) {
        if (!v.isString())
            throw BuildError(file,
                             QStringLiteral("the list \"%1\" holds a value that is not a text").arg(name));
        out << v.toString();
    }
    return out;
}

// The files of a collection in its own order ("poet.tang.1000.json" after "poet.tang.0.json"); a
// file without a number ("ci.song.2019y.json") comes last.
QStringList numberedFiles(const QDir &dir, const QString &pattern)
{
    QStringList files = dir.entryList({pattern}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        throw BuildError(dir.path(), QStringLiteral("holds no %1 files").arg(pattern));
    const auto number = [](const QString &name) {
        bool ok = false;
        const qint64 n = name.section(u'.', 2, 2).toLongLong(&ok);
        return ok ? n : std::numeric_limits<qint64>::max();
    };
    std::stable_sort(files.begin(), files.end(),
                     [&](const QString &a, const QString &b) { return number(a) < number(b); });
    for (QString &name : files)
        name = dir.filePath(name);
    return files;
}

// Converts many texts in one call of OpenCC, whose cost is mostly per call.
QStringList convertAll(QStringList texts, const Converter &t2s)
{
    for (QString &t : texts)
        t.replace(u'\n', u' ');
    const QStringList converted = t2s(texts.join(u'\n')).split(u'\n');
    if (converted.size() == texts.size())
        return converted;
    QStringList one; // should OpenCC ever change a line break
    for (const QString &t : texts)
        one << t2s(t);
    return one;
}

// The first characters of a poem that count in the metre, up to most of them.
QString head(const QStringList &lines, qsizetype most)
{
    QString out;
    for (const QString &line : lines) {
        for (const char32_t c : line.toUcs4()) {
            if (!prosody::isVerseChar(c))
                continue;
            out += QString::fromUcs4(&c, 1);
            if (--most == 0)
                return out;
        }
    }
    return out;
}

bool hasVerseChar(const QString &line)
{
    const QList<uint> chars = line.toUcs4();
    return std::any_of(chars.begin(), chars.end(), [](uint c) { return prosody::isVerseChar(c); });
}

// Collects the poems, merging an entry into a poem read before when it holds the same poem.
class Merger {
public:
    Merger(QList<ClassicPoem> &poems, CorpusReport &report)
        : m_poems(poems)
        , m_report(report)
    {
    }

    void add(ClassicPoem poem)
    {
        ++m_report.read[poem.sources.first()];
        const CleanText clean = cleanLines(poem.lines);
        poem.lines = clean.lines;
        poem.notes += clean.notes;
        poem.notes.removeAll(QString());
        if (poem.lines.isEmpty()) {
            ++m_report.withoutText;
            return;
        }
        // Sixteen characters: long enough that two poems of one author rarely share them (three 忆江南
        // of 白居易 open with 江南好), short enough to meet again across editions.
        const QString start = head(poem.lines, 16);
        QList<qsizetype> &candidates = m_byHead[poem.author + u'\t' + QString::number(start.size())];
        for (qsizetype i : candidates) {
            if (!isSameLine(m_heads.at(i), start))
                continue;
            ClassicPoem &first = m_poems[i];
            if (!first.sources.contains(poem.sources.first()))
                first.sources << poem.sources.first();
            first.inPrimer = first.inPrimer || poem.inPrimer;
            ++m_report.merged;
            return;
        }
        candidates.append(m_poems.size());
        m_heads.append(start);
        m_poems.append(poem);
    }

private:
    QList<ClassicPoem> &m_poems;
    CorpusReport &m_report;
    QList<QString> m_heads;
    QHash<QString, QList<qsizetype>> m_byHead; // author and length of the head → poems
};

void readPrimerFile(const QString &path, const QString &collection, const QString &dynasty,
                    const Converter &t2s, Merger &merger)
{
    for (const PrimerPoem &p : readPrimer(path, dynasty, t2s))
        merger.add({p.title,
                    p.author,
                    p.dynasty.isEmpty() ? kUnknownDynasty : p.dynasty,
                    cs::formShi,
                    {collection},
                    p.lines,
                    p.notes,
                    true});
}

void readCollectionFile(const QString &path, const Collection &c, const Converter &t2s, Merger &merger)
{
    struct Entry {
        qsizetype at;
        qsizetype lines;
        qsizetype notes;
        bool tagged;
    };
    QList<Entry> entries;
    QStringList texts;
    for (const QJsonValue &value : readJsonArray(path)) {
        const QJsonObject o = entryOf(value, path);
        if (!o.value(QStringLiteral("paragraphs")).isArray())
            throw BuildError(path, QStringLiteral("an entry has no list \"paragraphs\""));
        const QStringList lines = stringsOf(o, QStringLiteral("paragraphs"), path);
        QStringList notes = stringsOf(o, QStringLiteral("notes"), path);
        if (const QString preface = o.value(QStringLiteral("prologue")).toString(); !preface.isEmpty())
            notes.prepend(QStringLiteral("序：") + preface);
        entries.append({texts.size(), lines.size(), notes.size(),
                        stringsOf(o, QStringLiteral("tags"), path).contains(c.primerTag)});
        texts << stringOf(o, c.titleField, path) << stringOf(o, QStringLiteral("author"), path) << lines
              << notes;
    }
    const QStringList converted = convertAll(texts, t2s);
    for (const Entry &e : entries) {
        merger.add({converted.at(e.at).trimmed(),
                    converted.at(e.at + 1).trimmed(),
                    c.dynasty,
                    c.form,
                    {c.name},
                    converted.mid(e.at + 2, e.lines),
                    converted.mid(e.at + 2 + e.lines, e.notes),
                    c.primer || e.tagged});
    }
}

struct Run {
    qint64 first;
    qint64 last;
    QString dynasty;
};

// The regulated poems of four couplets among those the rhyme words counted, with their lines.
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

} // namespace

CleanText cleanLines(const QStringList &lines)
{
    CleanText out;
    const QString text = lines.join(u'\n');
    QString kept, note;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'（') {
            if (depth++ > 0)
                note += c;
            continue;
        }
        if (c == u'）' && depth > 0) {
            if (--depth > 0) {
                note += c;
            } else {
                if (const QString n = note.trimmed(); !n.isEmpty())
                    out.notes << n;
                note.clear();
            }
            continue;
        }
        if (depth > 0) {
            if (c != u'\n') // a note running over lines is one note
                note += c;
        } else if (c != u'[' && c != u']') {
            kept += c;
        }
    }
    if (depth > 0) // unbalanced: the rest stays in the text
        kept += u'（' + note;
    for (const QString &line : kept.split(u'\n'))
        if (hasVerseChar(line))
            out.lines << line.trimmed();
    return out;
}

QList<ClassicPoem> readClassics(const QString &dist, const Converter &t2s, CorpusReport &report)
{
    QList<ClassicPoem> poems;
    Merger merger(poems, report);
    const QDir root(dist);
    readPrimerFile(tangPrimerPath(dist), kTangPrimer, QStringLiteral("唐"), t2s, merger);
    readPrimerFile(root.filePath(QStringLiteral("mengxue/qianjiashi.json")), kQianjiashi, QString(), t2s,
                   merger);
    const Collection songPrimer{kSongPrimer, QStringLiteral("宋"), cs::formCi, QStringLiteral("rhythmic"), {},
                                true};
    readCollectionFile(root.filePath(QStringLiteral("songci/宋词三百首.json")), songPrimer, t2s, merger);

    const Collection tang{kQuantangshi, QStringLiteral("唐"), cs::formShi, QStringLiteral("title"),
                          kTangPrimer};
    for (const QString &file : numberedFiles(QDir(root.filePath(QStringLiteral("quantangshi"))),
                                             QStringLiteral("poet.tang.*.json")))
        readCollectionFile(file, tang, t2s, merger);
    const Collection song{kSongci, QStringLiteral("宋"), cs::formCi, QStringLiteral("rhythmic"), kSongPrimer};
    for (const QString &file :
         numberedFiles(QDir(root.filePath(QStringLiteral("songci"))), QStringLiteral("ci.song.*.json")))
        readCollectionFile(file, song, t2s, merger);
    return poems;
}

QStringList orderForSearch(QList<ClassicPoem> &poems)
{
    QStringList order = {QStringLiteral("唐"), QStringLiteral("五代"), QStringLiteral("宋"),
                         QStringLiteral("元"), QStringLiteral("明"),   QStringLiteral("清")};
    for (const ClassicPoem &p : poems)
        if (!order.contains(p.dynasty) && p.dynasty != kUnknownDynasty)
            order << p.dynasty;
    order << kUnknownDynasty;
    QHash<QString, int> rank;
    for (qsizetype i = 0; i < order.size(); ++i)
        rank.insert(order.at(i), int(i));
    std::stable_sort(poems.begin(), poems.end(), [&](const ClassicPoem &a, const ClassicPoem &b) {
        return std::pair(!a.inPrimer, rank.value(a.dynasty)) < std::pair(!b.inPrimer, rank.value(b.dynasty));
    });
    QStringList present;
    for (const QString &d : order)
        if (std::any_of(poems.begin(), poems.end(), [&](const ClassicPoem &p) { return p.dynasty == d; }))
            present << d;
    return present;
}

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

    std::shared_ptr<const prosody::RhymeBooks> books;
    try {
        books = prosody::loadRhymeBooks(options.rhymeBooksPath());
    } catch (const prosody::LoadError &e) {
        throw BuildError(options.rhymeBooksPath(), e.message());
    }
    const Converter t2s;
    QList<ClassicPoem> poems =
        readClassics(options.sources.nodeModule(kPackage + QStringLiteral("/dist")), t2s, summary.corpus);
    QStringList read;
    for (auto it = summary.corpus.read.constBegin(); it != summary.corpus.read.constEnd(); ++it)
        read << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    progress.stage(
        QStringLiteral("poems"),
        QStringLiteral("%1 read (%2); %3 merged, %4 without text; %5 poems")
            .arg(std::accumulate(summary.corpus.read.begin(), summary.corpus.read.end(), qsizetype(0)))
            .arg(read.join(QStringLiteral(", ")))
            .arg(summary.corpus.merged)
            .arg(summary.corpus.withoutText)
            .arg(poems.size()));
    const QStringList dynasties = orderForSearch(poems);

    QList<QStringList> verse;
    QList<qsizetype> verseToPoem;
    for (qsizetype i = 0; i < poems.size(); ++i)
        if (poems.at(i).form == cs::formShi)
            verse << poems.at(i).lines, verseToPoem << i;
    summary.rhymes = countRhymeWords(verse, books);
    QStringList unplaced;
    for (prosody::Book b : prosody::allBooks)
        unplaced << QStringLiteral("%1 %2").arg(prosody::bookName(b)).arg(summary.rhymes.unplaced[int(b)]);
    const qsizetype *faults = summary.rhymes.byFaults;
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
                       .arg(summary.rhymes.poems)
                       .arg(summary.rhymes.positions)
                       .arg(summary.rhymes.counts.size())
                       .arg(unplaced.join(QStringLiteral(", "))));

    summary.pairs =
        countPairs(eightLinePoems(poems, verseToPoem, summary.rhymes.regulated, books->variants()));
    const PairTable &pairs = summary.pairs;
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

    {
        ReferenceWriter writer(temporary->fileName(), cs::createStatements());
        QHash<char32_t, QList<int>> charLines; // lines holding a character, by dynasty
        QList<Run> runs;
        qint64 lineId = 0;
        writer.insert(cs::tablePoems, 9, [&](Statement &poemRow) {
            writer.insert(cs::tableLines, 3, [&](Statement &lineRow) {
                writer.prepared("INSERT INTO 句索引 (rowid, 文) VALUES (?1, ?2)", [&](Statement &indexRow) {
                    for (qsizetype i = 0; i < poems.size(); ++i) {
                        const ClassicPoem &p = poems.at(i);
                        const int dynasty = int(dynasties.indexOf(p.dynasty));
                        if (runs.isEmpty() || runs.last().dynasty != p.dynasty)
                            runs.append({lineId + 1, lineId + 1, p.dynasty});
                        poemRow.bindInt64(1, i + 1);
                        poemRow.bindText(2, p.title);
                        poemRow.bindText(3, p.author);
                        poemRow.bindText(4, p.dynasty);
                        poemRow.bindText(5, p.form);
                        poemRow.bindText(6, p.sources.join(QStringLiteral(" · ")));
                        poemRow.bindText(7, p.notes.join(u'\n'));
                        poemRow.bindInt64(8, lineId + 1);
                        poemRow.bindInt64(9, p.lines.size());
                        run(poemRow);
                        for (const QString &line : p.lines) {
                            ++lineId;
                            lineRow.bindInt64(1, lineId);
                            lineRow.bindInt64(2, i + 1);
                            lineRow.bindText(3, line);
                            run(lineRow);
                            indexRow.bindInt64(1, lineId);
                            // Indexed and counted as standard characters, as searches read their text.
                            const QString standard = books->variants().standard(line);
                            indexRow.bindText(2, classics::indexedText(standard));
                            run(indexRow);
                            QSet<char32_t> seen;
                            for (const char32_t c : standard.toUcs4()) {
                                if (!prosody::isVerseChar(c))
                                    continue;
                                ++summary.characters;
                                if (seen.contains(c))
                                    continue;
                                seen.insert(c);
                                QList<int> &counts = charLines[c];
                                counts.resize(dynasties.size());
                                ++counts[dynasty];
                            }
                        }
                        runs.last().last = lineId;
                    }
                });
            });
        });
        summary.poems = poems.size();
        summary.lines = lineId;

        writer.insert(cs::tableDynasties, 2, [&](Statement &stmt) {
            for (qsizetype i = 0; i < dynasties.size(); ++i) {
                stmt.bindInt64(1, i + 1);
                stmt.bindText(2, dynasties.at(i));
                run(stmt);
            }
        });
        writer.insert(cs::tableRuns, 3, [&](Statement &stmt) {
            for (const Run &r : runs) {
                stmt.bindInt64(1, r.first);
                stmt.bindInt64(2, r.last);
                stmt.bindText(3, r.dynasty);
                run(stmt);
            }
        });
        writer.insert(cs::tableCharCounts, 3, [&](Statement &stmt) {
            for (auto it = charLines.constBegin(); it != charLines.constEnd(); ++it) {
                const char32_t c = it.key();
                for (qsizetype d = 0; d < it->size(); ++d) {
                    if (it->at(d) == 0)
                        continue;
                    stmt.bindText(1, QString::fromUcs4(&c, 1));
                    stmt.bindText(2, dynasties.at(d));
                    stmt.bindInt64(3, it->at(d));
                    run(stmt);
                }
            }
        });
        writer.insert(cs::tableRhymeWords, 4, [&](Statement &stmt) {
            for (const RhymeWordCount &c : summary.rhymes.counts) {
                stmt.bindText(1, prosody::bookName(c.book));
                stmt.bindText(2, c.group);
                stmt.bindText(3, c.hanzi);
                stmt.bindInt64(4, c.count);
                run(stmt);
            }
        });
        writePairTable(writer, pairs);
        writer.insert(cs::tableVariants, 2, [&](Statement &stmt) {
            for (auto [form, standard] : books->variants().table().asKeyValueRange()) {
                stmt.bindText(1, QString::fromUcs4(&form, 1));
                stmt.bindText(2, QString::fromUcs4(&standard, 1));
                run(stmt);
            }
        });
        writer.insert(cs::tableTotals, 2, [&](Statement &stmt) {
            const std::pair<const char16_t *, qint64> rows[] = {
                {u"诗", summary.poems},
                {u"句", summary.lines},
                {u"字", summary.characters},
                {u"近体诗", summary.rhymes.poems},
                {u"合并", summary.corpus.merged},
                {u"对仗诗", pairs.poems},
                {u"对仗联", pairs.couplets.size()},
                {u"对语", pairs.units.size()},
                {u"对仗对", pairs.pairs.size() / 2},
                {u"对类", pairs.groups},
            };
            for (const auto &[key, value] : rows) {
                stmt.bindText(1, QString::fromUtf16(key));
                stmt.bindInt64(2, value);
                run(stmt);
            }
        });
        writer.insert(cs::tableVersion, 2, [&](Statement &stmt) {
            stmt.bindText(1, cs::versionKey);
            stmt.bindText(2, version);
            run(stmt);
        });
        // One segment reads fastest.
        writer.exec("INSERT INTO 句索引 (句索引) VALUES ('optimize')");

        // The index's tokenizer must take every character the builder counts as one token of its own,
        // or a phrase would miss lines a plain scan finds.
        writer.exec("CREATE VIRTUAL TABLE temp.索引词 USING fts5vocab('main', '句索引', 'row')");
        qint64 terms = 0;
        writer.prepared("SELECT count(*) FROM temp.索引词 WHERE term <> '0'", [&](Statement &stmt) {
            if (stmt.step())
                terms = stmt.int64(0);
        });
        if (terms != charLines.size())
            throw BuildError(temporary->fileName(),
                             QStringLiteral("the full-text index holds %1 distinct characters, the lines %2")
                                 .arg(terms)
                                 .arg(charLines.size()));
        writer.exec("DROP TABLE temp.索引词");
        progress.stage(QStringLiteral("lines"),
                       QStringLiteral("%1 poems, %2 lines, %3 characters (%4 distinct) "
                                      "written and indexed")
                           .arg(summary.poems)
                           .arg(summary.lines)
                           .arg(summary.characters)
                           .arg(charLines.size()));
        writer.finish();
    }
    replace(*temporary, options.output);
    summary.fileSize = QFileInfo(options.output).size();
    progress.stage(QStringLiteral("classics file written"), QStringLiteral("%1 (%2 MB) in %3 s")
                                                                .arg(options.output)
                                                                .arg(summary.fileSize / 1e6, 0, 'f', 1)
                                                                .arg(progress.seconds(), 0, 'f', 1));
    return summary;
}

} // namespace builddb
