#include "tools/evaluate/couplets.h"

#include "classics/coupletpairs.h"
#include "db/sqlite.h"
#include "prosody/check.h"
#include "prosody/couplet/rhythm.h"
#include "tools/builddb/converter.h"
#include "tools/builddb/works.h"
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

QString textOf(const QList<char32_t> &chars)
{
    return QString::fromUcs4(chars.constData(), chars.size());
}

// The pairs of the file without those one poem brought into it: a poem of 唐诗三百首 is judged as a
// new poem would be, not by its own couplets. The file counted the standard characters the lines
// stand for.
class LeaveOneOut : public PairSource {
public:
    LeaveOneOut(const classics::CoupletPairs &pairs, const SqliteFile &file, const QList<Line> &lines,
                const Variants &variants)
        : m_pairs(pairs)
    {
        Statement copies(file.handle(),
                         QByteArrayLiteral("SELECT count(*) FROM 联 WHERE 上 = ?1 AND 下 = ?2"));
        for (int k = 1; k <= 2; ++k) {
            const QList<char32_t> upper = variants.standard(lines.at(2 * k).chars),
                                  lower = variants.standard(lines.at(2 * k + 1).chars);
            copies.bindText(1, textOf(upper));
            copies.bindText(2, textOf(lower));
            const int n = copies.step() ? copies.int32(0) : 0;
            copies.reset();
            for (const Span &s : countedSpans(int(upper.size()))) {
                const QString a = textOf(upper.mid(s.from, s.length)),
                              b = textOf(lower.mid(s.from, s.length));
                if (a == b)
                    continue;
                m_own[a + u'\t' + b] += n;
                m_own[b + u'\t' + a] += n;
            }
        }
    }
    int pairCount(const QString &a, const QString &b) const override
    {
        return std::max(0, m_pairs.pairCount(a, b) - m_own.value(a + u'\t' + b));
    }
    int groupOf(const QString &unit) const override { return m_pairs.groupOf(unit); }

private:
    const classics::CoupletPairs &m_pairs;
    QHash<QString, int> m_own;
};

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
};

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
        Statement size(file.handle(), QByteArrayLiteral("SELECT name, sum(pgsize) FROM dbstat WHERE name IN "
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

int evaluateCouplets(const std::shared_ptr<const RhymeBooks> &books, const QString &classicsPath,
                     const QString &dist, bool asPrinted, QTextStream &out)
{
    const std::unique_ptr<classics::CoupletPairs> pairs = classics::CoupletPairs::open(classicsPath);
    pairTable(*pairs, classicsPath, out);

    const builddb::Converter t2s;
    const SqliteFile file(classicsPath, SqliteFile::Mode::ReadOnly);
    Tally middle, outer, middleInSample, outerInSample;
    QStringList missed, slack, outerParallel;
    QHash<Parallel, QStringList> samples;
    int poems = 0;
    QElapsedTimer clock;
    qint64 checkNs = 0;
    struct Regulated {
        QString author, title, text;
    };
    QList<Regulated> regulated;
    if (asPrinted) {
        for (const PrintedPoem &p : tangshiAsPrinted(dist))
            if (t2s(p.section).endsWith(u"律诗"_s))
                regulated.append({t2s(p.author), t2s(p.title), p.paragraphs.join(u'\n')});
    } else {
        for (const builddb::PrimerPoem &p :
             builddb::readPrimer(builddb::tangPrimerPath(dist), QStringLiteral("唐"), t2s))
            if (p.form.endsWith(u"律诗"_s))
                regulated.append({p.author, p.title, p.lines.join(u'\n')});
    }
    for (const Regulated &poem : regulated) {
        const QString &text = poem.text;
        const QList<Poem> read = readPoems(text);
        if (read.size() != 1 || read.first().lines.size() != 8)
            continue;
        ++poems;
        const LeaveOneOut leaveOut(*pairs, file, read.first().lines, books->variants());
        clock.start();
        const QList<PoemCheck> checks = checkAs(books, text, u"自动"_s, Book::Pingshui, &leaveOut).value();
        checkNs += clock.nsecsElapsed();
        const QList<PoemCheck> inSample =
            checkAs(books, text, u"自动"_s, Book::Pingshui, pairs.get()).value();
        for (const Couplet &c : checks.first().couplets) {
            Tally &t = c.middle ? middle : outer;
            ++t.couplets;
            t.parallel += c.parallel;
            const QString line =
                QStringLiteral("- %1《%2》%3「%4，%5」: %6")
                    .arg(poem.author, poem.title, c.name, read.first().lines.at(c.upperLine).text(),
                         read.first().lines.at(c.lowerLine).text(), unitsOf(c));
            if (c.middle && !c.parallel)
                missed << line;
            if (c.middle && c.parallel && c.count(Parallel::None) > 0)
                slack << line;
            if (!c.middle && c.parallel)
                outerParallel << line;
            if (c.middle)
                for (const CoupletUnit &u : c.units)
                    samples[u.judgement] << QStringLiteral("%1/%2 (%3《%4》%5)")
                                                .arg(u.upper, u.lower, poem.author, poem.title, c.name);
        }
        for (const Couplet &c : inSample.first().couplets) {
            Tally &t = c.middle ? middleInSample : outerInSample;
            ++t.couplets;
            t.parallel += c.parallel;
        }
    }
    const auto share = [](const Tally &t) {
        return QStringLiteral("%1 of %2 (%3%)")
            .arg(t.parallel)
            .arg(t.couplets)
            .arg(100.0 * t.parallel / std::max(1, t.couplets), 0, 'f', 1);
    };
    out << "## The 律诗 of 唐诗三百首" << (asPrinted ? " as printed (traditional characters)" : "") << "\n\n"
        << QStringLiteral(
               "%1 poems of 五言律诗 and 七言律诗 of eight lines. Each is judged without the pairs its own "
               "middle couplets brought into the table (leave one out), as a new poem would be.\n\n")
               .arg(poems)
        << "| couplets | judged parallel | the same with their own pairs left in |\n|---|---|---|\n"
        << "| 颔联 and 颈联 | " << share(middle) << " | " << share(middleInSample) << " |\n"
        << "| 首联 and 尾联 | " << share(outer) << " | " << share(outerInSample) << " |\n\n"
        << QStringLiteral("The check of the %1 poems with the couplets took %2 ms in all.\n\n")
               .arg(poems)
               .arg(checkNs / 1e6, 0, 'f', 1);
    for (Parallel p : {Parallel::Strict, Parallel::Loose, Parallel::None}) {
        const QStringList &all = samples.value(p);
        out << "### 20 units judged " << parallelName(p)
            << QStringLiteral(" (of %1, evenly spaced)\n\n").arg(all.size());
        for (int i = 0; i < 20 && !all.isEmpty(); ++i)
            out << "- " << all.at(i * all.size() / 20) << "\n";
        out << "\n";
    }
    out << "### Middle couplets judged not parallel\n\n" << missed.join(u'\n') << "\n\n";
    out << "### Middle couplets judged parallel with one unit 未对\n\n" << slack.join(u'\n') << "\n\n";
    out << "### Outer couplets judged parallel\n\n" << outerParallel.join(u'\n') << "\n" << Qt::endl;
    return 0;
}
