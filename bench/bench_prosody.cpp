// Benchmarks of the metre check on the real rhyme books (date/rhymebooks.db of the source tree).
#include "prosody/check.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>

#include <optional>

namespace {

const QString kBooksPath = QStringLiteral(SHIHAI_SOURCE_ROOT "/date/rhymebooks.db");

const QString kDenggao =
    QStringLiteral("风急天高猿啸哀，渚清沙白鸟飞回。\n无边落木萧萧下，不尽长江滚滚来。\n"
                   "万里悲秋常作客，百年多病独登台。\n艰难苦恨繁霜鬓，潦倒新停浊酒杯。\n");

std::shared_ptr<const prosody::RhymeBooks> books()
{
    static const std::shared_ptr<const prosody::RhymeBooks> loaded = prosody::RhymeBooks::load(kBooksPath);
    return loaded;
}

// A draft of 2,000 lines: 250 eight-line poems separated by blank lines.
QString longDraft()
{
    QString text;
    for (int i = 0; i < 250; ++i)
        text += kDenggao + u'\n';
    return text;
}

void loadBooks(benchmark::State &state)
{
    for (auto _ : state) {
        std::shared_ptr<const prosody::RhymeBooks> loaded = prosody::RhymeBooks::load(kBooksPath);
        benchmark::DoNotOptimize(loaded.get());
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(loadBooks)->Unit(benchmark::kMillisecond);

// One poem in a modern book on freshly loaded books: every word around a polyphone is looked up in
// the file for the first time.
void checkEightLinesFirstTime(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<prosody::Checker> checker(prosody::RhymeBooks::load(kBooksPath));
        state.ResumeTiming();
        benchmark::DoNotOptimize(checker->checkText(kDenggao, prosody::Book::Xinyun));
        state.PauseTiming();
        checker.reset(); // the books are taken apart outside the measured time
        state.ResumeTiming();
    }
}
BENCHMARK(checkEightLinesFirstTime)->Unit(benchmark::kMicrosecond);

void checkEightLines(benchmark::State &state)
{
    const prosody::Checker checker(books());
    const prosody::Book book = prosody::Book(state.range(0));
    checker.checkText(kDenggao, book); // the modern books read their word list once
    for (auto _ : state)
        benchmark::DoNotOptimize(checker.checkText(kDenggao, book));
    state.SetLabel(prosody::bookName(book).toStdString());
}
BENCHMARK(checkEightLines)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

void checkLongDraft(benchmark::State &state)
{
    const prosody::Checker checker(books());
    const QString draft = longDraft();
    const prosody::Book book = prosody::Book(state.range(0));
    checker.checkText(kDenggao, book);
    for (auto _ : state)
        benchmark::DoNotOptimize(checker.checkText(draft, book));
    state.SetLabel(prosody::bookName(book).toStdString());
}
BENCHMARK(checkLongDraft)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!QFileInfo::exists(kBooksPath)) {
        std::fprintf(stderr, "bench_prosody: %s is missing; the set-up builds it\n", qPrintable(kBooksPath));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
