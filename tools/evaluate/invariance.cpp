// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/invariance.h"

#include "prosody/check.h"
#include "tools/evaluate/corpora.h"
#include "tools/evaluate/layouts.h"

#include <QElapsedTimer>
#include <QMap>

#include <algorithm>

using namespace prosody;

namespace evaluate {

namespace {

QList<PoemCheck> checked(const std::shared_ptr<const RhymeBooks> &books, const QString &text)
{
    return checkAs(books, text, CheckRequest{}).value_or(QList<PoemCheck>());
}

QString verdict(const QList<PoemCheck> &checks)
{
    QStringList parts;
    for (const PoemCheck &c : checks)
        parts << c.summary();
    return parts.isEmpty() ? QStringLiteral("（无诗）") : parts.join(QStringLiteral(" / "));
}

QString percent(int part, int whole)
{
    return QStringLiteral("%1%").arg(100.0 * part / std::max(1, whole), 0, 'f', 1);
}

struct Tally {
    int poems = 0, same = 0;
};

// Regulated verse as an anthology prints it, with its title and author line, in traditional characters:
// how many pass as the form the anthology files it under.
void printedRegulated(const std::shared_ptr<const RhymeBooks> &books, const QList<SourcePoem> &poems,
                      const builddb::Converter &s2t, int listed, QTextStream &out)
{
    int regulated = 0, passed = 0;
    QStringList failures;
    for (qsizetype i = 0; i < poems.size(); ++i) {
        const SourcePoem &p = poems.at(i);
        if (!p.filed.contains(u'律') && !p.filed.contains(u'绝'))
            continue;
        ++regulated;
        const QString text = s2t(p.title + u'\n' + authorLine(p, int(i)) + u'\n' + p.printed.join(u'\n'));
        const QList<PoemCheck> checks = checked(books, text);
        const bool ok = checks.size() == 1 && checks.first().ok() && checks.first().form == p.filed;
        passed += ok;
        if (!ok && failures.size() < listed)
            failures
                << QStringLiteral("- %1《%2》（%3）→ %4").arg(p.author, p.title, p.filed, verdict(checks));
    }
    out << QStringLiteral(
               "Regulated verse as printed, with title and author line, in traditional characters: "
               "%1 of %2 pass as filed (%3)\n\n")
               .arg(passed)
               .arg(regulated)
               .arg(percent(passed, regulated))
        << failures.join(u'\n') << (failures.isEmpty() ? "" : "\n\n");
}

// 词 a stanza a line without final stops, with no title and with their title and author above.
void stanzaLines(const std::shared_ptr<const RhymeBooks> &books, const QList<SourcePoem> &poems, int listed,
                 QTextStream &out)
{
    for (const bool titled : {false, true}) {
        int ci = 0, named = 0, passed = 0;
        QStringList failures;
        for (qsizetype i = 0; i < poems.size(); ++i) {
            const SourcePoem &p = poems.at(i);
            const QList<const CiTune *> tunes = tunesOfName(books->cipu(), p.tune);
            if (tunes.isEmpty())
                continue; // a 诗, or a 词牌 the 词谱 lacks
            ++ci;
            QString text = withoutFinalStops(p.plain).join(u'\n');
            if (titled)
                text = p.title + u'\n' + authorLine(p, int(i)) + u'\n' + text;
            const QList<PoemCheck> checks = checked(books, text);
            const bool isNamed = checks.size() == 1 && checks.first().isCi() &&
                                 std::any_of(tunes.begin(), tunes.end(),
                                             [&](const CiTune *t) { return checks.first().form == t->name; });
            named += isNamed;
            passed += isNamed && checks.first().ok();
            if (!isNamed && failures.size() < listed)
                failures << QStringLiteral("- %1《%2》→ %3").arg(p.author, p.title, verdict(checks));
        }
        out << QStringLiteral(
                   "词 a stanza a line without final stops%1: %2 词 of a known 词牌, named %3 (%4), "
                   "合谱 %5 (%6)\n\n")
                   .arg(titled ? QStringLiteral(", title and author above") : QString())
                   .arg(ci)
                   .arg(named)
                   .arg(percent(named, ci))
                   .arg(passed)
                   .arg(percent(passed, ci))
            << failures.join(u'\n') << (failures.isEmpty() ? "" : "\n\n");
    }
}

} // namespace

int invariance(const std::shared_ptr<const RhymeBooks> &books, const QString &dist,
               const QStringList &corpora, QTextStream &out)
{
    const int limit = 1000, listed = 40; // poems read from a corpus, changes listed
    const builddb::Converter t2s, s2t(QStringLiteral("s2t.json"));
    const QList<Layout> all = layouts(s2t);
    QElapsedTimer clock;
    clock.start();
    out << "## The same poems in the layouts people paste, checked in 自动\n\n";
    QMap<QString, Tally> total;
    for (const QString &name : corpora) {
        const QList<SourcePoem> poems = readCorpus(dist, name, t2s, limit);
        QList<Tally> tallies(all.size());
        QStringList changes;
        for (qsizetype i = 0; i < poems.size(); ++i) {
            const SourcePoem &p = poems.at(i);
            const QString plain = verdict(checked(books, all.first().dress(p, int(i))));
            for (qsizetype l = 1; l < all.size(); ++l) {
                const Layout &layout = all.at(l);
                const QString expected =
                    layout.pair && !p.isCi() ? plain + QStringLiteral(" / ") + plain : plain;
                const QString got = verdict(checked(books, layout.dress(p, int(i))));
                ++tallies[l].poems;
                tallies[l].same += got == expected;
                if (got != expected && changes.size() < listed)
                    changes << QStringLiteral("- %1《%2》%3: %4 → %5")
                                   .arg(p.author, p.title, layout.name, expected, got);
            }
        }
        out << "### " << name << " (" << poems.size() << " poems)\n\n| layout | unchanged |\n|---|---:|\n";
        Tally corpus;
        for (qsizetype l = 1; l < all.size(); ++l) {
            out << "| " << all.at(l).name << " | " << percent(tallies[l].same, tallies[l].poems) << " |\n";
            corpus.poems += tallies[l].poems, corpus.same += tallies[l].same;
            total[all.at(l).name].poems += tallies[l].poems, total[all.at(l).name].same += tallies[l].same;
        }
        out << "| all layouts | " << percent(corpus.same, corpus.poems) << " |\n\n";
        printedRegulated(books, poems, s2t, listed, out);
        stanzaLines(books, poems, listed, out);
        out << "Changed (the first " << listed << "):\n\n" << changes.join(u'\n') << "\n\n";
        out.flush();
    }
    Tally sum;
    for (const Tally &t : total)
        sum.poems += t.poems, sum.same += t.same;
    out << "All corpora, all layouts: " << percent(sum.same, sum.poems) << " unchanged ("
        << clock.elapsed() / 1000 << " s)\n"
        << Qt::endl;
    return 0;
}

} // namespace evaluate
