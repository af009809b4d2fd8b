// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the lines by tones (集句) on the real file, linked into bench_classics: reading the
// codes on first use, and the count with the first page of 50 lines for patterns from the narrowest
// to those that leave every place free, with rhyme groups, characters at places, a dynasty and a poet.
#include "classics/lines/linepatterns.h"
#include "classics/lines/patterntext.h"
#include "prosody/core/books.h"
#include "prosody/core/referencefile.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

const QString kClassics = QStringLiteral(SHIHAI_SOURCE_ROOT "/date/classics.db");

std::shared_ptr<const prosody::RhymeBooks> books()
{
    static const std::shared_ptr<const prosody::RhymeBooks> b =
        prosody::loadRhymeBooks(QStringLiteral(SHIHAI_SOURCE_ROOT "/date/rhymebooks.db"));
    return b;
}

const classics::LinePatterns &patterns()
{
    static const std::unique_ptr<classics::LinePatterns> p = classics::LinePatterns::open(kClassics, books());
    return *p;
}

struct Asked {
    const char16_t *pattern;
    const char16_t *group; // of 平水韵, or empty
    const char16_t *places;
    const char16_t *dynasty;
    const char16_t *author;
};

const Asked kAsked[] = {
    {u"中中中中中", u"", u"", u"", u""},
    {u"中中中中中中中", u"", u"", u"", u""},
    {u"中中中中", u"", u"", u"", u""},
    {u"仄仄平平仄仄平", u"", u"", u"", u""},
    {u"平平仄仄平", u"下平七阳", u"", u"", u""},
    {u"中中中中中中中", u"上平十一真", u"", u"", u""},
    {u"中中中中中", u"", u"5=月", u"", u""},
    {u"中中中中中中中", u"", u"1=不", u"", u""},
    {u"中中中中中", u"", u"1=明 2=月", u"", u""},
    {u"中中中中中中中", u"", u"", u"宋", u""},
    {u"中中中中中", u"", u"", u"", u"杜甫"},
    {u"平平仄仄仄平平", u"下平一先", u"4=人", u"唐", u"白居易"},
};

classics::LineQuery queryOf(const Asked &a)
{
    classics::LineQuery q;
    q.pattern = classics::parsePattern(QString::fromUtf16(a.pattern)).pattern;
    q.at = classics::parsePlaces(QString::fromUtf16(a.places)).at;
    q.dynasty = QString::fromUtf16(a.dynasty);
    q.author = QString::fromUtf16(a.author);
    const QString group = QString::fromUtf16(a.group);
    const auto &groups = books()->groups(prosody::Book::Pingshui);
    for (int g = 0; g < groups.size() && !group.isEmpty(); ++g)
        if (groups.at(g).name == group)
            q.rhymeGroup = g;
    return q;
}

QString labelOf(const Asked &a)
{
    QStringList parts{QString::fromUtf16(a.pattern)};
    for (const char16_t *part : {a.group, a.places, a.dynasty, a.author})
        if (*part)
            parts << QString::fromUtf16(part);
    return parts.join(u' ');
}

// The first search of a window or a command: the file opened and the codes read.
void openAndReadCodes(benchmark::State &state)
{
    books();
    qint64 lines = 0;
    for (auto _ : state)
        lines = classics::LinePatterns::open(kClassics, books())->verseLines();
    state.SetLabel(QStringLiteral("%1 verse lines").arg(lines).toStdString());
}
BENCHMARK(openAndReadCodes)->Unit(benchmark::kMillisecond);

// What the 集句 tab does for a search: the count by dynasty and the first page.
void patternCountAndFirst50(benchmark::State &state)
{
    const Asked &asked = kAsked[state.range(0)];
    const classics::LineQuery q = queryOf(asked);
    patterns().verseLines();
    // The lines holding a character at a place are remembered for the pages of one search: another
    // search in between, untimed, makes each round a new search.
    classics::LineQuery other = q;
    other.at = {{0, U'鹧'}};
    int found = 0;
    for (auto _ : state) {
        if (!q.at.isEmpty()) {
            state.PauseTiming();
            benchmark::DoNotOptimize(patterns().count(other));
            state.ResumeTiming();
        }
        found = patterns().count(q).lines;
        benchmark::DoNotOptimize(patterns().lines(q, 0, 50));
    }
    state.SetLabel(QStringLiteral("%1: %2 lines").arg(labelOf(asked)).arg(found).toStdString());
}
BENCHMARK(patternCountAndFirst50)->DenseRange(0, std::size(kAsked) - 1)->Unit(benchmark::kMillisecond);

// The page at line 10,000 of every line of seven.
void patternPageAt10000(benchmark::State &state)
{
    const classics::LineQuery q = queryOf(kAsked[1]);
    for (auto _ : state)
        benchmark::DoNotOptimize(patterns().lines(q, 10000, 50));
}
BENCHMARK(patternPageAt10000)->Unit(benchmark::kMillisecond);

} // namespace
