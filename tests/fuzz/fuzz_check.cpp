// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the metre check on pasted text: any bytes, read as the draft, go through the
// reader and the check in every book, in 自动 and in each form, on the whole text and on a selection
// inside it, and through both reports. A crash, a hang or a sanitizer report is a fault; so is a
// finding that points outside its line.
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/report.h"
#include "prosody/request/parserequest.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace prosody;

namespace {

std::shared_ptr<const RhymeBooks> books;

const char16_t *const kForms[] = {u"自动", u"五绝",   u"七绝",   u"五律",     u"七律",
                                  u"排律", u"浣溪沙", u"念奴娇", u"水调歌头", u"菩萨蛮"};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *path = std::getenv("SHIHAI_BOOKS");
    try {
        books = loadRhymeBooks(QString::fromUtf8(path ? path : "date/rhymebooks.db"));
    } catch (const LoadError &e) {
        std::fprintf(stderr, "fuzz_check: %s\n", e.what());
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses the book, the form and whether a part of the text is selected.
    const uint8_t choice = data[0];
    QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (choice & 0x80)
        text = text.mid(text.size() / 3, text.size() / 3 + 1);
    const std::optional<Book> book =
        (choice & 3) == 3 && (choice & 4) ? std::nullopt : std::optional<Book>(allBooks[choice & 3]);
    const QString form = QString::fromUtf16(kForms[(choice >> 3) % std::size(kForms)]);
    std::optional<CheckRequest> request = parseRequest(books->cipu(), form).request;
    if (!request)
        return 0;
    request->book = book;
    const std::optional<QList<PoemCheck>> checks = checkAs(books, text, *request);
    if (!checks)
        std::abort(); // a request read against the 词谱 names what it has
    for (const PoemCheck &check : *checks) {
        for (const Finding &f : check.findings) {
            if (f.line < 0 || f.line > check.lines.size() ||
                (f.line > 0 && (f.pos < 0 || f.pos > check.lines.at(f.line - 1).line.size())))
                std::abort();
        }
        (void)toJson(check);
        (void)toText(check);
        (void)check.summary();
    }
    return 0;
}
