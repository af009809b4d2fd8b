// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/suggestions.h"

#include "classics/classics.h"
#include "classics/tianzi/caretplace.h"
#include "classics/tianzi/suggester.h"
#include "prosody/check.h"
#include "tools/common/converter.h"
#include "tools/dictionary/primers.h"

#include <QElapsedTimer>
#include <QMap>

#include <algorithm>

using namespace prosody;
using namespace classics::tianzi;

namespace {

constexpr int kSampled = 1000;

struct Hits {
    int places = 0, ours10 = 0, ours30 = 0, base10 = 0, base30 = 0;
    void add(int rank, int baseRank)
    {
        ++places;
        ours10 += rank >= 0 && rank < 10;
        ours30 += rank >= 0 && rank < 30;
        base10 += baseRank >= 0 && baseRank < 10;
        base30 += baseRank >= 0 && baseRank < 30;
    }
    QString row(const QString &name) const
    {
        const auto pc = [&](int n) {
            return QString::number(100.0 * n / std::max(1, places), 'f', 1) + u'%';
        };
        return QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |\n")
            .arg(name)
            .arg(places)
            .arg(pc(ours10), pc(ours30), pc(base10), pc(base30));
    }
};

// The poem's own clauses as the file counts them: each as often as the file holds it, so that copies
// of it in 全唐诗 go too.
QHash<qint64, QHash<char32_t, int>> ownCounts(const classics::Classics &corpus, const Poem &poem)
{
    QHash<qint64, QHash<char32_t, int>> out;
    for (const Line &l : poem.lines) {
        const QString text = l.text();
        int copies = 0;
        for (const classics::Example &e : corpus.lines(text, 0, 50))
            for (const QList<char32_t> &clause : clausesOf(e.text))
                copies += clause == l.chars;
        for (const auto &[key, c] : entriesOf(l.chars))
            out[key][c] += copies;
    }
    return out;
}

// The baseline: the characters the classics write after the previous one (clause openings at a
// line's start), most frequent first, kept when their class is the poet's own character's.
int baselineRank(const Continuations &table, const RhymeBooks &books, const Line &line, int p)
{
    const QList<char32_t> before = line.chars.mid(p ? p - 1 : 0, p ? 1 : 0);
    const ToneClass own = books.toneClass(Book::Pingshui, line.chars.at(p));
    int rank = 0;
    for (const Next &n : table.row(continuationKey(0, 0, before))) {
        if (books.toneClass(Book::Pingshui, n.hanzi) != own)
            continue;
        if (n.hanzi == line.chars.at(p))
            return rank;
        if (++rank >= 30)
            break;
    }
    return -1;
}

int rankOf(const QList<Suggestion> &list, char32_t c)
{
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).text.toUcs4().first() == c)
            return i;
    return -1;
}

} // namespace

int evaluateSuggestions(const std::shared_ptr<const RhymeBooks> &books, const QString &classicsPath,
                        const QString &dist, QTextStream &out)
{
    const std::unique_ptr<Continuations> table = Continuations::open(classicsPath);
    const std::unique_ptr<classics::Classics> corpus = classics::Classics::open(classicsPath);
    const Suggester suggester(*table, books);
    const builddb::Converter t2s;

    struct Case {
        QString text;
        Poem poem;
        PoemCheck check;
    };
    QList<Case> cases;
    int places = 0;
    for (const builddb::PrimerPoem &p :
         builddb::readPrimer(builddb::tangPrimerPath(dist), QStringLiteral("唐"), t2s)) {
        if (!p.form.endsWith(u"律诗") && !p.form.endsWith(u"绝句"))
            continue;
        const QString text = p.lines.join(u'\n');
        const QList<Poem> read = readPoems(text);
        if (read.size() != 1 || !hasShiShape(read.first()))
            continue;
        const auto checks = checkAs(books, text, {AutoForm{}, Book::Pingshui});
        if (!checks || checks->size() != 1 || checks->first().form.isEmpty() || checks->first().isCi())
            continue;
        cases.append({text, read.first(), checks->first()});
        for (const Line &l : read.first().lines)
            places += int(l.size());
    }
    const int every = std::max(1, places / kSampled);

    QMap<QString, Hits> byPlace;
    Hits all, rhyme, sampledGuarded;
    int sampled = 0, words = 0, faulty = 0, guardedWords = 0, guardedFaulty = 0, place = 0;
    QStringList faultyWords;
    QElapsedTimer clock;
    qint64 listNs = 0, guardNs = 0;
    for (const Case &c : cases) {
        table->holdBack(ownCounts(*corpus, c.poem));
        bool rhymeFixed = false;
        const std::optional<FormChoice> form = formFromName(c.check.form);
        for (int i = 0; i < c.poem.lines.size(); ++i) {
            const Line &line = c.poem.lines.at(i);
            for (int p = 0; p < line.size(); ++p, ++place) {
                const int caret = line.offsets.at(p);
                Place at = placeAt({c.check}, caret, *books);
                if (!rhymeFixed)
                    at.rhymeGroup = -1; // no rhyme written yet to fix the group
                clock.start();
                const QList<Suggestion> offered = suggester.suggest(at, 30, {}, false);
                listNs += clock.nsecsElapsed();
                const int rank = rankOf(offered, line.chars.at(p));
                const int base = baselineRank(*table, *books, line, p);
                all.add(rank, base);
                byPlace[QStringLiteral("%1言 第%2字").arg(QChar(line.size() == 5 ? u'五' : u'七')).arg(p + 1)]
                    .add(rank, base);
                if (at.rhymed && p == line.size() - 1)
                    rhyme.add(rank, base);
                if (place % every != 0 || sampled >= kSampled)
                    continue;
                // The draft as typed up to the caret, checked as the form it is written in.
                ++sampled;
                const QString draft = c.text.left(caret);
                const CheckRequest request{form ? FormRequest(*form) : FormRequest(AutoForm{}),
                                           Book::Pingshui};
                const FaultGuard guard(books, draft, caret, request);
                for (const Suggestion &s : offered) {
                    ++words;
                    if (!guard(s.text)) {
                        ++faulty;
                        if (faultyWords.size() < 12)
                            faultyWords
                                << QStringLiteral("%1|%2").arg(draft.right(8).replace(u'\n', u'/'), s.text);
                    }
                }
                clock.start();
                const QList<Suggestion> guarded = suggester.suggest(at, 30, guard, false);
                guardNs += clock.nsecsElapsed();
                sampledGuarded.add(rankOf(guarded, line.chars.at(p)), base);
                for (const Suggestion &s : guarded)
                    ++guardedWords, guardedFaulty += !guard(s.text);
            }
            rhymeFixed = rhymeFixed || c.check.lines.at(i).rhymed;
        }
    }
    table->holdBack({});

    out << "## 填字 on the regulated poems of 唐诗三百首\n\n"
        << QStringLiteral(
               "%1 poems in regulated shape, %2 places; each poem's own clauses held back from the "
               "counts (with their copies in the file). A hit: the poet's own character begins one "
               "of the first 10 (30) words offered. Baseline: the characters after the previous one "
               "(clause openings at a line's start), kept when of the poet's own character's class.\n\n")
               .arg(cases.size())
               .arg(all.places)
        << "| places | n | top 10 | top 30 | baseline top 10 | baseline top 30 "
           "|\n|---|---:|---:|---:|---:|---:|\n"
        << all.row(QStringLiteral("all")) << rhyme.row(QStringLiteral("rhyme places"));
    for (auto it = byPlace.constBegin(); it != byPlace.constEnd(); ++it)
        out << it->row(it.key());
    out << "\n"
        << QStringLiteral("A list took %1 ms on average (without the check of each word).\n\n")
               .arg(listNs / 1e6 / std::max(1, all.places), 0, 'f', 2)
        << "## Faults added by the words offered\n\n"
        << QStringLiteral(
               "%1 sampled places (every %2th), the draft up to the caret checked as its form before "
               "and after each word is put in.\n\n")
               .arg(sampled)
               .arg(every)
        << QStringLiteral("- the 平仄 and the rhyme alone: %1 words offered, %2 add a fault\n")
               .arg(words)
               .arg(faulty)
        << QStringLiteral(
               "- with the check run on each word before it is offered (the window and --suggest): %1 "
               "words offered, %2 add a fault; %3 ms a list on average\n")
               .arg(guardedWords)
               .arg(guardedFaulty)
               .arg(guardNs / 1e6 / std::max(1, sampled), 0, 'f', 1)
        << "\n| places | n | top 10 | top 30 | baseline top 10 | baseline top 30 "
           "|\n|---|---:|---:|---:|---:|---:|\n"
        << sampledGuarded.row(QStringLiteral("sampled, with the check")) << "\n";
    if (!faultyWords.isEmpty())
        out << "Words the 平仄 alone let through that add a fault (draft end|word): "
            << faultyWords.join(u" · ") << "\n";
    out << Qt::endl;
    return 0;
}
