#include "prosody/check.h"

#include "prosody/couplet/duilian.h"
#include "prosody/couplet/regulated.h"

#include <algorithm>

namespace prosody {

bool hasShiShape(const Poem &poem)
{
    if (poem.lines.isEmpty() || !formOfLineCount(poem.lines.size()))
        return false;
    const qsizetype length = poem.lines.first().size();
    return (length == 5 || length == 7) && std::all_of(poem.lines.begin(), poem.lines.end(),
                                                       [&](const Line &l) { return l.size() == length; });
}

namespace {

std::optional<QList<PoemCheck>> checkForms(const std::shared_ptr<const RhymeBooks> &books,
                                           const QString &text, const QString &form, std::optional<Book> book)
{
    const Book shiBook = book.value_or(Book::Pingshui), ciBook = book.value_or(Book::Cilin);
    const std::optional<FormChoice> shi = formFromName(form);
    if (shi && shi->form != Form::Auto)
        return Checker(books).checkText(text, shiBook, *shi);
    const CiChecker ci(books);
    QList<PoemCheck> out;
    if (!shi) {
        const CiTune *tune = books->cipu().find(form);
        if (!tune)
            return std::nullopt;
        for (const Poem &poem : ci.readCi(text, tune, ciBook))
            out.append(ci.check(poem, tune, ciBook));
        return out;
    }
    // 自动: poem by poem. A 词 takes the untitled blocks after it (its 片) while they fit a form no
    // worse; one of unknown 词牌 is recognised on the blocks together, so its first 片 alone need not fit.
    const Checker checker(books);
    const QList<Poem> blocks = readPoems(text);
    const auto next = [&](qsizetype i) {
        return i < blocks.size() && blocks[i].title.isEmpty() && !hasShiShape(blocks[i]);
    };
    for (qsizetype i = 0; i < blocks.size();) {
        Poem poem = blocks[i++];
        const CiTune *tune = poem.title.isEmpty() ? nullptr : books->cipu().find(poem.title);
        if (tune) {
            while (next(i) &&
                   ci.distance(joined(poem, blocks[i]), tune, ciBook) < ci.distance(poem, tune, ciBook))
                poem = joined(poem, blocks[i++]);
        } else if (!hasShiShape(poem)) {
            std::optional<CiAlignment> best = ci.bestForm(poem, nullptr, ciBook);
            while (next(i)) {
                const Poem both = joined(poem, blocks[i]);
                std::optional<CiAlignment> a = ci.bestForm(both, nullptr, ciBook);
                if (!a || !fitsWell(*a) ||
                    (best && fitsWell(*best) && a->structureFaults > best->structureFaults))
                    break;
                poem = both, best = std::move(a), ++i;
            }
            if (best && fitsWell(*best))
                tune = books->cipu().find(best->form->tune);
        }
        out.append(tune ? ci.check(poem, tune, ciBook) : checker.check(poem, shiBook));
    }
    return out;
}

} // namespace

std::optional<QList<PoemCheck>> checkAs(const std::shared_ptr<const RhymeBooks> &books, const QString &text,
                                        const QString &form, std::optional<Book> book,
                                        const PairSource *pairs)
{
    if (form.trimmed() == duilianForm)
        return checkDuilian(*books, text, book.value_or(Book::Pingshui), pairs);
    std::optional<QList<PoemCheck>> out = checkForms(books, text, form, book);
    if (out && pairs)
        for (PoemCheck &check : *out)
            judgeCouplets(check, *pairs);
    return out;
}

} // namespace prosody
