// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/tianzi/suggester.h"

#include "classics/coupletpairs.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace classics::tianzi {

using prosody::ToneClass;

namespace {

// Weight of the less specific context in each smoothing step, in counts: a context seen fewer times
// than this leans on the one below it.
constexpr double kSmoothing = 4.0;
// A character of both classes at a strict place was read in the other class in some of the lines
// counted: it weighs half.
constexpr double kEitherClass = 0.5;
constexpr int kParallels = 5;
// Candidates weighed by what follows them (below).
constexpr qsizetype kWeighed = 150;
// Fewer lines than this holding two characters together make no word of them.
constexpr int kWordCount = 4;
// A character against the class a free place leans to (below) weighs this much.
constexpr double kAgainstLean = 0.2;

QString textOf(const QList<char32_t> &chars)
{
    return QString::fromUcs4(chars.constData(), chars.size());
}

bool placed(int length)
{
    return length >= kShortestClause && length <= kLongestClause;
}

// One level of context: its row and the row's total.
struct Level {
    QHash<char32_t, const Next *> byChar;
    QList<Next> row;
    double total = 0;
};

Level levelOf(const QList<Next> &row)
{
    Level l;
    l.row = row;
    for (const Next &n : l.row) {
        l.byChar.insert(n.hanzi, &n);
        l.total += n.count;
    }
    return l;
}

bool strict(QChar want)
{
    return want == u'平' || want == u'仄';
}

// The class the third place from the end of a line of five or seven leans to, when free: the one
// opposite the last (平平仄, 仄仄平), which the poets keep more often than not there. Unknown
// elsewhere: leaning the first and third places to the class of their pair lost hits in the
// measurement of docs/TIANZI.md.
ToneClass leaning(const Place &place, int p)
{
    const int n = place.length;
    if ((n != 5 && n != 7) || place.pattern.size() != n || p != n - 3 || strict(place.pattern.at(p)) ||
        !strict(place.pattern.at(n - 1)))
        return ToneClass::Unknown;
    return prosody::classOfTemplate(place.pattern.at(n - 1)) == ToneClass::Ping ? ToneClass::Ze
                                                                                : ToneClass::Ping;
}

} // namespace

bool startsPair(int length, int place)
{
    const int paired = length % 2 ? length - 1 : length;
    return place % 2 == 0 && place + 1 < paired;
}

Suggester::Suggester(const Continuations &table, std::shared_ptr<const prosody::RhymeBooks> books,
                     const CoupletPairs *pairs)
    : m_table(table)
    , m_books(std::move(books))
    , m_pairs(pairs)
{
}

bool Suggester::fits(const Place &place, int at, char32_t hanzi) const
{
    const ToneClass t = m_books->toneClass(place.book, hanzi);
    if (t == ToneClass::Unknown)
        return false;
    const QChar want = at < place.pattern.size() ? place.pattern.at(at) : QChar(u'中');
    if ((want == u'平' || want == u'仄') && !prosody::maybe(t, prosody::classOfTemplate(want)))
        return false;
    if (place.length == 0 || at != place.length - 1 || place.rhymeGroup < 0)
        return true;
    const bool strict = want == u'平' || want == u'仄';
    bool member = false, rhymes = false;
    for (const auto &m : m_books->bookMemberships(place.book, hanzi))
        if (m.group == place.rhymeGroup) {
            member = true;
            rhymes = rhymes || !strict || prosody::classOf(m.tone) == prosody::classOfTemplate(want);
        }
    // At the rhyme only the poem's group; at the end of a line without rhyme, no character of the
    // group that could be read level there (it would sound like a rhyme).
    return place.rhymed ? rhymes : !member || t != ToneClass::Both;
}

QList<Suggester::Scored> Suggester::ranked(const Place &place) const
{
    const int p = place.place;
    const qsizetype n = place.before.size();
    QList<qint64> keys; // most specific last
    if (placed(place.length)) {
        keys << continuationKey(place.length, p, {});
        // After the character before in clauses of any length: many more lines than the place's own.
        if (p >= 1 && n >= 1)
            keys << continuationKey(0, 0, place.before.mid(n - 1));
        if (p >= 1 && n >= 1)
            keys << continuationKey(place.length, p, place.before.mid(n - 1));
        if (p >= 2 && n >= 2)
            keys << continuationKey(place.length, p, place.before.mid(n - 2));
    } else {
        keys << continuationKey(0, 0, {});
        if (n >= 1)
            keys << continuationKey(0, 0, place.before.mid(n - 1));
    }
    QList<Level> levels;
    for (const qint64 k : keys)
        levels.append(levelOf(m_table.row(k)));

    QSet<char32_t> candidates;
    for (const Level &l : levels)
        for (const Next &x : l.row)
            candidates.insert(x.hanzi);
    const ToneClass lean = leaning(place, p);
    QList<Scored> out;
    for (const char32_t c : candidates) {
        if (!fits(place, p, c))
            continue;
        double prob = 0;
        int count = 0;
        qint64 line = 0;
        for (const Level &l : levels) {
            const Next *x = l.byChar.value(c);
            prob = ((x ? x->count : 0) + kSmoothing * prob) / (l.total + kSmoothing);
            if (&l == &levels.first())
                prob = x ? x->count / std::max(1.0, l.total) : 0;
            if (x)
                count = x->count, line = x->line;
        }
        const QChar want = p < place.pattern.size() ? place.pattern.at(p) : QChar(u'中');
        if ((want == u'平' || want == u'仄') && m_books->toneClass(place.book, c) == ToneClass::Both)
            prob *= kEitherClass;
        if (lean != ToneClass::Unknown && !prosody::maybe(m_books->toneClass(place.book, c), lean))
            prob *= kAgainstLean;
        out.append({c, prob, count, line});
    }
    const auto byScore = [](const Scored &a, const Scored &b) {
        return a.score != b.score ? a.score > b.score : a.hanzi < b.hanzi;
    };
    std::sort(out.begin(), out.end(), byScore);
    // A free place before a strict one: a character the classics mostly follow with one of the wrong
    // class there leads nowhere; the share that fits weighs the best candidates.
    const QChar next = p + 1 < place.pattern.size() ? place.pattern.at(p + 1) : QChar(u'中');
    if (placed(place.length) && p + 1 < place.length && (next == u'平' || next == u'仄')) {
        const qsizetype k = std::min<qsizetype>(out.size(), kWeighed);
        for (qsizetype i = 0; i < k; ++i) {
            double fit = 1, all = 2;
            for (const Next &x : m_table.row(continuationKey(place.length, p + 1, {out.at(i).hanzi}))) {
                all += x.count;
                fit += fits(place, p + 1, x.hanzi) ? x.count : 0;
            }
            out[i].score *= fit / all;
        }
        std::sort(out.begin(), out.begin() + k, byScore);
    }
    return out;
}

Suggestion Suggester::extended(const Place &place, const Scored &first) const
{
    Suggestion s{QString::fromUcs4(&first.hanzi, 1), first.count, {first.line, {}, {}, {}}, false};
    const int p = place.place;
    if (!placed(place.length) || !startsPair(place.length, p))
        return s;
    QList<char32_t> context;
    if (!place.before.isEmpty())
        context << place.before.last();
    context << first.hanzi;
    const QList<Next> row = m_table.row(continuationKey(place.length, p + 1, context));
    int total = 0;
    for (const Next &x : row)
        total += x.count;
    Place next = place;
    next.place = p + 1;
    for (const Next &x : row) {
        // A word only where the classics write the two together often, and mostly.
        if (x.count < kWordCount || 3 * x.count < total)
            break;
        if (fits(place, p + 1, x.hanzi)) {
            s.text += QString::fromUcs4(&x.hanzi, 1);
            s.count = x.count;
            s.example.line = x.line;
            break;
        }
    }
    return s;
}

QList<Suggestion> Suggester::parallels(const Place &place, int limit) const
{
    QList<Suggestion> out;
    const int p = place.place;
    if (!m_pairs || place.above.size() <= p)
        return out;
    const int width =
        placed(place.length) && startsPair(place.length, p) && place.above.size() > p + 1 ? 2 : 1;
    const QString upper = textOf(place.above.mid(p, width));
    for (const Partner &partner : m_pairs->partners(upper, 4 * limit)) {
        const QList<uint> chars = partner.text.toUcs4();
        bool ok = chars.size() == width;
        for (int i = 0; ok && i < chars.size(); ++i)
            ok = fits(place, p + i, chars.at(i));
        if (!ok)
            continue;
        Suggestion s{partner.text, partner.count, {}, true};
        if (const auto c = m_pairs->couplet(partner.couplet))
            s.example = {0, c->upper + u'，' + c->lower + u'。', c->author, c->title};
        out.append(s);
        if (out.size() >= limit)
            break;
    }
    return out;
}

QList<Suggestion> Suggester::suggest(const Place &place, int limit, const Accept &accept,
                                     bool withExamples) const
{
    QList<Suggestion> out;
    if (place.length > 0 && place.place >= place.length)
        return out;
    QSet<QChar> firsts;
    const auto offer = [&](const Suggestion &s) {
        if (out.size() >= limit || firsts.contains(s.text.front()) || (accept && !accept(s.text)))
            return;
        firsts.insert(s.text.front());
        out.append(s);
    };
    for (const Suggestion &s : parallels(place, std::min(limit, kParallels)))
        offer(s);
    for (const Scored &c : ranked(place)) {
        if (out.size() >= limit)
            break;
        const QChar front = QString::fromUcs4(&c.hanzi, 1).front();
        if (firsts.contains(front))
            continue;
        Suggestion s = extended(place, c);
        if (s.text.size() > 1 && accept && !accept(s.text))
            s = {QString::fromUcs4(&c.hanzi, 1), c.count, {c.line, {}, {}, {}}, false};
        offer(s);
    }
    if (withExamples)
        for (Suggestion &s : out)
            if (!s.parallel && s.example.line > 0)
                s.example = m_table.example(s.example.line);
    return out;
}

} // namespace classics::tianzi
