#include "tools/rhymebooks/cipumerge/formmatch.h"

#include "prosody/ci/align.h"
#include "prosody/ci/evidence.h"

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
            out.append({});
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
    if (!a.missing.isEmpty() || std::any_of(a.wrongLength.begin(), a.wrongLength.end(), [](bool w) { return w; }))
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

DerivedForm laidOver(const DerivedForm &book, const DerivedForm &corpus)
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

} // namespace cipumerge
