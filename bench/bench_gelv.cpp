// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the 格律 window's page models on the real rhyme books (date/rhymebooks.db of the
// source tree): a selection changing over a long draft, and pinyin typed into the lookup.
#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/pinyinindex.h"
#include "prosody/core/referencefile.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString kBooksPath = QStringLiteral(SHIHAI_SOURCE_ROOT "/date/rhymebooks.db");

const QString kDenggao =
    QStringLiteral("风急天高猿啸哀，渚清沙白鸟飞回。\n无边落木萧萧下，不尽长江滚滚来。\n"
                   "万里悲秋常作客，百年多病独登台。\n艰难苦恨繁霜鬓，潦倒新停浊酒杯。\n");

std::shared_ptr<const prosody::RhymeBooks> books()
{
    static const std::shared_ptr<const prosody::RhymeBooks> loaded = prosody::loadRhymeBooks(kBooksPath);
    return loaded;
}

// The selection moving over a draft of 250 poems (2,000 lines), as a drag does, with the check
// following: 0 selects two characters of the last poem (looked up, the whole draft stays checked),
// 1 selects the whole last poem (checked alone).
void selectInLongDraft(benchmark::State &state)
{
    QString draft;
    for (int i = 0; i < 250; ++i)
        draft += kDenggao + u'\n';
    CheckModel model;
    model.setBooks(books());
    model.setDraft(draft, 0, 0);
    const int last = int(draft.size() - kDenggao.size() - 1);
    const int length = state.range(0) == 0 ? 2 : int(kDenggao.size());
    int shift = 0;
    for (auto _ : state) {
        shift = 1 - shift; // another selection each time, never the one checked last
        model.setDraft(draft, last + shift, last + shift + length - shift);
        benchmark::DoNotOptimize(model.checks().size());
    }
    state.SetLabel(state.range(0) == 0 ? "two characters" : "a whole poem");
}
BENCHMARK(selectInLongDraft)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The first pinyin typed builds the index of every character's readings.
void buildPinyinIndex(benchmark::State &state)
{
    for (auto _ : state) {
        const PinyinIndex index(*books());
        benchmark::DoNotOptimize(index.characters(QStringLiteral("shuang")).size());
    }
}
BENCHMARK(buildPinyinIndex)->Unit(benchmark::kMillisecond);

void lookUpReading(benchmark::State &state)
{
    const PinyinIndex index(*books());
    for (auto _ : state)
        benchmark::DoNotOptimize(index.characters(QStringLiteral("shuāng")).size());
}
BENCHMARK(lookUpReading)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!QFileInfo::exists(kBooksPath)) {
        std::fprintf(stderr, "bench_gelv: %s is missing; the set-up builds it\n", qPrintable(kBooksPath));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
