// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipumerge/cipumerge.h"

#include "tools/rhymebooks/cipumerge/bookform.h"
#include "tools/rhymebooks/cipumerge/formmatch.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace cipumerge {

using namespace builddb;

namespace {

// A 调 of the book in our characters, with its 体 as forms.
struct BookTuneView {
    const cipubook::BookTune *tune = nullptr;
    QString name;
    QStringList aliases;
    QList<DerivedForm> forms;
    QList<int> corpus;                      // the corpus 词牌 laid over it
    QList<const DerivedForm *> corpusForms; // their forms, with those moved in from another 调
    QList<std::pair<QString, int>> movedIn; // corpus names whose forms came in, with their poems
    int movedPoems = 0;                     // poems of forms moved in, less those moved out
};

// 一 … 四十, as the book numbers its 卷.
QString juanName(int j)
{
    static const QStringList digits = QStringLiteral("一 二 三 四 五 六 七 八 九").split(u' ');
    const QString tens = j >= 20 ? digits[j / 10 - 1] + u'十' : j >= 10 ? QStringLiteral("十") : QString();
    return tens + (j % 10 ? digits[j % 10 - 1] : QString());
}

QString plain(const BookCharacters &chars, const QString &printed)
{
    return chars(printed).remove(QChar(0x3000)).remove(u' ');
}

// Names the book gives a 调 in a note elsewhere, not in its heading: 鹧鸪天 under 卷四十一's 于中好
// ("鷓鴣天亦或名於中好"), the name 纳兰性德 wrote his 鹧鸪天 under. An alias several 词牌 bear leads to
// the most written of them, and a 词 whose lines that one's forms do not keep is read by its shape.
const std::pair<const char16_t *, const char16_t *> kNoteAliases[] = {{u"鹧鸪天", u"于中好"}};

QList<BookTuneView> viewsOf(const cipubook::CipuBook &book, const BookCharacters &chars,
                            const CiLookup &lookup, MergeReport &report)
{
    QList<BookTuneView> out;
    QSet<QString> names;
    for (const cipubook::BookTune &tune : book.tunes) {
        BookTuneView view;
        view.tune = &tune;
        view.name = plain(chars, tune.name);
        // Two 调 of one name once simplified: the later goes by its 卷 as well.
        if (names.contains(view.name)) {
            const QString renamed = QStringLiteral("%1（卷%2）").arg(view.name, juanName(tune.juan));
            report.renamed << view.name + QStringLiteral(" → ") + renamed;
            view.name = renamed;
        }
        names.insert(view.name);
        for (const cipubook::Alias &a : tune.aliases) {
            const QString alias = plain(chars, a.name);
            if (!alias.isEmpty() && alias != view.name && !view.aliases.contains(alias))
                view.aliases << alias;
        }
        for (const auto &[name, alias] : kNoteAliases)
            if (view.name == QString::fromUtf16(name) && !view.aliases.contains(QString::fromUtf16(alias)))
                view.aliases << QString::fromUtf16(alias);
        for (const cipubook::BookForm &form : tune.forms)
            view.forms.append(formOfBook(form, tune.juan, chars, lookup));
        out.append(view);
    }
    return out;
}

// A 调's name without the 卷 that tells it from another of its name.
QString plainName(const QString &name)
{
    const qsizetype at = name.indexOf(QStringLiteral("（卷"));
    return at < 0 ? name : name.left(at);
}

// The best fit of any of the book's forms to a corpus form; nullopt where none fits.
std::optional<FormFit> bestFit(const DerivedForm &corpus, const QList<DerivedForm> &book)
{
    std::optional<FormFit> best;
    for (const DerivedForm &f : book)
        if (const std::optional<FormFit> fit = fitOf(corpus, f); fit && (!best || fit->key() < best->key()))
            best = fit;
    return best;
}

// Whether the corpus may write the book's name so: one character another (六么令 for 六幺令, 红林擒近
// for 红林檎近) or one lost (the corpus drops the characters it lacks: 人娇 for 𣨼人娇, 大 for 大酺).
bool nearName(const QString &corpusName, const QString &bookName)
{
    const QList<uint> c = corpusName.toUcs4(), b = plainName(bookName).toUcs4();
    if (c.size() == b.size()) {
        int differ = 0;
        for (qsizetype i = 0; i < c.size(); ++i)
            differ += c[i] != b[i];
        return c.size() >= 3 && differ == 1;
    }
    if (c.size() + 1 != b.size() || c.isEmpty())
        return false;
    qsizetype i = 0;
    while (i < c.size() && c[i] == b[i])
        ++i;
    return std::equal(c.begin() + i, c.end(), b.begin() + i + 1);
}

// A corpus 词牌 still alone to a 调 whose name is near its own and one of whose 体 its main form fits,
// the closest fit first: the book's and the corpus's writing of one name. A name one character off
// joins only a 调 no corpus 词牌 has joined (the 调 of its own writing would have taken it).
void joinNearNames(const DerivedCipu &corpus, const QList<BookTuneView> &views, QList<int> &bookOf,
                   MergeReport &report)
{
    QSet<int> taken(bookOf.begin(), bookOf.end());
    for (qsizetype t = 0; t < corpus.tunes.size(); ++t) {
        const DerivedTune &tune = corpus.tunes[t];
        if (bookOf[t] >= 0 || tune.forms.isEmpty())
            continue;
        std::optional<FormFit> best;
        for (qsizetype b = 0; b < views.size(); ++b) {
            // A name cut short is the corpus's own loss: it joins the 调 even beside the whole name.
            const bool cut = tune.name.size() < plainName(views[b].name).size();
            if ((taken.contains(int(b)) && !cut) || !nearName(tune.name, views[b].name))
                continue;
            const std::optional<FormFit> fit = bestFit(tune.forms.first(), views[b].forms);
            if (fit && (!best || fit->key() < best->key())) {
                best = fit;
                bookOf[t] = int(b);
            }
        }
        if (bookOf[t] >= 0) {
            taken.insert(bookOf[t]);
            report.byAlias << tune.name + QStringLiteral(" → ") + views[bookOf[t]].name;
        }
    }
}

// Each corpus 词牌 to the 调 of its name; one of another name to the 调 that gives it as another name
// (又名), or whose name the corpus writes it under, where its main form fits one of the 调's.
QList<int> matchTunes(const DerivedCipu &corpus, QList<BookTuneView> &views, MergeReport &report)
{
    QSet<QString> corpusNames;
    for (const DerivedTune &t : corpus.tunes)
        corpusNames.insert(t.name);
    // A name the book gives two 调 (三台) goes to the one whose forms fit the corpus's main form.
    QHash<QString, QList<int>> sameName;
    for (qsizetype b = 0; b < views.size(); ++b)
        sameName[plainName(views[b].name)].append(int(b));
    QList<int> bookOf(corpus.tunes.size(), -1);
    for (qsizetype t = 0; t < corpus.tunes.size(); ++t) {
        const QList<int> named = sameName.value(corpus.tunes[t].name);
        bookOf[t] = named.isEmpty() ? -1 : named.first();
        if (named.size() < 2 || corpus.tunes[t].forms.isEmpty())
            continue;
        std::optional<FormFit> best;
        for (int b : named) {
            const std::optional<FormFit> fit = bestFit(corpus.tunes[t].forms.first(), views[b].forms);
            if (fit && (!best || fit->key() < best->key())) {
                best = fit;
                bookOf[t] = b;
            }
        }
    }
    for (qsizetype t = 0; t < corpus.tunes.size(); ++t) {
        const DerivedTune &tune = corpus.tunes[t];
        if (bookOf[t] >= 0 || tune.forms.isEmpty())
            continue;
        QList<int> candidates;
        for (qsizetype b = 0; b < views.size(); ++b) {
            const bool alias = views[b].aliases.contains(tune.name);
            const bool written = std::any_of(tune.names.begin(), tune.names.end(), [&](const DerivedName &n) {
                return n.name == views[b].name && !corpusNames.contains(n.name);
            });
            if (alias || written)
                candidates.append(int(b));
        }
        std::optional<FormFit> best;
        for (int b : candidates) {
            const std::optional<FormFit> fit = bestFit(tune.forms.first(), views[b].forms);
            if (fit && (!best || fit->key() < best->key())) {
                best = fit;
                bookOf[t] = b;
            }
        }
        if (bookOf[t] >= 0)
            report.byAlias << tune.name + QStringLiteral(" → ") + views[bookOf[t]].name;
    }
    joinNearNames(corpus, views, bookOf, report);
    for (qsizetype t = 0; t < corpus.tunes.size(); ++t)
        if (bookOf[t] >= 0)
            views[bookOf[t]].corpus.append(int(t));
    return bookOf;
}

// Whether two names are one 调's 令 and 慢 or plain name (浪淘沙 and 浪淘沙令, 长相思 and 长相思慢).
bool siblingNames(const QString &a, const QString &b)
{
    const auto stem = [](const QString &n) {
        return n.size() > 2 && (n.endsWith(u'令') || n.endsWith(u'慢')) ? n.chopped(1) : n;
    };
    return a != b && stem(a) == stem(b);
}

// A corpus form that fits no 体 of the 调 its 词牌 joined goes to the 调 that gives the 词牌's name as
// another name, or is its 令 or 慢, where it fits a 体: the corpus writes 相见欢 as 乌夜啼, 喜迁莺's 小令
// as 鹤冲天, 浪淘沙令 as 浪淘沙.
void moveStrayForms(const DerivedCipu &corpus, QList<BookTuneView> &views, MergeReport &report)
{
    for (BookTuneView &view : views)
        for (int t : view.corpus)
            for (const DerivedForm &f : corpus.tunes[t].forms)
                view.corpusForms.append(&f);
    for (qsizetype v = 0; v < views.size(); ++v) {
        for (int t : views[v].corpus) {
            const QString &name = corpus.tunes[t].name;
            for (const DerivedForm &f : corpus.tunes[t].forms) {
                if (bestFit(f, views[v].forms))
                    continue;
                std::optional<FormFit> best;
                qsizetype to = -1;
                for (qsizetype b = 0; b < views.size(); ++b) {
                    if (b == v ||
                        !(views[b].aliases.contains(name) || siblingNames(plainName(views[b].name), name)))
                        continue;
                    const std::optional<FormFit> fit = bestFit(f, views[b].forms);
                    if (fit && (!best || fit->key() < best->key()))
                        best = fit, to = b;
                }
                if (to < 0)
                    continue;
                views[v].corpusForms.removeOne(&f);
                views[v].movedPoems -= f.poems;
                views[to].corpusForms.append(&f);
                views[to].movedPoems += f.poems;
                views[to].movedIn.append({name, f.poems});
                report.moved << QStringLiteral("%1 · %2 → %3").arg(name).arg(f.number).arg(views[to].name);
            }
        }
    }
}

// The forms of a 调: the book's in its order, each with the corpus form that fits it best laid over it
// (one corpus form to one 体, the closest fits first, then the form of more poems), then the corpus
// forms that fit none.
QList<DerivedForm> mergeForms(const BookTuneView &view, MergeReport &report)
{
    const QList<const DerivedForm *> &corpusForms = view.corpusForms;
    struct Pair {
        FormFit fit;
        int corpus;
        int book;
    };
    QList<Pair> pairs;
    for (qsizetype c = 0; c < corpusForms.size(); ++c)
        for (qsizetype b = 0; b < view.forms.size(); ++b)
            if (const std::optional<FormFit> fit = fitOf(*corpusForms[c], view.forms[b]))
                pairs.append({*fit, int(c), int(b)});
    std::stable_sort(pairs.begin(), pairs.end(), [&](const Pair &x, const Pair &y) {
        return std::tuple(x.fit.key(), -corpusForms[x.corpus]->poems, x.book) <
               std::tuple(y.fit.key(), -corpusForms[y.corpus]->poems, y.book);
    });
    QList<int> corpusOf(view.forms.size(), -1), bookOf(corpusForms.size(), -1);
    for (const Pair &p : pairs) {
        if (corpusOf[p.book] >= 0 || bookOf[p.corpus] >= 0)
            continue;
        corpusOf[p.book] = p.corpus;
        bookOf[p.corpus] = p.book;
    }
    QList<DerivedForm> out;
    for (qsizetype b = 0; b < view.forms.size(); ++b) {
        out.append(corpusOf[b] >= 0 ? laidOver(view.forms[b], *corpusForms[corpusOf[b]]) : view.forms[b]);
        ++(corpusOf[b] >= 0 ? report.formsBoth : report.formsBook);
    }
    for (qsizetype c = 0; c < corpusForms.size(); ++c) {
        if (bookOf[c] < 0) {
            out.append(*corpusForms[c]);
            ++report.formsCorpus;
        }
    }
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i].number = int(i) + 1;
    return out;
}

void addName(DerivedTune &tune, const QString &name, int poems, const QString &basis)
{
    for (DerivedName &n : tune.names)
        if (n.name == name) {
            n.poems = std::max(n.poems, poems);
            return;
        }
    tune.names.append({name, poems, basis});
}

} // namespace

DerivedCipu mergeCipu(const DerivedCipu &corpus, const cipubook::CipuBook &book, const BookCharacters &chars,
                      const CiLookup &lookup, MergeReport *reportOut)
{
    MergeReport report;
    QList<BookTuneView> views = viewsOf(book, chars, lookup, report);
    const QList<int> bookOf = matchTunes(corpus, views, report);
    moveStrayForms(corpus, views, report);

    DerivedCipu out;
    out.counts = corpus.counts;
    out.sharing = corpus.sharing;
    out.joined = corpus.joined;
    out.refused = corpus.refused;
    for (const BookTuneView &view : views) {
        DerivedTune tune;
        tune.name = view.name;
        tune.bookName = view.tune->name;
        tune.juan = view.tune->juan;
        tune.bookOrder = view.tune->order;
        tune.origin = view.tune->origin;
        tune.names.append({tune.name, 0, QStringLiteral("本名")});
        for (int t : view.corpus) {
            const DerivedTune &c = corpus.tunes[t];
            tune.poems += c.poems;
            tune.inForms += c.inForms;
            for (const DerivedName &n : c.names)
                addName(tune, n.name, n.poems, n.name == tune.name ? QStringLiteral("本名") : n.basis);
            if (c.name != tune.name)
                addName(tune, c.name, c.poems, QStringLiteral("集中写法"));
        }
        tune.poems += view.movedPoems;
        tune.inForms += view.movedPoems;
        QHash<QString, int> movedIn;
        for (const auto &[name, poems] : view.movedIn)
            movedIn[name] += poems;
        for (const auto &[name, poems] : view.movedIn)
            addName(tune, name, movedIn.value(name), QStringLiteral("集中写法"));
        for (const QString &alias : view.aliases)
            addName(tune, alias, 0, QStringLiteral("谱中又名"));
        tune.forms = mergeForms(view, report);
        ++(view.corpus.isEmpty() ? report.tunesBook : report.tunesBoth);
        out.tunes.append(tune);
    }
    for (qsizetype t = 0; t < corpus.tunes.size(); ++t) {
        if (bookOf[t] >= 0)
            continue;
        out.tunes.append(corpus.tunes[t]);
        ++report.tunesCorpus;
        report.formsCorpus += int(corpus.tunes[t].forms.size());
    }
    // By use, as before; the 调 no poem of the corpus is written to after them, in the book's order.
    std::stable_sort(out.tunes.begin(), out.tunes.end(), [](const DerivedTune &a, const DerivedTune &b) {
        return std::tuple(a.poems == 0, -a.poems, a.poems == 0 ? a.bookOrder : 0, a.name) <
               std::tuple(b.poems == 0, -b.poems, b.poems == 0 ? b.bookOrder : 0, b.name);
    });
    if (reportOut)
        *reportOut = report;
    return out;
}

} // namespace cipumerge
