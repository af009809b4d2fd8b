// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipumerge/formmatch.h"

#include "prosody/ci/align.h"
#include "prosody/ci/evidence.h"

#include <QHash>
#include <QSet>

#include <cstdlib>

namespace cipumerge {

using namespace builddb;

namespace {

prosody::CiForm shapeOf(const DerivedForm &form)
{
    prosody::CiForm out;
    for (const DerivedLine &l : form.lines) {
        prosody::CiLine line;
        line.positions.resize(l.length);
        line.rhymeRun = l.rhymeRun;
        out.lines.append(line);
    }
    return out;
}

int characters(const DerivedForm &form)
{
    int n = 0;
    for (const DerivedLine &l : form.lines)
        n += l.length;
    return n;
}

// Where each corpus line ends in the book's: a book line and the characters of it before the end (its
// length where the corpus line ends with the book's).
struct End {
    int line = -1;
    int at = 0;
};
QList<End> endsOf(const prosody::CiAlignment &a, const prosody::CiForm &shape)
{
    QList<End> out;
    for (qsizetype i = 0; i < a.lines.size(); ++i) {
        const auto &pieces = a.lines[i];
        if (pieces.isEmpty()) {
            out.append(End{});
            continue;
        }
        const auto &p = pieces.last();
        const int length = shape.lines[p.formLine].length();
        const bool whole = a.wrongLength[i] || a.missingChar[i] >= 0 || a.extraChar[i] >= 0;
        out.append({p.formLine, whole ? length : p.formOffset + p.length});
    }
    return out;
}

bool atLineEnd(const End &e, const prosody::CiForm &shape)
{
    return e.line >= 0 && e.at == shape.lines[e.line].length();
}

} // namespace

std::optional<FormFit> fitOf(const DerivedForm &corpus, const DerivedForm &book)
{
    const prosody::CiForm shape = shapeOf(book);
    const QList<int> lengths = corpus.lengths();
    const prosody::AlignmentCost cost = prosody::alignmentCost(lengths, shape, 1);
    if (cost.unwritten > 0 || cost.faults > 1 || std::abs(characters(corpus) - characters(book)) > 1)
        return std::nullopt;
    if (cost.faults > 0 && corpus.poems >= prosody::evidence::kRulePoems)
        return std::nullopt;
    const prosody::CiAlignment a = prosody::align(lengths, shape);
    if (!a.missing.isEmpty() ||
        std::any_of(a.wrongLength.begin(), a.wrongLength.end(), [](bool w) { return w; }))
        return std::nullopt;
    FormFit fit{cost.faults, 0, 0};
    const QList<End> ends = endsOf(a, shape);
    int bookRhymes = 0;
    for (const DerivedLine &l : book.lines)
        bookRhymes += l.rhymeRun != 0;
    QSet<int> ended;
    for (qsizetype i = 0; i < ends.size(); ++i) {
        if (atLineEnd(ends[i], shape)) {
            ended.insert(ends[i].line);
            fit.rhymes += (corpus.lines[i].rhymeRun != 0) != (book.lines[ends[i].line].rhymeRun != 0);
        } else if (ends[i].line >= 0 && !book.lines[ends[i].line].dou.contains(ends[i].at)) {
            ++fit.breaks; // a break where the book has neither 句 nor 读
        }
    }
    fit.breaks += int(book.lines.size() - ended.size()); // 句 the corpus runs on past
    if (fit.rhymes > std::max(2, bookRhymes / 3))
        return std::nullopt;
    return fit;
}

namespace {

// The corpus form a character off the book's (a slip of its few texts): the book's lines, with the
// corpus's counts placed where its characters fall.
DerivedForm countsOnBook(const DerivedForm &book, const DerivedForm &corpus)
{
    DerivedForm out = book;
    out.source = FormSource::Both;
    out.poems = corpus.poems;
    out.authors = corpus.authors;
    out.example = corpus.example;
    const prosody::CiForm shape = shapeOf(book);
    const prosody::CiAlignment a = prosody::align(corpus.lengths(), shape);
    for (qsizetype i = 0; i < a.lines.size(); ++i) {
        for (const prosody::CiAlignment::Piece &p : a.lines[i]) {
            for (int k = 0; k < p.length; ++k) {
                const DerivedPosition &from = corpus.lines[i].positions[p.lineOffset + k];
                DerivedPosition &to = out.lines[p.formLine].positions[p.formOffset + k];
                to.ping = from.ping;
                to.ze = from.ze;
                to.both = from.both;
                to.unknown = from.unknown;
                to.tone = from.tone;
            }
        }
    }
    const QList<End> ends = endsOf(a, shape);
    const bool strong = corpus.poems >= prosody::evidence::kRulePoems;
    if (strong) {
        for (DerivedLine &l : out.lines) {
            l.rhymeRun = 0;
            l.rhymeTone = QChar();
        }
        out.scheme = corpus.scheme;
    }
    for (qsizetype i = 0; i < ends.size(); ++i) {
        if (!atLineEnd(ends[i], shape))
            continue;
        DerivedLine &to = out.lines[ends[i].line];
        const DerivedLine &from = corpus.lines[i];
        to.rhymed = from.rhymed;
        if (strong) {
            to.rhymeRun = from.rhymeRun;
            to.rhymeTone = from.rhymeTone;
        }
    }
    return out;
}

} // namespace

DerivedForm laidOver(const DerivedForm &book, const DerivedForm &corpus)
{
    // The corpus's lines stay as its poems break them, so that a poem is read as before; the book's
    // name, note, marks and classes come onto them place for place.
    DerivedForm out = corpus;
    out.source = FormSource::Both;
    out.bookNumber = book.bookNumber;
    out.author = book.author;
    out.juan = book.juan;
    out.note = book.note;
    out.bookText = book.bookText;
    out.compared = book.compared;
    const prosody::CiForm shape = shapeOf(book);
    const prosody::CiAlignment a = prosody::align(corpus.lengths(), shape);
    const auto off = [](const QList<int> &chars) {
        return std::any_of(chars.begin(), chars.end(), [](int c) { return c >= 0; });
    };
    if (off(a.missingChar) || off(a.extraChar))
        return countsOnBook(book, corpus);
    QHash<int, int> startOf; // a book line → the corpus line that begins with it
    for (qsizetype i = 0; i < a.lines.size(); ++i) {
        DerivedLine &to = out.lines[i];
        for (const prosody::CiAlignment::Piece &p : a.lines[i]) {
            const DerivedLine &from = book.lines[p.formLine];
            if (p.formOffset == 0 && p.lineOffset == 0)
                startOf.insert(p.formLine, int(i));
            for (int k = 0; k < p.length && p.lineOffset + k < to.length; ++k)
                to.positions[p.lineOffset + k].book = from.positions[p.formOffset + k].book;
            for (int d : from.dou)
                if (d > p.formOffset && d < p.formOffset + p.length)
                    to.dou.append(p.lineOffset + d - p.formOffset);
        }
        for (DerivedPosition &pos : to.positions)
            if (pos.book.isNull())
                pos.book = u'缺'; // a character the book's example lacks: no mark of the book here
    }
    const QList<End> ends = endsOf(a, shape);
    const bool strong = corpus.poems >= prosody::evidence::kRulePoems;
    if (!strong)
        out.scheme = book.scheme;
    for (qsizetype i = 0; i < ends.size(); ++i) {
        DerivedLine &to = out.lines[i];
        if (!atLineEnd(ends[i], shape)) {
            to.mark = QStringLiteral("读");
            if (!strong)
                to.rhymeRun = 0;
            continue;
        }
        const DerivedLine &from = book.lines[ends[i].line];
        to.mark = from.mark;
        // Where the corpus has too few poems to make rules, the book's rhymes stand.
        if (!strong) {
            to.rhymeRun = from.rhymeRun;
            to.rhymeTone = from.rhymeTone;
        }
    }
    out.stanzaStarts.clear();
    for (int s : book.stanzaStarts)
        if (startOf.contains(s))
            out.stanzaStarts.append(startOf.value(s));
    if (!out.stanzaStarts.isEmpty())
        out.stanzaBreak = out.stanzaStarts.first() + 1;
    return out;
}

} // namespace cipumerge
