// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/tianzi/caretplace.h"

#include "prosody/check.h"
#include "prosody/couplet/duilian.h"
#include "prosody/shi/forms.h"

#include <functional>

namespace classics::tianzi {

using prosody::PoemCheck;

namespace {

// Where faultsOf() keeps the count of verse characters checked.
constexpr quint32 kVerseKey = 0xffffffff;

struct Where {
    const PoemCheck *check = nullptr;
    int line = 0;
    int place = 0;
    bool afterFinished = false; // right after the last character of a finished line
};

int endOf(const prosody::Line &l)
{
    return l.offsets.last() + l.width(l.size() - 1);
}

int lengthOf(const PoemCheck &c, int line)
{
    if (line < c.lines.size())
        return int(c.lines.at(line).pattern.size());
    const qsizetype pending = line - c.lines.size();
    return pending < c.pending.size() ? int(c.pending.at(pending).pattern.size()) : 0;
}

Where whereIs(const QList<PoemCheck> &checks, int caret)
{
    Where w;
    for (const PoemCheck &c : checks)
        if (c.poem.start <= caret)
            w.check = &c;
    if (!w.check)
        return w;
    const QList<prosody::Line> &lines = w.check->poem.lines;
    w.line = int(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const prosody::Line &l = lines.at(i);
        if (l.size() == 0 || caret > endOf(l))
            continue;
        w.line = i;
        for (const int o : l.offsets)
            w.place += o < caret;
        break;
    }
    const int length = lengthOf(*w.check, w.line);
    if (w.line < lines.size() && length > 0 && w.place >= length)
        w.afterFinished = true, ++w.line, w.place = 0; // a finished line: the caret starts the next
    return w;
}

// Whether the line is the lower line of a couplet the form sets in 对仗.
bool setAgainstAbove(const PoemCheck &c, int line)
{
    if (line % 2 == 0 || c.isCi())
        return false;
    if (c.form == prosody::duilianForm)
        return line == 1;
    const int total = int(c.lines.size() + c.pending.size());
    const bool regulated = c.form.endsWith(QStringLiteral("律诗")) || c.form.contains(QStringLiteral("排律"));
    return regulated && line > 1 && line < total - 1;
}

} // namespace

Place placeAt(const QList<PoemCheck> &checks, int caret, const prosody::RhymeBooks &books)
{
    Place p;
    const Where w = whereIs(checks, caret);
    if (!w.check)
        return p;
    const PoemCheck &c = *w.check;
    p.book = c.book;
    p.place = w.place;
    if (w.line < c.lines.size()) {
        const prosody::LineCheck &l = c.lines.at(w.line);
        p.pattern = l.pattern;
        p.rhymed = l.rhymed;
        p.before = l.line.chars.mid(0, w.place);
    } else if (w.line - c.lines.size() < c.pending.size()) {
        const PoemCheck::PendingLine &l = c.pending.at(w.line - c.lines.size());
        p.pattern = l.pattern;
        p.rhymed = l.rhymed;
    }
    p.length = int(p.pattern.size());
    if (w.afterFinished)
        p.lead = w.line % 2 ? QStringLiteral("，") : QStringLiteral("。\n");
    const QList<prosody::RhymeBooks::Group> &groups = books.groups(c.book);
    for (int g = 0; g < groups.size() && !c.rhyme.isEmpty(); ++g)
        if (groups.at(g).name == c.rhyme)
            p.rhymeGroup = g;
    if (setAgainstAbove(c, w.line) && w.line - 1 < c.poem.lines.size())
        p.above = c.poem.lines.at(w.line - 1).chars;
    return p;
}

CaretLine caretLine(const QList<PoemCheck> &checks, int caret)
{
    const Where w = whereIs(checks, caret);
    return {w.line + 1, w.place + 1};
}

FaultGuard::FaultGuard(std::shared_ptr<const prosody::RhymeBooks> books, QString text, int caret,
                       prosody::CheckRequest request, const prosody::PairSource *pairs, QString lead)
    : m_books(std::move(books))
    , m_text(std::move(text))
    , m_caret(caret)
    , m_request(std::move(request))
    , m_pairs(pairs)
    , m_lead(std::move(lead))
{
    m_before = faultsOf(m_text);
}

QHash<quint32, int> FaultGuard::faultsOf(const QString &text) const
{
    QHash<quint32, int> out;
    const auto checks = prosody::checkAs(m_books, text, m_request, m_pairs);
    if (!checks)
        return out;
    int verse = 0;
    for (const PoemCheck &c : *checks) {
        for (const prosody::Finding &f : c.findings)
            if (f.isFault())
                ++out[quint32(f.line) << 8 | quint32(f.kind)];
        for (const prosody::Line &l : c.poem.lines)
            verse += int(l.size());
    }
    out[kVerseKey] = verse;
    return out;
}

bool FaultGuard::operator()(const QString &word) const
{
    QString after = m_text;
    after.insert(m_caret, m_lead + word);
    const QHash<quint32, int> faults = faultsOf(after);
    // A word the reader does not take as verse (注 opening a line reads as a note) checks nothing.
    if (faults.value(kVerseKey) != m_before.value(kVerseKey) + word.toUcs4().size())
        return false;
    for (auto it = faults.constBegin(); it != faults.constEnd(); ++it)
        if (it.key() != kVerseKey && it.value() > m_before.value(it.key()))
            return false;
    return true;
}

CaretWords wordsAtCaret(const Suggester &suggester, std::shared_ptr<const prosody::RhymeBooks> books,
                        const QString &text, int caret, const prosody::CheckRequest &request,
                        const QList<PoemCheck> &checks, int limit)
{
    Where w = whereIs(checks, caret);
    // A finished quatrain written on in 自动 goes on as a 律诗.
    QList<PoemCheck> longer;
    if (std::holds_alternative<prosody::AutoForm>(request.form) && w.check && !w.check->isCi() &&
        w.check->form.endsWith(QStringLiteral("绝句")) && w.line >= w.check->lines.size() &&
        !w.check->lines.isEmpty()) {
        const int length = int(w.check->lines.first().pattern.size());
        longer =
            prosody::checkAs(books, text, {prosody::FormChoice{prosody::Form::Lvshi, length}, request.book})
                .value_or(QList<PoemCheck>());
        if (!longer.isEmpty())
            w = whereIs(longer, caret);
    }
    const QList<PoemCheck> &seen = longer.isEmpty() ? checks : longer;
    CaretWords out{caretLine(seen, caret), placeAt(seen, caret, *books), {}};
    prosody::CheckRequest asked = request;
    // A draft cut at the caret may no longer show its form: it is checked as the whole draft was.
    if (std::holds_alternative<prosody::AutoForm>(request.form) && w.check && !w.check->isCi())
        if (const auto form = prosody::formFromName(w.check->form))
            asked.form = *form;
    if (asked.book == std::nullopt)
        asked.book = out.place.book;
    // Only the caret's poem, and without the pairs: the 对仗 of a couplet is never a fault, and each
    // word costs a check.
    const int from = w.check ? std::min(w.check->poem.start, caret) : 0;
    const FaultGuard guard(std::move(books), text.mid(from, caret - from), caret - from, asked, nullptr,
                           out.place.lead);
    out.words = suggester.suggest(out.place, limit, std::cref(guard));
    return out;
}

} // namespace classics::tianzi
