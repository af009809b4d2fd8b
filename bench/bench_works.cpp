// SPDX-License-Identifier: GPL-3.0-or-later
// The whole library taken out and brought back: reading the works of a copy of date/W.mdb (3,500
// works), exporting all of them to each format (reading included, as the page does it), and reading
// the plain-text export back and adding its poems in one transaction (rolled back, so every
// iteration starts from the same file).
#include "db/sqlite.h"
#include "pages/shared/fonts.h"
#include "pages/works/pdf/writers.h"
#include "presentation/works/exportjob.h"
#include "presentation/works/importjob.h"
#include "presentation/works/library.h"
#include "presentation/works/textimporter.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

QTemporaryDir *folder = nullptr;
Connection *database = nullptr;

QString outPath(ExportFormat format)
{
    return folder->filePath(QStringLiteral("全部作品.") + exportformat::suffix(format));
}

void exportAll(ExportFormat format)
{
    ExportJob job(library::all(database), makeWriter(format), outPath(format));
    if (!job.open().isEmpty())
        std::abort();
    while (job.done() < job.total())
        job.step();
    if (!job.commit().isEmpty())
        std::abort();
}

void BM_ReadLibrary(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(library::all(database));
    state.counters["works"] = double(library::all(database).size());
}

void BM_ExportLibrary(benchmark::State &state, ExportFormat format)
{
    for (auto _ : state)
        exportAll(format);
    state.counters["MB"] = double(QFileInfo(outPath(format)).size()) / 1e6;
}

void BM_ImportLibrary(benchmark::State &state)
{
    exportAll(ExportFormat::Text);
    for (auto _ : state) {
        const TextImporter::Result read = TextImporter::readFile(outPath(ExportFormat::Text));
        ImportJob job(database, read.poems, QStringLiteral("戊类"), QStringLiteral("全部作品.txt"));
        job.begin();
        while (job.done() < job.total())
            job.step();
        job.cancel();
        state.counters["poems"] = job.total();
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    look::installFontSubstitutions();

    const QString source =
        qEnvironmentVariable("SHIHAI_DB", QStringLiteral(SHIHAI_SOURCE_ROOT "/date/W.mdb"));
    if (!QFile::exists(source)) {
        std::fprintf(stderr, "no database at %s: build it first (bash setup.sh test)\n", qPrintable(source));
        return 1;
    }
    // Every run works on a copy, so nothing reaches the user's file.
    QTemporaryDir dir;
    folder = &dir;
    const QString copy = dir.filePath(QStringLiteral("W.mdb"));
    QFile::copy(source, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    Connection connection(copy);
    database = &connection;

    benchmark::RegisterBenchmark("BM_ReadLibrary", BM_ReadLibrary)->Unit(benchmark::kMillisecond);
    const struct {
        const char *name;
        ExportFormat format;
        int iterations;
    } formats[] = {{"BM_ExportLibrary/txt", ExportFormat::Text, 10},
                   {"BM_ExportLibrary/md", ExportFormat::Markdown, 10},
                   {"BM_ExportLibrary/pdf_vertical", ExportFormat::PdfVertical, 2},
                   {"BM_ExportLibrary/pdf_horizontal", ExportFormat::PdfHorizontal, 2}};
    for (const auto &f : formats)
        benchmark::RegisterBenchmark(f.name, BM_ExportLibrary, f.format)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(f.iterations);
    benchmark::RegisterBenchmark("BM_ImportLibrary", BM_ImportLibrary)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
