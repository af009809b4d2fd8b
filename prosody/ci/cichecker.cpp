#include "prosody/ci/cichecker.h"

#include "prosody/ci/cijudge.h"

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
                                               const CiTune *tune) const
{
    QList<const CiForm *> forms;
    if (tune)
        for (const CiForm &f : tune->forms)
            forms.append(&f);
    else
        forms = cipu().forms();
    if (lengths.isEmpty())
        return std::nullopt;
    // Among all forms, only those the lines could fit well: every line of the poem stands for at most
    // two of the form and every line of the form for at most two of the poem, so a count of lines far
    // from the form's is that many faults at least (a long paste is no 词 of any form).
    if (!tune) {
        const int m = int(lengths.size());
        forms.removeIf([m](const CiForm *f) {
            const int n = int(f->lines.size());
            return 8 * std::max({0, n - 2 * m, m - 2 * n}) > std::max(8, n);
        });
    }
    // The cost of every form first; the alignment and its 平仄 only where no other form has fewer
    // faults of structure.
    QVarLengthArray<int, 512> faults;
    int fewest = std::numeric_limits<int>::max();
    for (const CiForm *form : forms) {
        faults.append(alignmentCost(lengths, *form).faults);
        fewest = std::min(fewest, faults.last());
    }
    const auto rank = [](const CiAlignment &a) {
        return std::tuple(a.structureFaults, a.toneFaults, a.looseness, -a.form->poems, a.form->number);
    };
    if (forms.isEmpty())
        return std::nullopt;
    std::optional<CiAlignment> best;
    for (qsizetype i = 0; i < forms.size(); ++i) {
        if (faults[i] != fewest)
            continue;
        CiAlignment a = align(lengths, *forms[i]);
        a.toneFaults = countToneFaults(a, classes);
        if (!best || rank(a) < rank(*best))
            best = std::move(a);
    }
    return best;
}

std::optional<CiAlignment> CiChecker::bestForm(const Poem &poem, const CiTune *tune, Book book) const
{
    if (poem.lines.isEmpty())
        return std::nullopt;
    return bestForm(lineLengths(poem), classesOf(*m_books, poem, book), tune);
}

PoemCheck CiChecker::check(const Poem &poem, const CiTune *tune, Book book) const
{
    const Classes classes = classesOf(*m_books, poem, book);
    const std::optional<CiAlignment> a = bestForm(lineLengths(poem), classes, tune);
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
    const std::optional<CiAlignment> a = bestForm(poem, nullptr, book);
    if (!a || !fitsWell(*a))
        return nullptr;
    return cipu().find(a->form->tune);
}

AlignmentCost CiChecker::distance(const Poem &poem, const CiTune *tune, Book book) const
{
    const std::optional<CiAlignment> a = bestForm(poem, tune, book);
    return a ? AlignmentCost{a->structureFaults, a->looseness} : AlignmentCost{};
}

QList<Poem> CiChecker::readCi(const QString &text, const CiTune *tune, Book book) const
{
    const QList<Poem> blocks = readPoems(text);
    QList<Poem> out;
    for (qsizetype i = 0; i < blocks.size();) {
        Poem current = blocks[i++];
        while (i < blocks.size() && blocks[i].title.isEmpty() &&
               distance(joined(current, blocks[i]), tune, book) < distance(current, tune, book))
            current = joined(current, blocks[i++]);
        out.append(current);
    }
    return out;
}

} // namespace prosody
