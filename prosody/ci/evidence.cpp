// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/ci/evidence.h"

#include <algorithm>

namespace prosody {

void applyEvidence(CiPosition &p, int formPoems)
{
    p.authority = Authority::Corpus;
    const int known = p.ping + p.ze;
    const int lean = std::max(p.ping, p.ze);
    p.tone = ToneClass::Both;
    p.strictness = Strictness::Free;
    if (known == 0)
        return;
    if (formPoems < evidence::kRulePoems) {
        // The examples' class where most of them agree: a warning, never a fault.
        if (2 * lean > known) {
            p.tone = p.leaning();
            p.strictness = Strictness::Warning;
        }
        return;
    }
    if (known >= evidence::kRulePoems && 100 * lean >= evidence::kFaultPercent * known) {
        p.tone = p.leaning();
        p.strictness = Strictness::Fault;
    } else if (100 * lean >= evidence::kWarningPercent * known) {
        p.tone = p.leaning();
        p.strictness = Strictness::Warning;
    }
}

void applyBookEvidence(CiPosition &p, Authority tier, int formPoems)
{
    if (p.book != ToneClass::Ping && p.book != ToneClass::Ze) {
        if (p.book == ToneClass::Unknown) {
            applyEvidence(p, std::min(formPoems, evidence::kRulePoems - 1));
            p.authority = p.ping + p.ze > 0 ? Authority::Corpus : Authority::None;
        } else {
            p.tone = ToneClass::Both;
            p.strictness = Strictness::Free;
            p.authority = tier;
        }
        return;
    }
    p.authority = tier;
    p.tone = p.book;
    const int other = p.book == ToneClass::Ping ? p.ze : p.ping;
    p.strictness = tier == Authority::BookNote && other == 0 ? Strictness::Fault : Strictness::Warning;
}

namespace {

// A place near-unanimous poems hold (a fault by applyEvidence) where the book's example writes the
// other class; read from the counts, so that it holds before and after yieldToBook.
bool tonedAgainstBook(const CiPosition &p)
{
    const int known = p.ping + p.ze;
    return isDefinite(p.book) && p.book != p.leaning() && known >= evidence::kRulePoems &&
           100 * std::max(p.ping, p.ze) >= evidence::kFaultPercent * known;
}

// A line end the poems rhyme as a rule where the book's example ends a 句 or 读 unrhymed.
bool unrhymedAgainstBook(const CiForm &form, const CiLine &line)
{
    return line.rhymeRun > 0 && 100 * line.rhymed >= evidence::kFaultPercent * form.poems &&
           (line.mark == u"句" || line.mark == u"读");
}

// Whether the book's example departs from the poems laid over its 体 at a few places, tones and
// rhymes together: at more, the poems are of another shape.
bool yieldsToBook(const CiForm &form)
{
    if (form.source != CiSource::Both || form.tier != Authority::Corpus)
        return false;
    int dissent = 0;
    for (const CiLine &line : form.lines) {
        dissent += unrhymedAgainstBook(form, line);
        for (const CiPosition &p : line.positions)
            dissent += tonedAgainstBook(p);
    }
    return dissent > 0 && dissent <= evidence::kBookDissent;
}

} // namespace

void yieldToBook(CiForm &form)
{
    if (!yieldsToBook(form))
        return;
    for (CiLine &line : form.lines) {
        line.unrhymedInBook = unrhymedAgainstBook(form, line);
        for (CiPosition &p : line.positions)
            if (p.strictness == Strictness::Fault && tonedAgainstBook(p))
                p.strictness = Strictness::Warning;
    }
}

Authority tierOf(CiSource source, int poems, bool compared)
{
    if (source == CiSource::Corpus || poems >= evidence::kRulePoems)
        return Authority::Corpus;
    return compared ? Authority::BookNote : Authority::BookExample;
}

// 第一部 … 第十九部 → 1 … 19; 0 for another name.
int sectionNumber(const QString &name)
{
    static const QString digits = QStringLiteral("一二三四五六七八九");
    if (!name.startsWith(u'第') || !name.endsWith(u'部'))
        return 0;
    const QString n = name.mid(1, name.size() - 2);
    if (n == u"十")
        return 10;
    if (n.size() == 1)
        return int(digits.indexOf(n[0])) + 1;
    if (n.size() == 2 && n[0] == u'十')
        return 10 + int(digits.indexOf(n[1])) + 1;
    return 0;
}

namespace {
constexpr int kFirstEntering = 15;
} // namespace

bool rhymedTogether(const Cipu &cipu, int section, int other)
{
    if ((section >= kFirstEntering) != (other >= kFirstEntering))
        return false;
    const Cipu::SharedRhyme shared = cipu.sharedRhyme(section, other);
    if (section >= kFirstEntering)
        return shared.poems >= evidence::kSharedEnteringPoems;
    return shared.poems >= evidence::kSharedRhymePoems &&
           1000 * shared.poems >= evidence::kSharedRhymePerMille * shared.runs;
}

bool enteringAs(int entering, int run)
{
    static const QList<QList<int>> kGoesTo = {{4, 12}, {8, 9}, {3, 5}, {10, 9, 4}, {10, 9}};
    if (entering < kFirstEntering || entering >= kFirstEntering + kGoesTo.size())
        return false;
    return kGoesTo.at(entering - kFirstEntering).contains(run);
}

} // namespace prosody
