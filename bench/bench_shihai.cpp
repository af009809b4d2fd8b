// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of what a click costs on the full dictionary, through the same handlers a click runs
// (model refresh and status texts included, painting excluded), each beside the time the engine itself
// needs for the same statements in the sqlite3 shell.
#include "app/W_Unit.h"
#include "db/database.h"
#include "db/query.h"
#include "pages/association/associationpage.h"
#include "pages/creation/creationpage.h"
#include "pages/gelv/gelvwindow.h"
#include "pages/rhymes/rhymespage.h"
#include "pages/works/workspage.h"
#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/gelvwindowmodel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

QString databaseCopy; // date/W.mdb inside the working directory of the run

// Mean time of the statements in one sqlite3 shell session that repeats them `repeats` times. The
// shell's timer counts whole milliseconds per statement; over many repeats the mean is still exact.
double shellMilliseconds(const QStringList &statements, int repeats)
{
    QString script = QStringLiteral(".timer on\n.output /dev/null\n");
    for (int r = 0; r < repeats; ++r)
        for (const QString &s : statements)
            script += s + QStringLiteral(";\n");
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {databaseCopy});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    static const QRegularExpression runTime(QStringLiteral("Run Time: real ([0-9.]+)"));
    double total = 0;
    auto it = runTime.globalMatch(QString::fromUtf8(shell.readAllStandardOutput()));
    while (it.hasNext())
        total += it.next().captured(1).toDouble() * 1000;
    return total / repeats;
}

// Median over several shell runs, each repeating the statements for about a second.
double engineMilliseconds(const QStringList &statements, int runs = 9)
{
    const double estimate = std::max(shellMilliseconds(statements, 10), 0.01);
    const int repeats = std::clamp(int(1000 / estimate), 10, 5000);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(shellMilliseconds(statements, repeats));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::unique_ptr<TW> shownWindow()
{
    auto w = std::make_unique<TW>();
    w->show(); // FormShow runs inside: the works total and the creation page's status texts
    return w;
}

template <class T> T *control(TW &w, const char *name)
{
    return w.findChild<T *>(QString::fromLatin1(name));
}

struct Operation {
    QStringList engineStatements;
};
std::map<std::string, Operation> operations;

void addOperation(const std::string &name, QStringList statements)
{
    operations[name] = {std::move(statements)};
}

void BM_StartUp(benchmark::State &state)
{
    for (auto _ : state) {
        auto w = shownWindow();
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}

void BM_CreationLookup(benchmark::State &state)
{
    auto w = shownWindow();
    control<QComboBox>(*w, "ComboBox1")->setEditText(QStringLiteral("[a]开头"));
    control<QComboBox>(*w, "ComboBox2")->setEditText(QStringLiteral("ang"));
    control<QComboBox>(*w, "ComboBox3")->setEditText(QStringLiteral("阳平"));
    auto *page = control<CreationPage>(*w, "Edit");
    for (auto _ : state)
        page->Edit_ok_SpeedButtonClick();
}

void BM_BrowserAll(benchmark::State &state)
{
    auto w = shownWindow();
    auto *page = control<RhymesPage>(*w, "View");
    for (auto _ : state)
        page->SpeedButton2Click();
}

void BM_Search(benchmark::State &state, const char *mode, const char *text)
{
    auto w = shownWindow();
    control<QComboBox>(*w, "Think_ComboBox")->setEditText(QString::fromUtf8(mode));
    control<QLineEdit>(*w, "Think_Edit")->setText(QString::fromUtf8(text));
    auto *page = control<AssociationPage>(*w, "Think");
    for (auto _ : state)
        page->Think_SpeedButtonClick();
    state.counters["words"] = w->database().Cizu_ADOQuery->recordCount();
}

void BM_CategoryChange(benchmark::State &state)
{
    auto w = shownWindow();
    auto *category = control<QComboBox>(*w, "Show_ComboBox");
    bool second = false;
    for (auto _ : state) {
        category->setEditText(second ? QStringLiteral("丙类")
                                     : QStringLiteral("乙类")); // runs Show_ComboBoxChange
        second = !second;
    }
}

void BM_WalkNext(benchmark::State &state)
{
    auto w = shownWindow();
    control<QComboBox>(*w, "Show_ComboBox")->setEditText(QStringLiteral("乙类"));
    Query *works = w->database().Show_ADOQuery;
    auto *page = control<WorksPage>(*w, "Show");
    const int rows = works->recordCount();
    for (auto _ : state) {
        state.PauseTiming();
        page->first_SpeedButtonClick();
        state.ResumeTiming();
        for (int i = 0; i < rows; ++i)
            page->next_SpeedButtonClick();
    }
    state.counters["rows"] = rows;
}

// The find bar of 经典案例 as one types: the works of every category whose title, author or text holds
// the text, listed; each find starts from an empty bar.
void BM_FindWork(benchmark::State &state, const char *text)
{
    auto w = shownWindow();
    auto *find = control<QLineEdit>(*w, "find_Edit");
    for (auto _ : state) {
        find->setText(QString::fromUtf8(text));
        state.PauseTiming();
        find->setText(QString());
        state.ResumeTiming();
    }
}

// One keystroke in a draft of 100 lines with the 格律 window open: the key reaches the editor, the
// window checks the draft again and repaints its marked poem and findings. Keys alternate between
// typing a character at the end of line 50 and deleting it, so the draft stays the same size. With
// couplets false the check goes without the classics' pairs, as before the 对仗 of the middle
// couplets: the two side by side give what that judgement adds to a keystroke.
void BM_GelvKeystroke(benchmark::State &state, bool couplets)
{
    auto w = shownWindow();
    auto *draft = control<QTextEdit>(*w, "Edit_DBRichEdit");
    const QString poem =
        QStringLiteral("风急天高猿啸哀，渚清沙白鸟飞回。\n无边落木萧萧下，不尽长江滚滚来。\n"
                       "万里悲秋常作客，百年多病独登台。\n艰难苦恨繁霜鬓，潦倒新停浊酒杯。\n");
    QString text;
    for (int i = 0; i < 25; ++i)
        text += poem + u'\n';
    draft->setPlainText(text);
    w->Edit_gelv_SpeedButtonClick();
    auto *gelv = w->findChild<GelvWindow *>(QStringLiteral("Gelv"));
    if (!couplets)
        gelv->model()->check()->setPairs(nullptr);
    else if (gelv->model()->check()->checks().value(0).couplets.isEmpty())
        state.SkipWithError("no pairs to judge the couplets by: date/classics.db is missing or older");
    QWidget *view = gelv->findChild<QWidget *>(QStringLiteral("Gelv_View"));
    QWidget *findings = gelv->findChild<QWidget *>(QStringLiteral("Gelv_Findings"));
    QTextCursor cursor(draft->document()->findBlockByNumber(49));
    cursor.movePosition(QTextCursor::EndOfBlock);
    draft->setTextCursor(cursor);
    bool typed = false;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, typed ? Qt::Key_Backspace : Qt::Key_unknown, Qt::NoModifier,
                        typed ? QString() : QStringLiteral("风"));
        QApplication::sendEvent(draft, &press);
        view->repaint();
        findings->repaint();
        typed = !typed;
    }
    state.counters["lines"] = draft->document()->blockCount();
}

// A caret move in the same draft of 100 lines with the 格律 window's 填字 tab in view: the window
// follows the caret, and the tab lists the words of the classics for the place, each tried by the
// check. The caret alternates between the rhyme of 不尽长江滚滚来 in the tenth poem and the start of
// the line after it.
void BM_GelvTianzi(benchmark::State &state)
{
    auto w = shownWindow();
    auto *draft = control<QTextEdit>(*w, "Edit_DBRichEdit");
    const QString poem =
        QStringLiteral("风急天高猿啸哀，渚清沙白鸟飞回。\n无边落木萧萧下，不尽长江滚滚来。\n"
                       "万里悲秋常作客，百年多病独登台。\n艰难苦恨繁霜鬓，潦倒新停浊酒杯。\n");
    QString text;
    for (int i = 0; i < 25; ++i)
        text += poem + u'\n';
    draft->setPlainText(text);
    w->Edit_gelv_SpeedButtonClick();
    auto *gelv = w->findChild<GelvWindow *>(QStringLiteral("Gelv"));
    auto *tabs = gelv->findChild<QTabWidget *>(QStringLiteral("Gelv_Tabs"));
    tabs->setCurrentWidget(gelv->findChild<QWidget *>(QStringLiteral("Gelv_Tianzi")));
    auto *list = gelv->findChild<QTreeWidget *>(QStringLiteral("Gelv_Tianzi_List"));
    const int rhyme = draft->document()->findBlockByNumber(46).position() + 14;
    const int opening = draft->document()->findBlockByNumber(47).position();
    bool second = false;
    for (auto _ : state) {
        QTextCursor cursor = draft->textCursor();
        cursor.setPosition(second ? opening : rhyme);
        draft->setTextCursor(cursor);
        list->repaint();
        second = !second;
    }
    state.counters["words"] = list->topLevelItemCount();
    if (list->topLevelItemCount() == 0)
        state.SkipWithError("no words offered: date/classics.db is missing or older");
}

// From starting the program to its window shown on the full database: a new process each time,
// with the box probe of the fault tests closing the window as soon as the event loop runs. Includes
// loading the libraries and fonts, and the close (which posts the unchanged draft: nothing to write).
void BM_ProcessStartToShown(benchmark::State &state)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(BOXPROBE_PLUGINS));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("shihaiboxprobe:close"));
    for (auto _ : state) {
        QProcess program;
        program.setProgram(QStringLiteral(SHIHAI_PROGRAM));
        program.setWorkingDirectory(QDir::currentPath());
        program.setProcessEnvironment(env);
        program.setReadChannel(QProcess::StandardError);
        QElapsedTimer clock;
        clock.start();
        program.start();
        QByteArray said;
        while (!said.contains("{\"close\":true}") && program.waitForReadyRead(60000))
            said += program.readAllStandardError();
        const double seconds = clock.nsecsElapsed() / 1e9;
        program.waitForFinished(60000);
        if (!said.contains("{\"close\":true}") || program.exitCode() != 0) {
            state.SkipWithError("the program did not show its window and close");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

// Peak resident memory of a fresh process that started the window on the full database.
long startUpPeakKilobytes()
{
    auto w = shownWindow();
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void BM_StartUpPeakMemory(benchmark::State &state)
{
    double megabytes = 0;
    for (auto _ : state) {
        QProcess self;
        self.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--startup-memory")});
        self.waitForFinished(-1);
        megabytes = QString::fromUtf8(self.readAllStandardOutput()).trimmed().toDouble() / 1024;
    }
    state.counters["peak_MB"] = megabytes;
}

// Prints the medians beside the engine's times as a Markdown table once every benchmark has run.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.aggregate_name != "median")
                continue;
            Row &row = m_rows[run.run_name.function_name];
            row.milliseconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            for (const auto &[name, counter] : run.counters)
                row.counters +=
                    " " + name + "=" + std::to_string(qRound64(counter.value * 10) / 10.0).substr(0, 6);
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf(
            "\n| operation | application (median) | engine (sqlite3 shell, median) | ratio | notes |\n");
        std::printf("|---|---:|---:|---:|---|\n");
        for (const auto &[name, row] : m_rows) {
            const auto op = operations.find(name);
            if (op == operations.end() || op->second.engineStatements.isEmpty()) {
                std::printf("| %s | %.2f ms | – | – |%s |\n", name.c_str(), row.milliseconds,
                            row.counters.c_str());
                continue;
            }
            const double engine = engineMilliseconds(op->second.engineStatements);
            std::printf("| %s | %.2f ms | %.2f ms | %.2f |%s |\n", name.c_str(), row.milliseconds, engine,
                        row.milliseconds / engine, row.counters.c_str());
        }
    }

private:
    struct Row {
        double milliseconds = 0;
        std::string counters;
    };
    std::map<std::string, Row> m_rows;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TW::setUpApplication();

    const QString source =
        qEnvironmentVariable("SHIHAI_DB", QStringLiteral(SHIHAI_SOURCE_ROOT "/date/W.mdb"));
    if (!QFile::exists(source)) {
        std::fprintf(stderr, "no database at %s: build it first (bash setup.sh test)\n", qPrintable(source));
        return 1;
    }
    // Every run works on a copy, so nothing the benchmarks write reaches the user's file.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("date"));
    databaseCopy = dir.path() + QStringLiteral("/date/W.mdb");
    if (app.arguments().contains(QStringLiteral("--startup-memory"))) {
        QDir::setCurrent(QFileInfo(source).absolutePath() + QStringLiteral("/.."));
        std::printf("%ld\n", startUpPeakKilobytes());
        return 0;
    }
    QFile::copy(source, databaseCopy);
    // The 格律 window reads the rhyme books and the classics beside the database; the classics are
    // only read, so a link does.
    QFile::copy(QFileInfo(source).absolutePath() + QStringLiteral("/rhymebooks.db"),
                dir.path() + QStringLiteral("/date/rhymebooks.db"));
    QFile::link(QFileInfo(source).absolutePath() + QStringLiteral("/classics.db"),
                dir.path() + QStringLiteral("/date/classics.db"));
    QDir::setCurrent(dir.path());

    addOperation(
        "BM_StartUp",
        {QStringLiteral("select * from 平舌音 where 简易<>''"),
         QStringLiteral("select * from 卷舌音 where 简易<>''"), QStringLiteral("select * from 平舌音"),
         QStringLiteral("select * from 卷舌音"), QStringLiteral("select * from 作品 where 标题='草稿'"),
         QStringLiteral("select * from 作品 where 类别='甲类' order by 日期 DESC"),
         QStringLiteral("select * from 词组"), QStringLiteral("select * from 成语 where 成语 like '春%'")});
    addOperation(
        "BM_CreationLookup",
        {QStringLiteral("select * from 平舌音 where 韵母='ang' and 声调='阳平' and 简易<>'' order by 音节"),
         QStringLiteral("select * from 卷舌音 where 韵母='ang' and 声调='阳平' and 简易<>'' order by 音节")});
    addOperation("BM_BrowserAll",
                 {QStringLiteral("select * from 平舌音"), QStringLiteral("select * from 卷舌音")});
    addOperation("BM_CategoryChange",
                 {QStringLiteral("select * from  作品 where 类别='乙类' order by 日期 desc")});
    const struct {
        const char *name, *mode, *text, *pattern;
    } searches[] = {{"BM_SearchPrefix", "字首", "春", "春%"},
                    {"BM_SearchInfix", "包含", "春", "%春%"},
                    {"BM_SearchSuffix", "字尾", "春", "%春"},
                    {"BM_SearchInfixTwo", "包含", "春风", "%春风%"}};
    for (const auto &s : searches) {
        benchmark::RegisterBenchmark(s.name, BM_Search, s.mode, s.text)->Unit(benchmark::kMillisecond);
        const QString pattern = QString::fromUtf8(s.pattern);
        addOperation(s.name, {QStringLiteral("select * from 词组 where 词组 like '%1'").arg(pattern),
                              QStringLiteral("select * from 成语 where 成语 like '%1'").arg(pattern)});
    }
    for (const char *text : {"月", "明月", "李白"}) {
        const std::string name = std::string("BM_FindWork/") + text;
        benchmark::RegisterBenchmark(name.c_str(), BM_FindWork, text)->Unit(benchmark::kMillisecond);
        const QString t = QString::fromUtf8(text);
        addOperation(name,
                     {QStringLiteral("select rowid, 类别, 标题, 作者 from 作品 where 类别 <> '草稿' and "
                                     "(instr(lower(标题), lower('%1')) or instr(lower(作者), lower('%1')) or "
                                     "instr(lower(内容), lower('%1'))) order by 日期 desc")
                          .arg(t)});
    }
    benchmark::RegisterBenchmark("BM_StartUp", BM_StartUp)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CreationLookup", BM_CreationLookup)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_BrowserAll", BM_BrowserAll)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CategoryChange", BM_CategoryChange)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_WalkNext", BM_WalkNext)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_GelvKeystroke", BM_GelvKeystroke, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_GelvKeystrokeWithoutCouplets", BM_GelvKeystroke, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_GelvTianzi", BM_GelvTianzi)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ProcessStartToShown", BM_ProcessStartToShown)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(7);
    benchmark::RegisterBenchmark("BM_StartUpPeakMemory", BM_StartUpPeakMemory)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);

    std::vector<char *> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=9";
    if (std::none_of(args.begin(), args.end(),
                     [](const char *a) { return std::string(a).starts_with("--benchmark_repetitions"); }))
        args.push_back(repetitions.data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
