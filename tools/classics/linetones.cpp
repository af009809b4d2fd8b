// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/linetones.h"

#include "classics/lines/clauses.h"
#include "db/linetonesschema.h"
#include "prosody/core/books.h"
#include "prosody/reading/classes.h"
#include "prosody/text/reader.h"

#include <QtEndian>

namespace builddb {

namespace lt = linetonesschema;

namespace {

// Appends a value to an array, little-endian whatever the machine.
template <typename T> void put(QByteArray &array, T value)
{
    const T le = qToLittleEndian(value);
    array.append(reinterpret_cast<const char *>(&le), sizeof le);
}

// Two bits a character: bit 0 may be 平, bit 1 may be 仄.
quint32 packed(const QList<prosody::ToneClass> &classes)
{
    quint32 code = 0;
    for (qsizetype i = 0; i < classes.size(); ++i) {
        const prosody::ToneClass c = classes.at(i);
        const quint32 bits = (prosody::maybe(c, prosody::ToneClass::Ping) ? 1u : 0u) |
                             (prosody::maybe(c, prosody::ToneClass::Ze) ? 2u : 0u);
        code |= bits << (2 * i);
    }
    return code;
}

struct Arrays {
    QByteArray lineStarts, lengths, tokens, classical, modern, lastChars;
};

void addEntry(const QString &entry, const prosody::RhymeBooks &books, Arrays &out, LineToneTally &tally)
{
    const QList<classics::Clause> clauses = classics::clausesOf(entry);
    for (const classics::Clause &clause : clauses) {
        if (clause.chars.size() > lt::maxLength) {
            ++tally.tooLong;
            continue;
        }
        prosody::Line line;
        line.chars = clause.chars;
        put<quint8>(out.lengths, quint8(clause.chars.size()));
        put<quint16>(out.tokens, quint16(clause.token));
        put<quint32>(out.classical, packed(prosody::classesOf(books, line, prosody::Book::Pingshui)));
        put<quint32>(out.modern, packed(prosody::classesOf(books, line, prosody::Book::Xinyun)));
        put<quint32>(out.lastChars, quint32(clause.chars.last()));
        ++tally.lines;
    }
    // Verse lines the reader of the line count: every run of Chinese characters, clean or not.
    qsizetype runs = 0;
    bool inRun = false;
    for (const char32_t c : entry.toUcs4()) {
        const bool verse = prosody::isVerseChar(c);
        runs += verse && !inRun;
        inRun = verse;
    }
    tally.unclear += runs - clauses.size();
}

} // namespace

LineToneTally writeLineTones(ReferenceWriter &writer, const QList<ClassicPoem> &poems,
                             const prosody::RhymeBooks &books)
{
    LineToneTally tally;
    Arrays arrays;
    put<quint32>(arrays.lineStarts, 0);
    for (const ClassicPoem &poem : poems)
        for (const QString &entry : poem.lines) {
            addEntry(entry, books, arrays, tally);
            put<quint32>(arrays.lineStarts, quint32(tally.lines));
        }
    writer.exec(lt::createTable.toUtf8());
    writer.exec(lt::createAuthorIndex.toUtf8());
    writer.insert(lt::table, [&](Statement &stmt) {
        for (const auto &[name, array] :
             {std::pair{lt::lineStarts, &arrays.lineStarts}, std::pair{lt::lengths, &arrays.lengths},
              std::pair{lt::tokens, &arrays.tokens}, std::pair{lt::classical, &arrays.classical},
              std::pair{lt::modern, &arrays.modern}, std::pair{lt::lastChars, &arrays.lastChars}}) {
            insertRow(stmt, name, *array);
            tally.bytes += array->size();
        }
    });
    return tally;
}

} // namespace builddb
