#include "tools/builddb/cipu.h"

#include "tools/builddb/cinames.h"
#include "tools/builddb/rhymegroups.h"

#include <QSet>

#include <algorithm>
#include <numeric>
#include <tuple>

namespace builddb {

namespace {

// A 词牌 needs two poems (a handbook name one); a variant needs two poems, five where the 词牌 has
// fifty or more, so that the punctuation of one poet or a damaged text does not make a form.
constexpr int kMinTunePoems = 2;
constexpr int kMinVariantPoems = 2;
constexpr int kMinVariantPoemsOfCommonTunes = 5;
constexpr int kCommonTune = 50;

// The forms of one 词牌 from its poems, by line structure, the most written first (the earliest on a
// tie); a variant is a whole poem: not a fragment (fewer than three lines or half the characters).
void deriveForms(DerivedTune &tune, QList<const CorpusPoem *> members, const CiLookup &lookup,
                 RhymeSharing &sharing)
{
    std::sort(members.begin(), members.end(),
              [](const CorpusPoem *a, const CorpusPoem *b) { return a->index < b->index; });
    QHash<QString, QList<const CorpusPoem *>> byStructure;
    QStringList order;
    for (const CorpusPoem *poem : members) {
        if (!byStructure.contains(poem->structure))
            order << poem->structure;
        byStructure[poem->structure].append(poem);
    }
    std::stable_sort(order.begin(), order.end(), [&](const QString &a, const QString &b) {
        return byStructure.value(a).size() > byStructure.value(b).size();
    });
    const QList<int> main = lengthsOf(order.first());
    const int mainChars = std::accumulate(main.begin(), main.end(), 0);
    const int minVariant = tune.poems >= kCommonTune ? kMinVariantPoemsOfCommonTunes : kMinVariantPoems;
    for (const QString &structure : order) {
        const QList<const CorpusPoem *> &those = byStructure.value(structure);
        const QList<int> lengths = lengthsOf(structure);
        if (!tune.forms.isEmpty() && (those.size() < minVariant || lengths.size() < 3 ||
                                      2 * std::accumulate(lengths.begin(), lengths.end(), 0) < mainChars))
            continue;
        DerivedForm form = deriveForm(those, lookup, sharing);
        form.number = int(tune.forms.size()) + 1;
        tune.inForms += form.poems;
        tune.forms.append(form);
    }
}

} // namespace

CiLookup ciLookupOf(const RhymeBooks &books)
{
    CiLookup lookup;
    for (const Book &book : books.books) {
        if (book.name == books::pingshui) {
            for (const BookChar &c : book.chars)
                (c.tone == u'平' ? lookup[c.hanzi].ping : lookup[c.hanzi].ze) = true;
        } else if (book.name == books::cilin) {
            QHash<QString, int> order;
            for (const BookGroup &g : book.groups)
                order.insert(g.name, g.order);
            for (const BookChar &c : book.chars) {
                QList<int> &sections = lookup[c.hanzi].sections;
                const int s = order.value(c.group);
                if (s > 0 && !sections.contains(s))
                    sections.append(s);
            }
        }
    }
    return lookup;
}

DerivedCipu deriveCipu(const QList<CorpusCi> &corpus, const CiLookup &lookup)
{
    DerivedCipu out;
    CipuCounts &counts = out.counts;
    counts.poems = int(corpus.size());

    QList<CorpusPoem> poems;
    QList<WrittenName> written;
    QHash<QString, int> writtenIndex;
    for (qsizetype i = 0; i < corpus.size(); ++i) {
        std::optional<CorpusPoem> poem = readCorpusPoem(corpus[i]);
        if (!poem) {
            ++counts.damaged;
            continue;
        }
        const QStringList parts = tuneNameParts(corpus[i].tune);
        if (parts.isEmpty()) {
            ++counts.untitled;
            continue;
        }
        poem->index = int(i);
        const QString key = parts.join(u'·');
        auto it = writtenIndex.constFind(key);
        if (it == writtenIndex.constEnd()) {
            it = writtenIndex.insert(key, int(written.size()));
            written.append({key, parts, {}, {}});
        }
        written[*it].poems.append(int(poems.size()));
        written[*it].structures.append(poem->structure);
        poems.append(*poem);
    }

    NameJoins joins = joinNames(written, 10);
    out.joined = joins.joined;
    out.refused = joins.refused;
    // The largest groups first: a name that a larger group already bears goes to that one
    // ("雨中花・夜行船" apart from 夜行船 is 雨中花).
    std::sort(joins.groups.begin(), joins.groups.end(), [](const NameGroup &a, const NameGroup &b) {
        return std::pair(-a.poems.size(), *std::min_element(a.poems.begin(), a.poems.end())) <
               std::pair(-b.poems.size(), *std::min_element(b.poems.begin(), b.poems.end()));
    });
    QSet<QString> taken;
    for (const NameGroup &group : joins.groups) {
        const bool handbook = std::any_of(group.named.keyBegin(), group.named.keyEnd(),
                                          [](const QString &n) { return handbookTunes().contains(n); });
        if (group.poems.size() < kMinTunePoems && !handbook) {
            counts.smallTunes += int(group.poems.size());
            continue;
        }
        DerivedTune tune;
        tune.poems = int(group.poems.size());
        tune.name = nameOfGroup(group, taken);
        taken.insert(tune.name);
        tune.names.append({tune.name, group.named.value(tune.name), QStringLiteral("本名")});
        QStringList names = group.named.keys();
        std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
            return std::pair(-group.named.value(a), a) < std::pair(-group.named.value(b), b);
        });
        for (const QString &name : names)
            if (name != tune.name)
                tune.names.append({name, group.named.value(name), QStringLiteral("集中写法")});
        QList<const CorpusPoem *> members;
        for (int p : group.poems)
            members.append(&poems[p]);
        deriveForms(tune, members, lookup, out.sharing);
        counts.inForms += tune.inForms;
        counts.noForm += tune.poems - tune.inForms;
        out.tunes.append(tune);
    }
    std::sort(out.tunes.begin(), out.tunes.end(), [](const DerivedTune &a, const DerivedTune &b) {
        return std::pair(-a.poems, a.name) < std::pair(-b.poems, b.name);
    });

    // Our aliases lead to their 词牌 even where the corpus never writes them.
    for (DerivedTune &tune : out.tunes) {
        const auto bears = [&](const QString &name) {
            return std::any_of(tune.names.begin(), tune.names.end(),
                               [&](const DerivedName &n) { return n.name == name; });
        };
        for (const auto &[usual, others] : ciAliasList()) {
            if (tune.name != usual)
                continue;
            for (const QString &alias : others)
                if (!bears(alias))
                    tune.names.append({alias, 0, QStringLiteral("别名表")});
        }
    }
    return out;
}

} // namespace builddb
