// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the classics' searches on the real file (date/classics.db of the source tree): the
// count and the first 200 lines of texts of one, two and four characters, a whole poem, the rhyme
// words of a group, the words the middle couplets set against a word and the 对仗 of a 律诗. Prints
// the process's memory before and after.
#include "classics/classics.h"
#include "classics/coupletpairs.h"
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/couplet/judge.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QString kPath = QStringLiteral(SHIHAI_SOURCE_ROOT "/date/classics.db");

// Common and rare texts of each length.
const char16_t *const kTexts[] = {u"人",   u"山",       u"鹧",       u"明月",    u"春风",
                                  u"不知", u"白日依山", u"人生如梦", u"春风得意"};

const classics::Classics &opened()
{
    static const std::unique_ptr<classics::Classics> c = classics::Classics::open(kPath);
    return *c;
}

QString text(const benchmark::State &state)
{
    return QString::fromUtf16(kTexts[state.range(0)]);
}

// The resident and peak memory of the process, in MB, from /proc/self/status.
QString memory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    QStringList out;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:") || line.startsWith("VmHWM:"))
            out << QString::fromLatin1(line.simplified());
    return out.join(QStringLiteral(", "));
}

void openFile(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(classics::Classics::open(kPath));
}
BENCHMARK(openFile)->Unit(benchmark::kMillisecond);

// What the window does for a new text: the count by dynasty and the first page of lines.
void countAndFirst200(benchmark::State &state)
{
    const QString t = text(state);
    int lines = 0;
    for (auto _ : state) {
        lines = opened().count(t).lines;
        benchmark::DoNotOptimize(opened().lines(t, 0, 200));
    }
    state.SetLabel(QStringLiteral("%1 (%2 lines)").arg(t).arg(lines).toStdString());
}
BENCHMARK(countAndFirst200)->DenseRange(0, std::size(kTexts) - 1)->Unit(benchmark::kMillisecond);

void countOnly(benchmark::State &state)
{
    const QString t = text(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(opened().count(t));
    state.SetLabel(t.toStdString());
}
BENCHMARK(countOnly)->DenseRange(0, std::size(kTexts) - 1)->Unit(benchmark::kMillisecond);

// The next page far down the list, as the user scrolls.
void pageAt10000(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(opened().lines(QStringLiteral("人"), 10000, 200));
}
BENCHMARK(pageAt10000)->Unit(benchmark::kMillisecond);

void wholePoem(benchmark::State &state)
{
    const qint64 id = opened().lines(QStringLiteral("明月"), 0, 1).value(0).poem;
    for (auto _ : state)
        benchmark::DoNotOptimize(opened().poem(id));
}
BENCHMARK(wholePoem)->Unit(benchmark::kMicrosecond);

void rhymeWordsOfAGroup(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(opened().rhymeWords(prosody::Book::Pingshui, QStringLiteral("下平七阳")));
}
BENCHMARK(rhymeWordsOfAGroup)->Unit(benchmark::kMicrosecond);

// The words set against a word and each one's example couplet, as the 对仗 tab shows the first 30.
const char16_t *const kWords[] = {u"天", u"酒", u"明月", u"万里", u"白发", u"萧萧", u"无边落木", u"万里悲秋"};

void partnersWithExamples(benchmark::State &state)
{
    static const std::unique_ptr<classics::CoupletPairs> pairs = classics::CoupletPairs::open(kPath);
    const QString word = QString::fromUtf16(kWords[state.range(0)]);
    int found = 0;
    for (auto _ : state) {
        const QList<classics::Partner> partners = pairs->partners(word, 30);
        found = int(partners.size());
        for (const classics::Partner &p : partners)
            benchmark::DoNotOptimize(pairs->couplet(p.couplet));
    }
    state.SetLabel(QStringLiteral("%1 (%2 partners)").arg(word).arg(found).toStdString());
}
BENCHMARK(partnersWithExamples)->DenseRange(0, std::size(kWords) - 1)->Unit(benchmark::kMillisecond);

// The four couplets of 登高 judged with nothing yet remembered (a new draft), then again (a keystroke
// elsewhere in the draft: every pair is remembered).
void judgeDenggao(benchmark::State &state)
{
    const QStringList lines = {u"风急天高猿啸哀"_s, u"渚清沙白鸟飞回"_s, u"无边落木萧萧下"_s,
                               u"不尽长江滚滚来"_s, u"万里悲秋常作客"_s, u"百年多病独登台"_s,
                               u"艰难苦恨繁霜鬓"_s, u"潦倒新停浊酒杯"_s};
    QList<QList<char32_t>> chars;
    for (const QString &l : lines) {
        QList<char32_t> c;
        for (const uint u : l.toUcs4())
            c.append(u);
        chars.append(c);
    }
    const bool remembered = state.range(0) == 1;
    std::unique_ptr<classics::CoupletPairs> pairs = classics::CoupletPairs::open(kPath);
    for (auto _ : state) {
        if (!remembered) {
            state.PauseTiming();
            pairs = classics::CoupletPairs::open(kPath);
            state.ResumeTiming();
        }
        for (int k = 0; k < 4; ++k)
            benchmark::DoNotOptimize(prosody::judgeCouplet(chars.at(2 * k), chars.at(2 * k + 1), *pairs));
    }
    state.SetLabel(remembered ? "remembered" : "first time");
}
BENCHMARK(judgeDenggao)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The check of a draft of 100 lines (25 of 登高) with and without the 对仗 of its couplets, every
// pair remembered: what judging the couplets adds to the check of a keystroke.
void checkDraft(benchmark::State &state)
{
    static const std::shared_ptr<const prosody::RhymeBooks> books =
        prosody::loadRhymeBooks(QStringLiteral(SHIHAI_SOURCE_ROOT "/date/rhymebooks.db"));
    static const std::unique_ptr<classics::CoupletPairs> pairs = classics::CoupletPairs::open(kPath);
    QString draft;
    for (int i = 0; i < 25; ++i)
        draft += u"风急天高猿啸哀，渚清沙白鸟飞回。\n无边落木萧萧下，不尽长江滚滚来。\n"
                 "万里悲秋常作客，百年多病独登台。\n艰难苦恨繁霜鬓，潦倒新停浊酒杯。\n\n"_s;
    const prosody::PairSource *source = state.range(0) ? pairs.get() : nullptr;
    for (auto _ : state)
        benchmark::DoNotOptimize(prosody::checkAs(books, draft, {}, source));
    state.SetLabel(source ? "with couplets" : "without");
}
BENCHMARK(checkDraft)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!QFileInfo::exists(kPath)) {
        std::fprintf(stderr, "bench_classics: %s is missing; the set-up builds it\n", qPrintable(kPath));
        return 1;
    }
    std::printf("file: %.1f MB; before opening: %s\n", QFileInfo(kPath).size() / 1e6, qPrintable(memory()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("after the benchmarks: %s\n", qPrintable(memory()));
    return 0;
}
