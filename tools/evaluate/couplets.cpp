// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/couplets.h"

#include "tools/evaluate/judgedcouplets.h"
#include "tools/evaluate/leaveoneout.h"

#include "classics/coupletpairs.h"
#include "db/sqlite.h"
#include "prosody/check.h"
#include "prosody/couplet/judge.h"
#include "tools/common/converter.h"
#include "tools/dictionary/primers.h"
#include "tools/evaluate/printed.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

// The 20 words whose partners docs/DUIZHANG.md shows.
const char16_t *const kWords[] = {u"天",   u"红",   u"东",   u"三",   u"酒",   u"月",   u"春",
                                  u"山",   u"明月", u"春风", u"万里", u"白发", u"故人", u"流水",
                                  u"落日", u"青山", u"秋风", u"江湖", u"千山", u"孤舟"};

QString unitsOf(const Couplet &c)
{
    QStringList out;
    for (const CoupletUnit &u : c.units)
        out << QStringLiteral("%1/%2 %3%4")
                   .arg(u.upper, u.lower, parallelMark(u.judgement),
                        u.count ? QStringLiteral(" %1").arg(u.count) : QString());
    return out.join(QStringLiteral(" · "));
}

struct Tally {
    int couplets = 0, parallel = 0;
    void add(bool p) { ++couplets, parallel += p; }
};

QString share(int n, int of)
{
    return QStringLiteral("%1 of %2 (%3%)").arg(n).arg(of).arg(100.0 * n / std::max(1, of), 0, 'f', 1);
}

// Judged by the check as the reader judged them: parallel ones parallel, plain ones plain.
struct Agreement {
    Tally parallel, plain;
    QStringList missed, passed; // parallel ones judged plain, plain ones judged parallel
    void add(JudgedCouplet::Reading r, bool p, const QString &line)
    {
        if (r == JudgedCouplet::Reading::Parallel) {
            parallel.add(p);
            if (!p)
                missed << line;
        } else if (r == JudgedCouplet::Reading::Plain) {
            plain.add(p);
            if (p)
                passed << line;
        }
    }
    QString row(const QString &name) const
    {
        return QStringLiteral("| %1 | %2 | %3 |\n")
            .arg(name, share(parallel.parallel, parallel.couplets),
                 share(plain.couplets - plain.parallel, plain.couplets));
    }
};

QString described(const JudgedCouplet &j, const Couplet &c)
{
    return QStringLiteral("- %1《%2》%3「%4，%5」: %6")
        .arg(j.author, j.title, j.position, j.lines.upper, j.lines.lower, unitsOf(c));
}

void pairTable(const classics::CoupletPairs &pairs, const QString &path, QTextStream &out)
{
    const classics::PairTotals t = pairs.totals();
    out << "## The pair table\n\n"
        << QStringLiteral(
               "- %1 regulated poems of four couplets, %2 middle couplets (颔联, 颈联)\n"
               "- %3 units (one to four characters), %4 pairs (each counted once; a row each way), "
               "%5 groups\n")
               .arg(t.poems)
               .arg(t.couplets)
               .arg(t.units)
               .arg(t.pairs)
               .arg(t.groups);
    const SqliteFile file(path, SqliteFile::Mode::ReadOnly);
    try {
        Statement size(file, QByteArrayLiteral("SELECT name, sum(pgsize) FROM dbstat WHERE name IN "
                                               "('对语', '对语_文', '对仗', '联') GROUP BY name"));
        QStringList parts;
        qint64 total = 0;
        size.forEachRow([&](const Statement &s) {
            parts << QStringLiteral("%1 %2 MB").arg(s.text(0)).arg(s.int64(1) / 1e6, 0, 'f', 1);
            total += s.int64(1);
        });
        out << QStringLiteral("- size: %1 MB of the file's %2 MB (%3)\n")
                   .arg(total / 1e6, 0, 'f', 1)
                   .arg(QFileInfo(path).size() / 1e6, 0, 'f', 1)
                   .arg(parts.join(QStringLiteral(", ")));
    } catch (const std::exception &) {
        out << "- size: (this SQLite has no dbstat)\n";
    }
    out << "\n## The words the masters set against …\n\n| word | best ten (count) | lookup ms "
           "|\n|---|---|---:|\n";
    for (const char16_t *w : kWords) {
        const QString word = QString::fromUtf16(w);
        QElapsedTimer clock;
        clock.start();
        const QList<classics::Partner> found = pairs.partners(word, 10);
        const double ms = clock.nsecsElapsed() / 1e6;
        QStringList shown;
        for (const classics::Partner &p : found)
            shown << QStringLiteral("%1 %2").arg(p.text).arg(p.count);
        out << "| " << word << " | " << shown.join(QStringLiteral(" · ")) << " | "
            << QString::number(ms, 'f', 2) << " |\n";
    }
    out << Qt::endl;
}

} // namespace

namespace {

// The 千家诗 couplets of the judged list, each judged on its own, without the pairs its poem brought
// into the file.
Agreement heldBack(const classics::CoupletPairs &pairs, const SqliteFile &file,
                   const QList<JudgedCouplet> &judged)
{
    Agreement out;
    QHash<QString, QList<JudgedCouplet>> poems;
    QStringList order;
    for (const JudgedCouplet &j : judged)
        if (j.source == u"千家诗") {
            const QString key = j.author + u'\t' + j.title;
            if (!poems.contains(key))
                order << key;
            poems[key].append(j);
        }
    for (const QString &key : order) {
        QList<CoupletLines> middle, outer;
        for (const JudgedCouplet &j : poems.value(key))
            (j.middle() ? middle : outer).append(j.lines);
        const LeaveOneOut leaveOut(pairs, file, middle, outer);
        for (const JudgedCouplet &j : poems.value(key)) {
            const QList<uint> u = j.lines.upper.toUcs4(), l = j.lines.lower.toUcs4();
            const Couplet c = judgeCouplet(QList<char32_t>(u.begin(), u.end()),
                                           QList<char32_t>(l.begin(), l.end()), leaveOut);
            out.add(j.reading, c.parallel, described(j, c));
        }
    }
    return out;
}

// The middle couplets of every tenth poem of the classics file, none of which the rules were read on,
// each poem judged without its own pairs: how many are judged parallel.
Tally classicsMiddle(const classics::CoupletPairs &pairs, const SqliteFile &file)
{
    Tally out;
    QList<CoupletLines> poem;
    const auto judgePoem = [&] {
        const LeaveOneOut leaveOut(pairs, file, poem, {});
        for (const CoupletLines &c : poem) {
            const QList<uint> u = c.upper.toUcs4(), l = c.lower.toUcs4();
            out.add(judgeCouplet(QList<char32_t>(u.begin(), u.end()), QList<char32_t>(l.begin(), l.end()),
                                 leaveOut)
                        .parallel);
        }
        poem.clear();
    };
    Statement rows(file, QByteArrayLiteral("SELECT 诗, 上, 下 FROM 联 WHERE 诗 % 10 = 0 ORDER BY 诗, 编号"));
    qint64 last = -1;
    rows.forEachRow([&](const Statement &s) {
        if (s.int64(0) != last && !poem.isEmpty())
            judgePoem();
        last = s.int64(0);
        poem.append({s.text(1), s.text(2)});
    });
    if (!poem.isEmpty())
        judgePoem();
    return out;
}

struct Regulated {
    QString author, title, text;
};

// The 律诗 of 唐诗三百首: in simplified characters, or as the anthology prints them (traditional).
QList<Regulated> regulatedPoems(const QString &dist, bool asPrinted)
{
    const builddb::Converter t2s;
    QList<Regulated> out;
    if (asPrinted) {
        for (const PrintedPoem &p : tangshiAsPrinted(dist))
            if (t2s(p.section).endsWith(u"律诗"_s))
                out.append({t2s(p.author), t2s(p.title), p.paragraphs.join(u'\n')});
    } else {
        for (const builddb::PrimerPoem &p :
             builddb::readPrimer(builddb::tangPrimerPath(dist), QStringLiteral("唐"), t2s))
            if (p.form.endsWith(u"律诗"_s))
                out.append({p.author, p.title, p.lines.join(u'\n')});
    }
    return out;
}

} // namespace

int evaluateCouplets(const std::shared_ptr<const RhymeBooks> &books, const QString &classicsPath,
                     const QString &dist, bool asPrinted, QTextStream &out)
{
    const std::unique_ptr<classics::CoupletPairs> pairs = classics::CoupletPairs::open(classicsPath);
    pairTable(*pairs, classicsPath, out);

    const QList<JudgedCouplet> judged = judgedCouplets();
    QHash<QString, JudgedCouplet> byLines; // by the standard characters of the lines, however printed
    for (const JudgedCouplet &j : judged)
        byLines.insert(
            books->variants().standard(j.lines.upper) + u'|' + books->variants().standard(j.lines.lower), j);

    const SqliteFile file(classicsPath, SqliteFile::Mode::ReadOnly);
    Tally middle, middleInSample;
    Agreement outer;
    QStringList missed, slack;
    QHash<Parallel, QStringList> samples;
    int poems = 0;
    QElapsedTimer clock;
    qint64 checkNs = 0;
    for (const Regulated &poem : regulatedPoems(dist, asPrinted)) {
        const QString &text = poem.text;
        const QList<Poem> read = readPoems(text);
        if (read.size() != 1 || read.first().lines.size() != 8)
            continue;
        ++poems;
        // The file and the judged list hold the standard characters the lines stand for.
        const auto standard = [&](qsizetype i) {
            return books->variants().standard(read.first().lines.at(i).text());
        };
        QList<CoupletLines> middleLines, outerLines;
        for (int k = 0; k < 4; ++k)
            (k == 1 || k == 2 ? middleLines : outerLines).append({standard(2 * k), standard(2 * k + 1)});
        const LeaveOneOut leaveOut(*pairs, file, middleLines, outerLines);
        clock.start();
        const QList<PoemCheck> checks = checkAs(books, text, {AutoForm{}, Book::Pingshui}, &leaveOut).value();
        checkNs += clock.nsecsElapsed();
        const QList<PoemCheck> inSample =
            checkAs(books, text, {AutoForm{}, Book::Pingshui}, pairs.get()).value();
        for (const Couplet &c : checks.first().couplets) {
            const QString upper = read.first().lines.at(c.upperLine).text(),
                          lower = read.first().lines.at(c.lowerLine).text();
            const QString line = QStringLiteral("- %1《%2》%3「%4，%5」: %6")
                                     .arg(poem.author, poem.title, c.name, upper, lower, unitsOf(c));
            if (!c.middle) {
                outer.add(byLines.value(standard(c.upperLine) + u'|' + standard(c.lowerLine)).reading,
                          c.parallel, line);
                continue;
            }
            middle.add(c.parallel);
            if (!c.parallel)
                missed << line;
            if (c.parallel && c.count(Parallel::None) > 0)
                slack << line;
            for (const CoupletUnit &u : c.units)
                samples[u.judgement] << QStringLiteral("%1/%2 (%3《%4》%5)")
                                            .arg(u.upper, u.lower, poem.author, poem.title, c.name);
        }
        for (const Couplet &c : inSample.first().couplets)
            if (c.middle)
                middleInSample.add(c.parallel);
    }
    const Agreement held = heldBack(*pairs, file, judged);
    const Tally unseen = classicsMiddle(*pairs, file);
    out << "## The 律诗 of 唐诗三百首" << (asPrinted ? " as printed (traditional characters)" : "")
        << ", and the held-back couplets of 千家诗\n\n"
        << QStringLiteral(
               "%1 poems of 五言律诗 and 七言律诗 of eight lines. Each is judged without the pairs its own "
               "couplets brought into the table (leave one out), as a new poem would be; so is each couplet "
               "of "
               "千家诗. The 首联 and 尾联 of 唐诗三百首 and the couplets of 千家诗 are those of "
               "tools/evaluate/judgedcouplets.tsv, read one by one (those read as in between left out).\n\n")
               .arg(poems)
        << "| couplets | read as parallel: judged parallel | read as plain: judged plain |\n|---|---|---|\n"
        << "| 唐诗三百首, 颔联 and 颈联 | " << share(middle.parallel, middle.couplets)
        << " (with their own pairs left in: " << share(middleInSample.parallel, middleInSample.couplets)
        << ") | |\n"
        << outer.row(QStringLiteral("唐诗三百首, 首联 and 尾联"))
        << held.row(QStringLiteral("千家诗, held back"))
        << "| the classics file, 颔联 and 颈联 of every tenth poem | "
        << share(unseen.parallel, unseen.couplets) << " | |\n\n"
        << QStringLiteral("The check of the %1 poems with the couplets took %2 ms in all.\n\n")
               .arg(poems)
               .arg(checkNs / 1e6, 0, 'f', 1);
    for (Parallel p : {Parallel::Strict, Parallel::Loose, Parallel::None}) {
        const QStringList &all = samples.value(p);
        out << "### 20 units of the middle couplets judged " << parallelName(p)
            << QStringLiteral(" (of %1, evenly spaced)\n\n").arg(all.size());
        for (int i = 0; i < 20 && !all.isEmpty(); ++i)
            out << "- " << all.at(i * all.size() / 20) << "\n";
        out << "\n";
    }
    out << "### Middle couplets judged not parallel\n\n" << missed.join(u'\n') << "\n\n";
    out << "### Middle couplets judged parallel with a unit 未对\n\n" << slack.join(u'\n') << "\n\n";
    out << "### Outer couplets read as parallel, judged plain\n\n" << outer.missed.join(u'\n') << "\n\n";
    out << "### Outer couplets read as plain, judged parallel\n\n" << outer.passed.join(u'\n') << "\n\n";
    out << "### Held back: read as parallel, judged plain\n\n" << held.missed.join(u'\n') << "\n\n";
    out << "### Held back: read as plain, judged parallel\n\n" << held.passed.join(u'\n') << "\n" << Qt::endl;
    return 0;
}
