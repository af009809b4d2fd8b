// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/check.h"

#include "prosody/couplet/duilian.h"
#include "prosody/couplet/regulated.h"
#include "prosody/shi/quatrains.h"
#include "prosody/shi/shape.h"

#include <algorithm>

namespace prosody {

namespace {

// The faults of a check as regulated verse: a poem rhyming 仄 is 古体, no fault in 自动, but one
// against a 词牌 whose shape it has.
int asRegulated(const PoemCheck &shi)
{
    const bool oblique = std::any_of(shi.findings.begin(), shi.findings.end(), [](const Finding &f) {
        return f.kind == FindingKind::ObliqueRhyme && !f.isFault();
    });
    return shi.faultCount() + (oblique ? 1 : 0);
}

// The poems that make a form likely: a 体 of the book stands for its 词牌, as written as the 词牌 is
// (顾夐's 玉楼春 with the hundreds of 玉楼春); a form of the corpus alone, its own poems.
int poemsBehind(const CiForm &form)
{
    return form.source == CiSource::Corpus ? form.poems : std::max(form.poems, form.tunePoems);
}

// A regulated shape rhyming 仄 taken as the 词牌 whose form it is line for line, when the poem keeps
// that form's 平仄 (at most two faults) and poets wrote that 词牌 (玉楼春, 生查子): a quatrain rhyming 仄
// is a 绝句 of the old style (孟浩然's 春晓), never the 拜新月 of the book's one example.
std::optional<PoemCheck> ciOfOwnShape(const CiChecker &ci, const Poem &poem, Book book)
{
    if (poem.lines.size() <= 4)
        return std::nullopt;
    const std::optional<CiAlignment> a = ci.bestForm(poem, nullptr, book);
    if (!a || a->structureCost() > 0 || a->looseness > 0 || !a->missing.isEmpty() ||
        poemsBehind(*a->form) < 2)
        return std::nullopt;
    // A 体 of the book no poem of the corpus wrote stands on one example: only a poem that keeps it
    // whole (杜甫's 望岳 keeps 刘侍读's 生查子 but for one place, and is a 古诗).
    PoemCheck check = ci.check(poem, ci.cipu().find(a->form->tune), book);
    if (check.faultCount() > (a->form->poems < 2 ? 0 : 2))
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
    if (poemsBehind(*a.form) < 2 || (a.form->fromExamples() && shiFaults <= 1))
        return false;
    // The rest of a 词 begun counts as one fault of structure, as a slip of the 诗 does.
    const int ciFaults = a.structureCost();
    if (ciFaults != shiFaults)
        return ciFaults < shiFaults;
    if (!a.missing.isEmpty())
        return false;
    return asCi.faultCount() < asRegulated(shiCheck());
}

} // namespace

// A first 句 the reader took for a title only for its lack of stops, taken back as verse where the
// lines then fit a 词牌 better (a 词 pasted with its final stops dropped: 近清明 over 湘春夜月).
Poem withDoubtfulTitle(const CiChecker &ci, const Poem &poem, Book book)
{
    if (poem.doubtfulTitle.isEmpty())
        return poem;
    Poem asVerse = poem;
    asVerse.title.clear();
    asVerse.doubtfulTitle.clear();
    asVerse.lines = poem.doubtfulTitle + poem.lines;
    const std::optional<Recognition> verse = ci.recogniseShape(asVerse, book);
    if (!verse)
        return poem;
    const std::optional<Recognition> titled = ci.recogniseShape(poem, book);
    return !titled || verse->best.structureCost() < titled->best.structureCost() ? asVerse : poem;
}

bool hasShiShape(const Poem &poem)
{
    if (poem.lines.isEmpty() || !formOfLineCount(poem.lines.size()))
        return false;
    const qsizetype length = poem.lines.first().size();
    return (length == 5 || length == 7) && std::all_of(poem.lines.begin(), poem.lines.end(),
                                                       [&](const Line &l) { return l.size() == length; });
}

namespace {

// A regulated shape under a title naming a 词牌 (杜牧's 江南春) is that 词 only where it fits the 词牌
// at least as well as regulated verse.
PoemCheck titledShape(const Checker &checker, const CiChecker &ci, const Poem &poem, const CiTune *tune,
                      Book shiBook, Book ciBook)
{
    PoemCheck shi = checker.check(poem, shiBook);
    if (asRegulated(shi) == 0)
        return shi;
    const std::optional<CiAlignment> a = ci.bestForm(poem, tune, ciBook);
    if (a && a->structureCost() == 0 && a->missing.isEmpty()) {
        PoemCheck asCi = ci.check(poem, tune, ciBook);
        if (asCi.faultCount() <= asRegulated(shi))
            return asCi;
    }
    // A title of two names ("木兰花·玉楼春") may name the 词 whose shape this is by its other name.
    if (shi.has(FindingKind::ObliqueRhyme))
        if (std::optional<PoemCheck> c = ciOfOwnShape(ci, poem, ciBook))
            return *c;
    return shi;
}

std::optional<QList<PoemCheck>> checkForms(const std::shared_ptr<const RhymeBooks> &books,
                                           const QList<Poem> &blocks, const CheckRequest &request)
{
    const Book shiBook = request.book.value_or(Book::Pingshui), ciBook = request.book.value_or(Book::Cilin);
    const Checker checker(books);
    if (const auto *shi = std::get_if<FormChoice>(&request.form)) {
        QList<PoemCheck> out;
        // A 律诗 or 排律 chosen is one poem whatever its rhymes; 绝句 chosen, each four lines are one.
        const bool quatrains = shi->form == Form::Jueju || shi->form == Form::Auto;
        for (const Poem &poem : blocks)
            for (const Poem &one :
                 quatrains ? quatrainsOf(*books, poem, shiBook, shi->form == Form::Jueju) : QList<Poem>{poem})
                out.append(checker.check(one, shiBook, *shi));
        return out;
    }
    const CiChecker ci(books);
    QList<PoemCheck> out;
    if (const auto *asked = std::get_if<CiFormRef>(&request.form)) {
        const CiTune *tune = books->cipu().find(asked->tune);
        if (!tune || asked->number < 0 || asked->number > tune->forms.size())
            return std::nullopt;
        for (const Poem &poem : ci.readCi(blocks, tune, ciBook))
            out.append(ci.check(poem, tune, ciBook, asked->number));
        return out;
    }
    // 自动: poem by poem. A 词 takes the untitled blocks after it (its 片) while they fit a form no
    // worse; one of unknown 词牌 is recognised on the blocks together, so its first 片 alone need not fit.
    const auto next = [&](qsizetype i) {
        return i < blocks.size() && blocks[i].title.isEmpty() && !hasShiShape(blocks[i]);
    };
    for (qsizetype i = 0; i < blocks.size();) {
        Poem poem = withDoubtfulTitle(ci, blocks[i++], ciBook);
        const CiTune *tune = poem.title.isEmpty() ? nullptr : ci.tuneNamed(poem, {poem.title}, ciBook);
        if (tune && hasShiShape(poem)) {
            out.append(titledShape(checker, ci, poem, tune, shiBook, ciBook));
            continue;
        }
        if (tune) {
            Poem whole = poem;
            qsizetype after = i;
            while (next(after) && ci.fitsBetter(joined(whole, blocks[after]), whole, tune, ciBook))
                whole = joined(whole, blocks[after++]);
            // A title naming a 词牌 whose form the lines do not keep (李白's 将进酒, a 乐府 under the
            // name a 词牌 took from it) leaves the lines to be read as if untitled.
            const std::optional<CiAlignment> a = ci.bestForm(whole, tune, ciBook);
            if (a && a->structureFaults <= std::max<qsizetype>(1, whole.lines.size() / 8)) {
                out.append(ci.check(whole, tune, ciBook));
                i = after;
                continue;
            }
        }
        if (const QList<Poem> run = quatrainsOf(*books, poem, shiBook, false); run.size() > 1) {
            for (const Poem &one : run)
                out.append(checker.check(one, shiBook));
            continue;
        }
        PoemCheck shi = checker.check(poem, shiBook);
        if (hasShiShape(poem)) {
            // A whole regulated shape is 诗, unless it rhymes 仄 where a 词牌 has its shape (玉楼春) and
            // no title of its own says it is a poem (张籍's 野老歌 is a 古诗).
            if (shi.has(FindingKind::ObliqueRhyme) && poem.title.isEmpty())
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

ReadingNames readingNames(const Cipu &cipu)
{
    return {[&cipu](const QString &name, bool exact) {
        const CiTune *tune = cipu.find(name);
        return tune && (!exact || tune->name == name);
    }};
}

std::optional<QList<PoemCheck>> checkAs(const std::shared_ptr<const RhymeBooks> &books, const QString &text,
                                        const CheckRequest &request, const PairSource *pairs)
{
    const QList<Poem> poems = readPoems(text, readingNames(books->cipu()));
    if (std::holds_alternative<DuilianForm>(request.form))
        return checkDuilian(*books, poems, request.book.value_or(Book::Pingshui), pairs);
    std::optional<QList<PoemCheck>> out = checkForms(books, poems, request);
    if (out && pairs)
        for (PoemCheck &check : *out)
            judgeCouplets(check, books->variants(), *pairs);
    return out;
}

} // namespace prosody
