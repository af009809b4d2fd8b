// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the metre check on the real rhyme books (date/rhymebooks.db of the source tree).
#include "prosody/check.h"
#include "prosody/ci/cipufile.h"
#include "prosody/core/referencefile.h"

#include "db/sqlite.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>

#include <optional>

namespace {

const QString kBooksPath = QStringLiteral(SHIHAI_SOURCE_ROOT "/date/rhymebooks.db");

const QString kDenggao =
    QStringLiteral("风急天高猿啸哀，渚清沙白鸟飞回。\n无边落木萧萧下，不尽长江滚滚来。\n"
                   "万里悲秋常作客，百年多病独登台。\n艰难苦恨繁霜鬓，潦倒新停浊酒杯。\n");

// 念奴娇 in 苏轼's words: twenty lines, two of them broken elsewhere than the corpus breaks them.
const QString kNiannujiao = QStringLiteral(
    "大江东去，浪淘尽，千古风流人物。故垒西边，人道是，三国周郎赤壁。乱石穿空，惊涛拍岸，"
    "卷起千堆雪。江山如画，一时多少豪杰。\n\n遥想公瑾当年，小乔初嫁了，雄姿英发。羽扇纶巾，谈笑间，"
    "樯橹灰飞烟灭。故国神游，多情应笑我，早生华发。人生如梦，一尊还酹江月。\n");

std::shared_ptr<const prosody::RhymeBooks> books()
{
    static const std::shared_ptr<const prosody::RhymeBooks> loaded = prosody::loadRhymeBooks(kBooksPath);
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

// The books and the 词谱 together: loadRhymeBooks reads both.
void loadBooks(benchmark::State &state)
{
    for (auto _ : state) {
        std::shared_ptr<const prosody::RhymeBooks> loaded = prosody::loadRhymeBooks(kBooksPath);
        benchmark::DoNotOptimize(loaded.get());
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(loadBooks)->Unit(benchmark::kMillisecond);

// The 词谱 alone, from the file's tables.
void loadPatterns(benchmark::State &state)
{
    const SqliteFile file(kBooksPath, SqliteFile::Mode::ReadOnlyOneThread);
    std::size_t forms = 0;
    for (auto _ : state) {
        const std::shared_ptr<const prosody::Cipu> cipu = prosody::readCipu(file);
        forms = cipu->forms().size();
        benchmark::DoNotOptimize(cipu.get());
    }
    state.SetLabel(std::to_string(forms) + " forms");
}
BENCHMARK(loadPatterns)->Unit(benchmark::kMillisecond);

// A 词 of unknown 词牌 against every form of every 词牌: the alignment and the 平仄 of each.
void matchCiAgainstAllForms(benchmark::State &state)
{
    const prosody::CiChecker checker(books());
    const prosody::Poem poem = checker.readCi(prosody::readPoems(kNiannujiao), nullptr).first();
    for (auto _ : state)
        benchmark::DoNotOptimize(checker.bestForm(poem, nullptr));
    state.SetLabel(std::to_string(books()->cipu().forms().size()) + " forms");
}
BENCHMARK(matchCiAgainstAllForms)->Unit(benchmark::kMillisecond);

// The whole check of a 词 from its text with 自动: reading, recognising, joining the 片, judging.
void checkCiAutomatic(benchmark::State &state)
{
    const std::shared_ptr<const prosody::RhymeBooks> loaded = books();
    for (auto _ : state)
        benchmark::DoNotOptimize(prosody::checkAs(loaded, kNiannujiao, {}));
}
BENCHMARK(checkCiAutomatic)->Unit(benchmark::kMillisecond);

// One poem in a modern book on freshly loaded books: every word around a polyphone is looked up in
// the file for the first time.
void checkEightLinesFirstTime(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<prosody::Checker> checker(prosody::loadRhymeBooks(kBooksPath));
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

// Drafts of 10,000 characters of the kinds a paste can bring, each checked in 自动 as the window checks
// a draft: 0 one line without a break, 1 a character to a line, 2 two characters to a line with blank
// lines between, 3 brackets opened and never closed, 4 a whole poem repeated without blank lines, 5
// lines of every length from 1 to 30.
QString hostileDraft(int kind)
{
    const QString han = QStringLiteral("风急天高猿啸哀渚清沙白鸟飞回无边落木萧萧下不尽长江滚滚来");
    QString text;
    int i = 0;
    while (text.size() < 10000) {
        const QChar c = han.at(i++ % han.size());
        switch (kind) {
        case 0:
            text += c;
            break;
        case 1:
            text += c + QStringLiteral("，");
            break;
        case 2:
            text += QString(c) + c + QStringLiteral("\n\n");
            break;
        case 3:
            text += QStringLiteral("（") + c + c;
            break;
        case 4:
            text += kDenggao;
            break;
        default:
            text += han.left(i % 30 + 1) + u'\n';
            break;
        }
    }
    return text.left(10000);
}

void checkHostileDraft(benchmark::State &state)
{
    const QString text = hostileDraft(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(prosody::checkAs(books(), text, {}));
}
BENCHMARK(checkHostileDraft)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

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
