#include "prosody/check.h"

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

std::pair<const CiTune *, int> tuneAndForm(const Cipu &cipu, const QString &form)
{
    const qsizetype colon = std::max(form.lastIndexOf(u':'), form.lastIndexOf(u'：'));
    bool number = false;
    const int n = colon > 0 ? form.mid(colon + 1).trimmed().toInt(&number) : 0;
    if (number && n > 0)
        if (const CiTune *tune = cipu.find(form.left(colon)))
            return {tune, n};
    return {cipu.find(form), 0};
}

std::optional<QList<PoemCheck>> checkAs(const std::shared_ptr<const RhymeBooks> &books, const QString &text,
                                        const QString &form, std::optional<Book> book)
{
    const Book shiBook = book.value_or(Book::Pingshui), ciBook = book.value_or(Book::Cilin);
    const std::optional<FormChoice> shi = formFromName(form);
    if (shi && shi->form != Form::Auto)
        return Checker(books).checkText(text, shiBook, *shi);
    const CiChecker ci(books);
    QList<PoemCheck> out;
    if (!shi) {
        const auto [tune, number] = tuneAndForm(books->cipu(), form);
        if (!tune)
            return std::nullopt;
        for (const Poem &poem : ci.readCi(text, tune, ciBook))
            out.append(ci.check(poem, tune, ciBook, number));
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
            std::optional<Recognition> best = ci.recogniseShape(poem, ciBook);
            while (next(i)) {
                const Poem both = joined(poem, blocks[i]);
                std::optional<Recognition> r = ci.recogniseShape(both, ciBook);
                if (!r || (best && r->best.structureFaults > best->best.structureFaults))
                    break;
                poem = both, best = std::move(r), ++i;
            }
            if (best) {
                out.append(ci.checkRecognised(poem, *best, ciBook));
                continue;
            }
        }
        out.append(tune ? ci.check(poem, tune, ciBook) : checker.check(poem, shiBook));
    }
    return out;
}

} // namespace prosody
