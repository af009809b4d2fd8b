// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/notereader.h"

#include "tools/rhymebooks/cipubook/noteplace.h"

namespace cipubook {

namespace {

// Named characters: "荷字", "上迢字", "兩且字", "黄花二字", or a place in the 句: "第五字".
struct Group {
    Text chars;
    int occurrence = 0; // 0 the first, 1 the second, -1 every one
    int position = -1;  // "第五字": the fifth character of the 句 (0-based), chars empty
};

struct Statement {
    size_t start = 0, end = 0; // end: just past 聲 (or 可平)
    QList<Group> groups;
    Tone tone = Tone::Ping;
    bool direct = false; // "X字可平", "第五字可仄": the example's own character
};

bool in(char32_t c, TextView set)
{
    return set.find(c) != TextView::npos;
}

// The groups ending just before `j` (which is 字), read backwards; the start of the first.
QList<Group> groupsBefore(TextView n, size_t j, size_t &start)
{
    QList<Group> groups;
    while (j >= 2 && n[j] == U'字') {
        Group g;
        size_t from = j - 1;
        while (from > 0 && isNumeralChar(n[from - 1]) && isNumeralChar(n[from]))
            --from;
        const int count = in(n[j - 1], U"二兩三四") ? numeral(n.substr(j - 1, 1)) : 0;
        if (from > 0 && n[from - 1] == U'第' && isNumeralChar(n[j - 1])) {
            g.position = numeral(n.substr(from, j - from)) - 1; // "第五字"
            --from;
        } else if (count >= 2 && j >= size_t(count) + 1) {
            from = j - 1 - size_t(count);
            g.chars = Text(n.substr(from, size_t(count)));
            if (contains(g.chars, U"第") || contains(g.chars, U"字"))
                break;
        } else {
            from = j - 1;
            g.chars = Text(1, n[from]);
            if (from >= 1 && in(n[from - 1], U"上下兩")) {
                g.occurrence = n[from - 1] == U'上' ? 0 : n[from - 1] == U'下' ? 1 : -1;
                --from;
            }
        }
        if (g.position < 0 && (g.chars.empty() || in(g.chars.front(), U"句段聲韻")))
            break;
        groups.prepend(g);
        start = from;
        if (from == 0)
            break;
        j = from - 1;
    }
    return groups;
}

QList<Statement> statementsOf(TextView n)
{
    QList<Statement> out;
    for (size_t i = 2; i < n.size(); ++i) {
        Statement s;
        if (n[i] == U'聲' && in(n[i - 1], U"平仄入")) {
            s.tone = n[i - 1] == U'平' ? Tone::Ping : n[i - 1] == U'仄' ? Tone::Ze : Tone::Ru;
            size_t j = i - 2;
            if (in(n[j], U"俱亦並皆") && j > 0)
                --j;
            s.groups = groupsBefore(n, j, s.start);
        } else if (n[i - 1] == U'可' && in(n[i], U"平仄") && n[i - 2] == U'字' &&
                   !(i + 1 < n.size() && n[i + 1] == U'可') && !(i >= 3 && n[i - 3] == U'可')) {
            s.tone = n[i] == U'平' ? Tone::Ping : Tone::Ze;
            s.direct = true;
            s.groups = groupsBefore(n, i - 2, s.start);
        }
        if (s.groups.isEmpty())
            continue;
        // Places in the 句 ("第二字") are the example's own: a rule or a freedom of this form.
        s.direct = s.direct || std::all_of(s.groups.begin(), s.groups.end(),
                                           [](const Group &g) { return g.position >= 0; });
        s.end = i + 1;
        out.append(s);
    }
    return out;
}

// The poem a sentence quotes, from the words before its place: "按張孝祥詞别首" → 張孝祥詞别首, with
// where it begins; empty when the words name none.
std::pair<size_t, QString> poetOf(TextView before)
{
    const size_t ci = before.rfind(U'詞');
    const size_t shou = before.rfind(U'首');
    const size_t last = ci == TextView::npos ? shou : shou == TextView::npos ? ci : std::max(ci, shou);
    if (last == TextView::npos || before.size() - last > 3)
        return {before.size(), {}};
    size_t from = last;
    while (from > 0 && last - from < 7 &&
           !in(before[from - 1], U"聲按又如若此據者是也而與及則故云之韻同異") && before[from - 1] != kBlank)
        --from;
    return {from, toQString(before.substr(from, last - from + 1))};
}

Text withoutBlanks(TextView t)
{
    Text out;
    for (const char32_t c : t)
        if (c != kBlank)
            out.push_back(c);
    return out;
}

// What a stretch of a note may quote: as written; past a poem named after the place ("前段起句周邦彦詞
// 香馥馥"); without a leading 又 or 云.
QList<Text> quotesOf(TextView text)
{
    QList<Text> out;
    const auto add = [&](TextView t) {
        while (!t.empty() && in(t.front(), U"云作用又"))
            t.remove_prefix(1);
        const Text q = withoutBlanks(t);
        if (!q.empty() && !out.contains(q))
            out << q;
    };
    add(text);
    const size_t ci = text.substr(0, 8).find(U'詞');
    if (ci != TextView::npos) {
        TextView after = text.substr(ci + 1);
        for (const TextView w : {U"别首", U"別首", U"又一首", U"一首"})
            if (startsWith(after, w))
                after.remove_prefix(w.size());
        add(after);
    }
    return out;
}

// Why a named character found no place, the likeliest last.
enum class Miss { NoPlace, NoLine, Length, NotQuoted };

QString missName(Miss miss)
{
    switch (miss) {
    case Miss::NoPlace:
        return QStringLiteral("未言何句");
    case Miss::NoLine:
        return QStringLiteral("例词无此句");
    case Miss::Length:
        return QStringLiteral("引句与例词字数不同");
    case Miss::NotQuoted:
        return QStringLiteral("所指字不在引句中");
    }
    return {};
}

// A stretch of the note at one place: the 句 it may quote there.
struct Segment {
    NotePlace place;
    QList<Text> quotes;
    QString poet;
    size_t start = 0; // where its sentence begins in the note: its poem, else its place
};

// Where a quote of `length` characters lies: the first reading of the place as long; for the
// example's own characters (length < 0), the first reading.
std::optional<std::pair<LineRun, Text>> runFor(const NotePlace &place, const BookExample &example, int length)
{
    for (const LineRun &r : linesAt(place, example)) {
        Text text;
        for (const auto &[st, l] : r)
            text += toText(example.stanzas[st].lines[l].text);
        if (length < 0 || int(text.size()) == length)
            return std::pair{r, text};
    }
    return std::nullopt;
}

FreePosition positionAt(const BookExample &example, const LineRun &run, size_t q)
{
    FreePosition f;
    for (const auto &[st, l] : run) {
        const BookLine &line = example.stanzas[st].lines[l];
        if (q >= size_t(line.length)) {
            q -= size_t(line.length);
            continue;
        }
        f.stanza = st;
        f.line = l;
        f.index = int(q);
        f.flat = line.first + int(q);
        f.character = toQString(TextView(toText(line.text)).substr(q, 1));
        break;
    }
    return f;
}

// Offsets of a group in a quote.
QList<size_t> offsetsOf(const Group &g, TextView quote)
{
    QList<size_t> at;
    if (g.position >= 0)
        return size_t(g.position) < quote.size() ? QList<size_t>{size_t(g.position)} : at;
    for (size_t p = quote.find(g.chars); p != TextView::npos; p = quote.find(g.chars, p + 1))
        at << p;
    if (g.occurrence >= 0)
        at = g.occurrence < at.size() ? QList<size_t>{at[g.occurrence]} : QList<size_t>{};
    return at;
}

} // namespace

bool saysNoOther(TextView n)
{
    for (const TextView w : {U"其平仄當遵之", U"平仄當遵之", U"平仄當從之", U"秪此一詞", U"祇此一詞",
                             U"只此一詞", U"秖此一詞", U"止此一詞", U"僅此一詞"})
        if (contains(n, w))
            return true;
    for (size_t at = n.find(U"可校"); at != TextView::npos; at = n.find(U"可校", at + 1)) {
        const size_t from = at >= 8 ? at - 8 : 0;
        const TextView before = n.substr(from, at - from);
        const size_t no = before.rfind(U'無');
        if (no != TextView::npos && !startsWith(before.substr(no), U"無名氏") &&
            !contains(before.substr(no), U"不"))
            return true;
    }
    return false;
}

NoteReading readNote(TextView n, const BookExample &example)
{
    NoteReading out;
    out.strict = saysNoOther(n);
    const int stanzas = int(example.stanzas.size());
    QList<Segment> last; // the stretches of the sentence before, for one that names no place
    size_t previousEnd = 0;
    for (const Statement &s : statementsOf(n)) {
        const TextView clause = n.substr(previousEnd, s.start - previousEnd);
        const QList<FoundPlace> places = placesIn(clause, stanzas);
        QList<Segment> segments;
        const NotePlace before = last.isEmpty() ? NotePlace() : last.last().place;
        for (qsizetype p = 0; p < places.size(); ++p) {
            const size_t end = p + 1 < places.size() ? places[p + 1].start : clause.size();
            Segment seg{inherit(places[p].place, p > 0 ? segments.last().place : before),
                        quotesOf(clause.substr(places[p].end, end - places[p].end)),
                        {},
                        0};
            const auto [from, poet] = poetOf(clause.substr(0, places[p].start));
            seg.poet = poet.isEmpty() && !last.isEmpty() ? last.last().poet : poet;
            seg.start = previousEnd + std::min(from, places[p].start);
            segments << seg;
        }
        if (places.isEmpty() && !withoutBlanks(clause).empty()) {
            // Another poem at the same place: "葉詞别首酒闌歌罷酒字仄聲".
            size_t cut = 0;
            for (const TextView w : {U"别首", U"別首", U"一首", U"詞", U"云"})
                if (const size_t at = clause.rfind(w); at != TextView::npos)
                    cut = std::max(cut, at + w.size());
            const auto [from, poet] = poetOf(clause.substr(0, cut));
            segments << Segment{inherit({}, before), quotesOf(clause.substr(cut)), poet,
                                previousEnd + std::min(from, cut)};
        } else if (places.isEmpty()) {
            segments = last; // "上迢字平聲永字仄聲": the same quote
        }
        last = segments;
        previousEnd = s.end;
        const auto sentenceFrom = [&](const Segment &seg) {
            const size_t from = std::min(seg.start, s.start);
            return toQString(withoutBlanks(n.substr(from, s.end - from)));
        };
        for (const Group &g : s.groups) {
            const int count = g.position >= 0 ? 1 : int(g.chars.size());
            out.named += count;
            bool placed = false;
            Miss miss = segments.isEmpty() ? Miss::NoPlace : Miss::NoLine;
            // The stretch nearest the named characters first, then the ones before it.
            for (qsizetype i = segments.size() - 1; i >= 0 && !placed; --i) {
                const Segment &seg = segments[i];
                // No quote: the example's own character ("此詞第七句刻字入聲").
                const bool own = s.direct || seg.quotes.isEmpty();
                const QList<Text> quotes = own ? QList<Text>{Text()} : seg.quotes;
                if (!linesAt(seg.place, example).isEmpty())
                    miss = std::max(miss, Miss::Length);
                for (const Text &quote : quotes) {
                    const auto run = runFor(seg.place, example, own ? -1 : int(quote.size()));
                    if (!run)
                        continue;
                    const QList<size_t> at = offsetsOf(g, own ? TextView(run->second) : TextView(quote));
                    if (at.isEmpty()) {
                        miss = Miss::NotQuoted;
                        continue;
                    }
                    for (const size_t p : at)
                        for (int k = 0; k < count; ++k) {
                            FreePosition f = positionAt(example, run->first, p + size_t(k));
                            f.variant = s.tone;
                            f.variantCharacter = own || g.position >= 0
                                                     ? f.character
                                                     : toQString(TextView(&g.chars[size_t(k)], 1));
                            f.poet = own ? QString() : seg.poet;
                            f.evidence = sentenceFrom(seg);
                            out.free << f;
                        }
                    placed = true;
                    break;
                }
            }
            const QString sentence =
                sentenceFrom(segments.isEmpty() ? Segment{{}, {}, {}, s.start} : segments.last());
            if (!placed)
                for (int k = 0; k < count; ++k)
                    out.unplaced << QStringLiteral("%1：%2（%3）")
                                        .arg(missName(miss),
                                             g.position >= 0 ? QStringLiteral("第%1字").arg(g.position + 1)
                                                             : toQString(TextView(&g.chars[size_t(k)], 1)),
                                             sentence);
        }
    }
    return out;
}

} // namespace cipubook
