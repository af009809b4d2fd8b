// Benchmarks of the classics' searches on the real file (date/classics.db of the source tree): the
// count and the first 200 lines of texts of one, two and four characters, a whole poem and the
// rhyme words of a group. Prints the process's memory before and after.
#include "classics/classics.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

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
