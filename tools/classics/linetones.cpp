// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/linetones.h"

#include "classics/lines/clauses.h"
#include "classics/lines/tonecodes.h"
#include "db/linetonesschema.h"
#include "prosody/core/books.h"
#include "prosody/reading/classes.h"
#include "prosody/text/reader.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace builddb {

namespace lt = linetonesschema;
namespace tc = classics::tonecodes;

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
    QByteArray linesPerRow, lengths, tokens, classical, modern, lastCharTable, lastChars;
    std::vector<char32_t> last; // numbered once all are known
};

void addEntry(const QString &entry, const prosody::RhymeBooks &books, Arrays &out, LineToneTally &tally)
{
    const QList<classics::Clause> clauses = classics::clausesOf(entry);
    quint32 held = 0;
    qsizetype end = 0; // of the verse line before in the row, in tokens
    for (const classics::Clause &clause : clauses) {
        if (clause.chars.size() > lt::maxLength) {
            ++tally.tooLong;
            continue;
        }
        prosody::Line line;
        line.chars = clause.chars;
        const int length = int(clause.chars.size());
        put<quint8>(out.lengths, quint8(length));
        Q_ASSERT(clause.token >= end);
        tc::appendVarint(out.tokens, quint32(clause.token - end));
        end = clause.token + length;
        tc::appendTones(out.classical, packed(prosody::classesOf(books, line, prosody::Book::Pingshui)),
                        length);
        tc::appendTones(out.modern, packed(prosody::classesOf(books, line, prosody::Book::Xinyun)), length);
        out.last.push_back(clause.chars.last());
        ++held;
        ++tally.lines;
    }
    tc::appendVarint(out.linesPerRow, held);
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

// The last characters as places in a table, the most frequent first, so that most take one byte.
void numberLastChars(Arrays &arrays)
{
    QHash<char32_t, qint64> seen;
    for (const char32_t c : arrays.last)
        ++seen[c];
    std::vector<std::pair<qint64, char32_t>> order;
    for (auto it = seen.constBegin(); it != seen.constEnd(); ++it)
        order.emplace_back(-it.value(), it.key());
    std::sort(order.begin(), order.end());
    QHash<char32_t, quint32> place;
    for (const auto &[minusCount, c] : order) {
        place.insert(c, quint32(place.size()));
        put<quint32>(arrays.lastCharTable, quint32(c));
    }
    for (const char32_t c : arrays.last)
        tc::appendVarint(arrays.lastChars, place.value(c));
}

} // namespace

LineToneTally writeLineTones(ReferenceWriter &writer, const QList<ClassicPoem> &poems,
                             const prosody::RhymeBooks &books)
{
    LineToneTally tally;
    Arrays arrays;
    for (const ClassicPoem &poem : poems)
        for (const QString &entry : poem.lines)
            addEntry(entry, books, arrays, tally);
    numberLastChars(arrays);
    writer.exec(lt::createTable.toUtf8());
    writer.exec(lt::createAuthorIndex.toUtf8());
    writer.insert(lt::table, [&](Statement &stmt) {
        for (const auto &[name, array] :
             {std::pair{lt::linesPerRow, &arrays.linesPerRow}, std::pair{lt::lengths, &arrays.lengths},
              std::pair{lt::tokens, &arrays.tokens}, std::pair{lt::classical, &arrays.classical},
              std::pair{lt::modern, &arrays.modern}, std::pair{lt::lastCharTable, &arrays.lastCharTable},
              std::pair{lt::lastChars, &arrays.lastChars}}) {
            insertRow(stmt, name, *array);
            tally.bytes += array->size();
        }
    });
    return tally;
}

} // namespace builddb
