// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/cipubook.h"

#include "tools/rhymebooks/cipubook/aliaslist.h"
#include "tools/rhymebooks/cipubook/appendix.h"
#include "tools/rhymebooks/cipubook/contents.h"
#include "tools/rhymebooks/cipubook/contentsmatch.h"
#include "tools/rhymebooks/cipubook/errata.h"
#include "tools/rhymebooks/cipubook/heading.h"
#include "tools/rhymebooks/cipubook/juanreader.h"
#include "tools/rhymebooks/cipubook/mending.h"
#include "tools/rhymebooks/cipubook/notereader.h"
#include "tools/rhymebooks/cipubook/origin.h"
#include "tools/rhymebooks/cipubook/variants.h"

#include <QDir>

namespace cipubook {

namespace {

BookForm formOf(const PrintedForm &printed, int number)
{
    BookForm form;
    form.number = number;
    form.heading = readHeading(printed.heading);
    form.author = printed.author;
    form.source = printed.source;
    MendedExample read = readMendedExample(printed.example, form.heading);
    form.example = read.example;
    form.slips = read.slips;
    mendErrata(form.example, form.slips);
    form.note = toQString(printed.note);
    const NoteReading note = readNote(printed.note, form.example);
    form.free = note.free;
    form.named = note.named;
    form.unplaced = note.unplaced;
    form.strict = note.strict;
    form.place = printed.place;
    return form;
}

BookTune tuneOf(const PrintedTune &printed)
{
    BookTune tune;
    tune.name = toQString(printed.name);
    tune.origin = toQString(printed.origin);
    tune.juan = printed.place.juan;
    tune.place = printed.place;
    for (const QString &name : originAliases(printed.origin))
        tune.aliases.append({name, false, true});
    int number = 0;
    for (const PrintedForm &f : printed.forms)
        tune.forms.append(formOf(f, ++number));
    return tune;
}

// A name the origin note seems to give that is a name of the contents with words run on ("安陽好張滋",
// the poet after the name) or cut short, or the 调's own name run on: the contents' reading stands.
void dropRunOnNames(BookTune &tune)
{
    const Text own = folded(toText(tune.name));
    tune.aliases.removeIf([&](const Alias &a) {
        if (a.inContents)
            return false;
        const Text name = folded(toText(a.name));
        if (startsWith(name, own))
            return true;
        return std::any_of(tune.aliases.begin(), tune.aliases.end(), [&](const Alias &other) {
            const Text o = folded(toText(other.name));
            return other.inContents && o != name && (startsWith(name, o) || startsWith(o, name));
        });
    });
}

void addContentsAliases(BookTune &tune, const QStringList &names)
{
    for (const QString &name : names) {
        auto it = std::find_if(tune.aliases.begin(), tune.aliases.end(), [&](const Alias &a) {
            return folded(toText(a.name)) == folded(toText(name));
        });
        if (it == tune.aliases.end())
            tune.aliases.append({name, true, originNames(toText(tune.origin), toText(name))});
        else
            it->inContents = true;
    }
    dropRunOnNames(tune);
}

// One 卷's 调 and table of contents appended to the book.
void addJuan(CipuBook &book, const QList<PrintedLine> &lines, int juan)
{
    QList<PrintedLine> contents, body;
    for (const PrintedLine &l : lines)
        (l.contents ? contents : body).append(l);
    const QList<PrintedEntry> entries = readContents(contents);
    const qsizetype firstTune = book.tunes.size();
    if (juan == 40) {
        const PrintedAppendix appendix = readAppendix(body);
        book.tunes << appendix.tunes;
        book.problems << appendix.problems;
    } else {
        const PrintedJuan cut = cutJuan(body);
        for (const PrintedTune &t : cut.tunes)
            book.tunes.append(tuneOf(t));
        book.problems << cut.problems;
    }
    for (qsizetype t = firstTune; t < book.tunes.size(); ++t)
        book.tunes[t].order = int(t + 1);
    const QList<qsizetype> match = matchContents(entries, book.tunes, firstTune, book.problems);
    for (qsizetype e = 0; e < entries.size(); ++e) {
        ContentsEntry entry = entries[e].entry;
        const Text origin = match[e] >= 0 ? toText(book.tunes[match[e]].origin) : Text();
        if (juan != 40)
            entry.aliases = readAliasList(entries[e].aliasList, origin);
        if (match[e] >= 0) {
            BookTune &tune = book.tunes[match[e]];
            tune.contents = int(book.contents.size());
            if (juan != 40)
                addContentsAliases(tune, entry.aliases);
        }
        book.contents.append(entry);
    }
}

} // namespace

CipuBook readCipuBook(const QString &dir)
{
    CipuBook book;
    for (int juan = 1; juan <= 40; ++juan)
        addJuan(book,
                readJuanFile(
                    QDir(dir).filePath(QStringLiteral("KR4j0086_%1.txt").arg(juan, 3, 10, QLatin1Char('0'))),
                    juan),
                juan);
    return book;
}

CipuBook readCipuJuan(const QString &text, int juan)
{
    CipuBook book;
    addJuan(book, printedLinesOf(text, juan), juan);
    return book;
}

} // namespace cipubook
