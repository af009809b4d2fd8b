#include "prosody/check.h"

#include "prosody/couplet/duilian.h"
#include "prosody/couplet/regulated.h"
#include "prosody/shi/shape.h"

#include <algorithm>

namespace prosody {

namespace {

// A regulated shape rhyming 仄 taken as the 词牌 whose form it is line for line, when the poem keeps
// that form's 平仄 (at most two faults).
std::optional<PoemCheck> ciOfOwnShape(const CiChecker &ci, const Poem &poem, Book book)
{
    const std::optional<CiAlignment> a = ci.bestForm(poem, nullptr, book);
    if (!a || a->structureCost() > 0 || a->looseness > 0 || !a->missing.isEmpty())
        return std::nullopt;
    PoemCheck check = ci.check(poem, ci.cipu().find(a->form->tune), book);
    if (check.faultCount() > 2)
        return std::nullopt;
    return check;
}

// Whether lines that fit a 词牌 well are that 词 rather than regulated verse: when their shape fits
// the 词牌 better (a line of another length or a break between blocks is a fault of the 诗's shape; a 诗
// being written is no fault), or as well with fewer faults. A 词 that stops short of its form is no
// better than a 诗 being written. A form of a few example poems is no better than a 诗 with one slip,
// nor a form of one poem (孤例) than any near-regulated shape: a quatrain with a line one character
// long is far likelier than the few poems of an obscure 词牌.
template <typename ShiCheck>
bool prefersCi(const Poem &poem, int joins, const CiAlignment &a, const PoemCheck &asCi, ShiCheck shiCheck)
{
    const std::optional<int> distance = shiDistance(poem);
    if (!distance)
        return true;
    const int shiFaults = *distance + joins;
    if (a.form->poems < 2 || (a.form->fromExamples() && shiFaults <= 1))
        return false;
    // The rest of a 词 begun counts as one fault of structure, as a slip of the 诗 does.
    const int ciFaults = a.structureCost();
    if (ciFaults != shiFaults)
        return ciFaults < shiFaults;
    if (!a.missing.isEmpty())
        return false;
    return asCi.faultCount() < shiCheck().faultCount();
}

} // namespace

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
                                           const QString &text, const CheckRequest &request)
{
    const Book shiBook = request.book.value_or(Book::Pingshui), ciBook = request.book.value_or(Book::Cilin);
    if (const auto *shi = std::get_if<FormChoice>(&request.form))
        return Checker(books).checkText(text, shiBook, *shi);
    const CiChecker ci(books);
    QList<PoemCheck> out;
    if (const auto *asked = std::get_if<CiFormRef>(&request.form)) {
        const CiTune *tune = books->cipu().find(asked->tune);
        if (!tune || asked->number < 0 || asked->number > tune->forms.size())
            return std::nullopt;
        for (const Poem &poem : ci.readCi(text, tune, ciBook))
            out.append(ci.check(poem, tune, ciBook, asked->number));
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
            out.append(ci.check(poem, tune, ciBook));
            continue;
        }
        PoemCheck shi = checker.check(poem, shiBook);
        if (hasShiShape(poem)) {
            // A whole regulated shape is 诗, unless it rhymes 仄 where a 词牌 has its shape (玉楼春).
            if (shi.has(FindingKind::ObliqueRhyme))
                if (std::optional<PoemCheck> c = ciOfOwnShape(ci, poem, ciBook))
                    shi = *c;
            out.append(shi);
            continue;
        }
        // The 词牌 from the shape (ci/recognise), the blocks after it joined while they fit no worse.
        Poem both = poem;
        qsizetype after = i;
        std::optional<Recognition> best = ci.recogniseShape(poem, ciBook);
        while (next(after)) {
            const Poem more = joined(both, blocks[after]);
            std::optional<Recognition> r = ci.recogniseShape(more, ciBook);
            if (!r || (best && r->best.structureFaults > best->best.structureFaults))
                break;
            both = more, best = std::move(r), ++after;
        }
        if (best) {
            const PoemCheck asCi = ci.checkRecognised(both, *best, ciBook);
            if (prefersCi(both, int(after - i), best->best, asCi,
                          [&] { return checker.check(both, shiBook); })) {
                out.append(asCi);
                i = after;
                continue;
            }
        }
        out.append(shi);
    }
    return out;
}

} // namespace

std::optional<QList<PoemCheck>> checkAs(const std::shared_ptr<const RhymeBooks> &books, const QString &text,
                                        const CheckRequest &request, const PairSource *pairs)
{
    if (std::holds_alternative<DuilianForm>(request.form))
        return checkDuilian(*books, text, request.book.value_or(Book::Pingshui), pairs);
    std::optional<QList<PoemCheck>> out = checkForms(books, text, request);
    if (out && pairs)
        for (PoemCheck &check : *out)
            judgeCouplets(check, *pairs);
    return out;
}

} // namespace prosody
