// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/ci/cichecker.h"

#include "prosody/ci/cijudge.h"
#include "prosody/ci/recognise.h"

#include <QVarLengthArray>

namespace prosody {

namespace {

QList<int> lineLengths(const Poem &poem)
{
    QList<int> out;
    for (const Line &l : poem.lines)
        out << int(l.size());
    return out;
}

} // namespace

CiChecker::CiChecker(std::shared_ptr<const RhymeBooks> books)
    : m_books(std::move(books))
{
}

std::optional<CiAlignment> CiChecker::bestForm(const QList<int> &lengths, const Classes &classes,
                                               const CiTune *tune, int form) const
{
    QList<const CiForm *> forms;
    if (tune)
        for (const CiForm &f : tune->forms)
            if (form <= 0 || f.number == form || form > tune->forms.size())
                forms.append(&f);
    QList<CiAlignment> ranked =
        tune ? rankForms(lengths, classes, forms, Ranking::Faults) : rankEveryForm(cipu(), lengths, classes);
    if (ranked.isEmpty())
        return std::nullopt;
    return ranked.takeFirst();
}

std::optional<CiAlignment> CiChecker::bestForm(const Poem &poem, const CiTune *tune, Book book,
                                               int form) const
{
    if (poem.lines.isEmpty())
        return std::nullopt;
    return bestForm(lineLengths(poem), classesOf(*m_books, poem, book), tune, form);
}

PoemCheck CiChecker::check(const Poem &poem, const CiTune *tune, Book book, int form) const
{
    const Classes classes = classesOf(*m_books, poem, book);
    const std::optional<CiAlignment> a = bestForm(lineLengths(poem), classes, tune, form);
    if (!a) {
        PoemCheck out;
        out.poem = poem;
        out.book = book;
        out.form = tune ? tune->name : QString();
        return out;
    }
    return judgeCi(*m_books, poem, classes, *a, book);
}

const CiTune *CiChecker::recognise(const Poem &poem, Book book) const
{
    if (!poem.title.isEmpty())
        if (const CiTune *tune = cipu().find(poem.title))
            return tune;
    const std::optional<Recognition> r = recogniseShape(poem, book);
    return r ? cipu().find(r->best.form->tune) : nullptr;
}

std::optional<Recognition> CiChecker::recogniseShape(const Poem &poem, Book book) const
{
    if (poem.lines.isEmpty())
        return std::nullopt;
    return prosody::recogniseShape(cipu(), lineLengths(poem), classesOf(*m_books, poem, book));
}

PoemCheck CiChecker::checkRecognised(const Poem &poem, const Recognition &r, Book book) const
{
    const CiTune *tune = cipu().find(r.best.form->tune);
    PoemCheck out = check(poem, tune, book, r.complete() ? 0 : r.best.form->number);
    for (const CiForm *f : r.alternatives)
        out.ciAlternatives << CiFormRef{f->tune, f->number};
    return out;
}

std::optional<AlignmentCost> CiChecker::distance(const Poem &poem, const CiTune *tune, Book book) const
{
    const std::optional<CiAlignment> a = bestForm(poem, tune, book);
    if (!a)
        return std::nullopt;
    return AlignmentCost{a->structureFaults, a->unwritten(), a->looseness};
}

bool CiChecker::fitsBetter(const Poem &a, const Poem &b, const CiTune *tune, Book book) const
{
    const std::optional<AlignmentCost> da = distance(a, tune, book);
    if (!da)
        return false;
    const std::optional<AlignmentCost> db = distance(b, tune, book);
    return !db || *da < *db;
}

const CiTune *CiChecker::tuneNamed(const Poem &poem, const QStringList &names, Book book) const
{
    QList<const CiTune *> tunes;
    for (const QString &name : names)
        tunes += cipu().findAll(name);
    if (tunes.size() < 2)
        return tunes.value(0);
    const CiTune *best = tunes.first();
    std::optional<AlignmentCost> bestCost;
    for (const CiTune *tune : tunes)
        if (const std::optional<AlignmentCost> c = distance(poem, tune, book);
            c && (!bestCost || *c < *bestCost))
            best = tune, bestCost = c;
    return best;
}

QList<Poem> CiChecker::readCi(const QList<Poem> &blocks, const CiTune *tune, Book book) const
{
    QList<Poem> out;
    for (qsizetype i = 0; i < blocks.size();) {
        Poem current = blocks[i++];
        while (i < blocks.size() && blocks[i].title.isEmpty() &&
               fitsBetter(joined(current, blocks[i]), current, tune, book))
            current = joined(current, blocks[i++]);
        out.append(current);
    }
    return out;
}

} // namespace prosody
