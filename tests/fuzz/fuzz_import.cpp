// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for 经典案例's 导入: any bytes, in whatever encoding, are written as the file to
// import and go through the reader and the import plan as the page and shihai-works run them. A
// crash, a hang or a sanitizer report is a fault; so is a refusal with poems or of more than one
// line, a file read without poems, poems the plain-text export does not give back exactly, and a
// plan that loses, reorders or fails to flag a poem.
#include "presentation/works/importplan.h"
#include "presentation/works/textimporter.h"
#include "presentation/works/textwriter.h"
#include "presentation/works/work.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QTemporaryDir *folder; // kept for the whole run
QString path;

void expect(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_import: %s\n", what);
        std::abort();
    }
}

QByteArray exported(const QList<Work> &works)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TextWriter writer;
    writer.begin(&buffer);
    for (const Work &work : works)
        writer.write(work);
    writer.end();
    return buffer.data();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    folder = new QTemporaryDir;
    expect(folder->isValid(), "no temporary folder");
    path = folder->filePath(QStringLiteral("诗稿.txt"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(path);
        expect(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the file");
        expect(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size),
               "cannot write the file");
    }
    const TextImporter::Result read = TextImporter::readFile(path);
    if (!read.refusal.isEmpty()) {
        expect(read.poems.isEmpty(), "a refused file has poems");
        expect(!read.refusal.contains(u'\n'), "a refusal of more than one line");
        return 0;
    }
    expect(!read.poems.isEmpty() && !read.encoding.isEmpty(), "a file read without poems or encoding");

    // What the importer read, exported as plain text and read again, is the same poems.
    QList<Work> works;
    for (const Poem &poem : read.poems)
        works << Work{poem.title, poem.text, QStringLiteral("甲类"), QDate(2024, 1, 1)};
    const TextImporter::Result again = TextImporter::read(exported(works));
    expect(again.refusal.isEmpty(), "the export of imported poems is refused");
    expect(again.poems.size() == read.poems.size(), "the export of imported poems reads as other poems");
    for (qsizetype i = 0; i < read.poems.size(); ++i)
        expect(again.poems[i].title == read.poems[i].title && again.poems[i].text == read.poems[i].text,
               "a poem does not read back as it was");

    // The plan: every poem once, in file order, with its line count; those stored already (every
    // other one here) are flagged, and so is any poem that repeats an earlier one.
    QList<Work> stored;
    for (qsizetype i = 0; i < works.size(); i += 2)
        stored << works[i];
    const QList<ImportItem> items = importplan::plan(read.poems, stored);
    expect(items.size() == read.poems.size(), "the plan lost or added a poem");
    for (qsizetype i = 0; i < items.size(); ++i) {
        expect(items[i].poem.title == read.poems[i].title && items[i].poem.text == read.poems[i].text,
               "the plan reordered the poems");
        expect(items[i].lines == read.poems[i].lineCount(), "the plan counts other lines");
        expect(i % 2 == 1 || items[i].duplicate, "a stored poem is not flagged");
    }
    const QList<ImportItem> fresh = importplan::plan(read.poems, {});
    expect(!fresh.first().duplicate, "the first poem of a file is flagged with nothing stored");
    QList<int> everyOne = {-1, int(items.size())};
    for (int i = int(items.size()) - 1; i >= 0; --i)
        everyOne << i << i;
    const QList<Poem> chosen = importplan::chosen(items, everyOne);
    expect(chosen.size() == read.poems.size(), "choosing every poem does not give each once");
    for (qsizetype i = 0; i < chosen.size(); ++i)
        expect(chosen[i].title == read.poems[i].title, "the chosen poems are not in file order");
    return 0;
}
