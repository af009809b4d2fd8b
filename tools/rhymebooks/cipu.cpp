// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipu.h"

#include "prosody/ci/align.h"
#include "tools/rhymebooks/cinames.h"
#include "tools/rhymebooks/rhymegroups.h"

#include <QSet>

#include <deque>

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
// A structure of one poem in a 词牌 of fewer than kCommonTune poems is a form of its own (孤例) when it is
// a whole poem at least this many faults of structure from every other form: a different body, not a
// slip of the pen or a damaged text of a form already there.
constexpr int kLoneFormDistance = 2;

// The shape of a derived form as the metre check aligns against it: its line lengths and rhymes.
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

// A poem recut to the lines of a form of as many characters: the same characters in their order, a
// line end a sentence end where the poem ends a sentence at that character.
CorpusPoem recut(const CorpusPoem &poem, const QList<int> &lengths)
{
    QList<char32_t> chars;
    QSet<int> sentenceEnds;
    for (qsizetype l = 0; l < poem.lines.size(); ++l) {
        chars += poem.lines[l];
        if (poem.sentenceEnds[l])
            sentenceEnds.insert(int(chars.size()));
    }
    CorpusPoem out = poem;
    out.lines.clear();
    out.sentenceEnds.clear();
    QStringList structure;
    int at = 0;
    for (int n : lengths) {
        out.lines.append(chars.mid(at, n));
        at += n;
        out.sentenceEnds.append(sentenceEnds.contains(at));
        structure << QString::number(n);
    }
    out.structure = structure.join(u',');
    return out;
}

// The forms of one 词牌 from its poems, by line structure, the most written first (the earliest on a
// tie); a variant is a whole poem: not a fragment (fewer than three lines or half the characters). A
// structure too rare to be a variant joins the first form it reads as — the same characters broken
// elsewhere where no rhyme of the form falls inside (、 and the pause after a 领字, two lines written
// as one) — so that the punctuation of the corpus does not split the evidence.
void deriveForms(DerivedTune &tune, QList<const CorpusPoem *> members, const CiLookup &lookup,
                 RhymeSharing &sharing, std::deque<CorpusPoem> &recutPoems)
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
    QList<QList<const CorpusPoem *>> forms;
    QStringList rare;
    for (const QString &structure : order) {
        const QList<const CorpusPoem *> &those = byStructure.value(structure);
        const QList<int> lengths = lengthsOf(structure);
        if (!forms.isEmpty() && (those.size() < minVariant || lengths.size() < 3 ||
                                 2 * std::accumulate(lengths.begin(), lengths.end(), 0) < mainChars))
            rare << structure;
        else
            forms.append(those);
    }
    RhymeSharing scratch;
    QList<prosody::CiForm> shapes;
    for (const QList<const CorpusPoem *> &those : forms)
        shapes.append(shapeOf(deriveForm(those, lookup, scratch)));
    QStringList lone;
    for (const QString &structure : rare) {
        const QList<int> lengths = lengthsOf(structure);
        const int chars = std::accumulate(lengths.begin(), lengths.end(), 0);
        bool joined = false;
        for (qsizetype f = 0; f < shapes.size() && !joined; ++f) {
            const prosody::AlignmentCost cost = prosody::alignmentCost(lengths, shapes[f]);
            if (shapes[f].characters() != chars || cost.faults > 0 || cost.unwritten > 0)
                continue;
            for (const CorpusPoem *poem : byStructure.value(structure)) {
                recutPoems.push_back(recut(*poem, shapes[f].lengths()));
                forms[f].append(&recutPoems.back());
            }
            joined = true;
        }
        if (!joined && tune.poems < kCommonTune && lengths.size() >= 3 && 2 * chars >= mainChars)
            lone << structure;
    }
    // The lone forms after the others, each far from every form before it.
    QList<prosody::CiForm> loneShapes;
    for (const QString &structure : lone) {
        const QList<int> lengths = lengthsOf(structure);
        const auto near = [&](const prosody::CiForm &shape) {
            const prosody::AlignmentCost cost = prosody::alignmentCost(lengths, shape, kLoneFormDistance);
            return cost.faults < kLoneFormDistance && cost.unwritten == 0;
        };
        if (std::any_of(shapes.begin(), shapes.end(), near) ||
            std::any_of(loneShapes.begin(), loneShapes.end(), near))
            continue;
        forms.append(byStructure.value(structure));
        loneShapes.append(shapeOf(deriveForm(forms.last(), lookup, scratch)));
    }
    for (QList<const CorpusPoem *> &those : forms) {
        std::sort(those.begin(), those.end(),
                  [](const CorpusPoem *a, const CorpusPoem *b) { return a->index < b->index; });
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
    // A form the corpus kept (栁, 鴈) is read as its standard character.
    for (auto it = books.variants.constBegin(); it != books.variants.constEnd(); ++it)
        if (lookup.contains(it.value())) {
            const CiCharInfo info = lookup.value(it.value()); // a copy: the insert may move the entries
            lookup.insert(it.key(), info);
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
    // Names first: a group whose every name a larger group bears already is of that 词牌 (its forms
    // differ, so they become its variants or stay out of its forms).
    QSet<QString> taken;
    QHash<QString, int> tuneOf; // name → index in out.tunes
    QList<QList<int>> membersOf;
    for (const NameGroup &group : joins.groups) {
        const bool handbook = std::any_of(group.named.keyBegin(), group.named.keyEnd(),
                                          [](const QString &n) { return handbookTunes().contains(n); });
        QStringList names = group.named.keys();
        std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
            return std::pair(-group.named.value(a), a) < std::pair(-group.named.value(b), b);
        });
        const QString name = nameOfGroup(group, taken);
        if (name.isEmpty()) {
            const int t = tuneOf.value(names.first());
            out.tunes[t].poems += int(group.poems.size());
            membersOf[t] += group.poems;
            continue;
        }
        if (group.poems.size() < kMinTunePoems && !handbook) {
            counts.smallTunes += int(group.poems.size());
            continue;
        }
        DerivedTune tune;
        tune.poems = int(group.poems.size());
        tune.name = name;
        taken.insert(tune.name);
        tune.names.append({tune.name, group.named.value(tune.name), QStringLiteral("本名")});
        for (const QString &n : names) {
            if (n != tune.name)
                tune.names.append({n, group.named.value(n), QStringLiteral("集中写法")});
            if (!tuneOf.contains(n))
                tuneOf.insert(n, int(out.tunes.size()));
        }
        tuneOf.insert(tune.name, int(out.tunes.size()));
        out.tunes.append(tune);
        membersOf.append(group.poems);
    }
    std::deque<CorpusPoem> recutPoems; // poems read as another form's lines; the forms point into it
    for (qsizetype t = 0; t < out.tunes.size(); ++t) {
        DerivedTune &tune = out.tunes[t];
        QList<const CorpusPoem *> members;
        for (int p : membersOf[t])
            members.append(&poems[p]);
        deriveForms(tune, members, lookup, out.sharing, recutPoems);
        counts.inForms += tune.inForms;
        counts.noForm += tune.poems - tune.inForms;
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
