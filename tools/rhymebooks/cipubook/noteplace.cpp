// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/noteplace.h"

namespace cipubook {

namespace {

// Consecutive 句 written together: "九十" the ninth and tenth (no 段 has ninety 句), "三四五", "十一二"
// the eleventh and twelfth.
QList<int> runOf(TextView digits, int after)
{
    if (digits.empty())
        return {};
    for (size_t cut = 1; cut <= digits.size(); ++cut) {
        const int n = numeral(digits.substr(0, cut));
        const bool next =
            after < 0 ? n > 0 : (n == after + 1 || (after >= 10 && n == (after + 1) % 10 && n > 0));
        if (!next)
            continue;
        const int value = after >= 10 && n < 10 ? after + 1 : n;
        if (cut == digits.size())
            return {value};
        QList<int> rest = runOf(digits.substr(cut), value);
        if (!rest.isEmpty()) {
            rest.prepend(value);
            return rest;
        }
    }
    return {};
}

QList<int> lineNumbers(TextView digits)
{
    const int whole = numeral(digits);
    if (whole > 0 && whole <= 40)
        return {whole};
    return runOf(digits, -1);
}

// "第二句", "第二三句", "起句", "結句", "末句" at the head of text: the 句 (1-based, -1 the last) and
// the length of the words.
std::optional<std::pair<QList<int>, size_t>> lineWords(TextView text)
{
    if (startsWith(text, U"起句"))
        return std::pair{QList<int>{1}, size_t(2)};
    if (startsWith(text, U"結兩句") || startsWith(text, U"結二句"))
        return std::pair{QList<int>{-2, -1}, size_t(3)};
    if (startsWith(text, U"結句") || startsWith(text, U"末句"))
        return std::pair{QList<int>{-1}, size_t(2)};
    if (text.empty() || text[0] != U'第')
        return std::nullopt;
    size_t n = 1;
    while (n < text.size() && isNumeralChar(text[n]))
        ++n;
    if (n == 1 || n >= text.size() || text[n] != U'句')
        return std::nullopt;
    QList<int> lines = lineNumbers(text.substr(1, n - 1));
    if (lines.isEmpty())
        return std::nullopt;
    // "第十句十一句": the next 句 named without 第.
    size_t end = n + 1, more = end;
    while (more < text.size() && isNumeralChar(text[more]))
        ++more;
    if (more > end && more < text.size() && text[more] == U'句' &&
        numeral(text.substr(end, more - end)) == lines.last() + 1) {
        lines << lines.last() + 1;
        end = more + 1;
    }
    return std::pair{lines, end};
}

struct Word {
    TextView text;
    QList<int> stanzas; // -1: the last 段
    QList<int> lines;
    bool bothEnds = false;
};

// Longer words first, so that 前後段 is not read as 後段.
const QList<Word> &stanzaWords()
{
    static const QList<Word> words = {
        {U"前後段兩結句", {0, -1}, {-1}, true},
        {U"前後兩結句", {0, -1}, {-1}, true},
        {U"前後兩結", {0, -1}, {-1}, true},
        {U"前後結", {0, -1}, {-1}, true},
        {U"兩結句", {0, -1}, {-1}, true},
        {U"兩結", {0, -1}, {-1}, true},
        {U"前結", {0}, {-1}, false},
        {U"後結", {-1}, {-1}, false},
        {U"換頭句", {-1}, {1}, false},
        {U"換頭", {-1}, {1}, false},
        {U"前後段", {0, -1}, {}, false},
        {U"前段", {0}, {}, false},
        {U"後段", {-1}, {}, false},
        {U"中段", {1}, {}, false},
        {U"第一段", {0}, {}, false},
        {U"第二段", {1}, {}, false},
        {U"第三段", {2}, {}, false},
        {U"第四段", {3}, {}, false},
    };
    return words;
}

} // namespace

QList<FoundPlace> placesIn(TextView text, int stanzas)
{
    QList<FoundPlace> found;
    size_t at = 0;
    while (at < text.size()) {
        const TextView rest = text.substr(at);
        const auto word = std::find_if(stanzaWords().begin(), stanzaWords().end(),
                                       [&](const Word &w) { return startsWith(rest, w.text); });
        if (word != stanzaWords().end()) {
            FoundPlace p{{{}, word->lines, word->bothEnds}, at, at + word->text.size()};
            for (const int s : word->stanzas)
                p.place.stanzas << (s < 0 ? std::max(0, stanzas - 1) : s);
            if (p.place.lines.isEmpty())
                if (const auto line = lineWords(text.substr(p.end))) {
                    p.place.lines = line->first;
                    p.end += line->second;
                }
            found << p;
            at = p.end;
        } else if (const auto line = lineWords(rest)) {
            found << FoundPlace{{{}, line->first, false}, at, at + line->second};
            at = found.last().end;
        } else {
            ++at;
        }
    }
    return found;
}

NotePlace inherit(const NotePlace &place, const NotePlace &before)
{
    NotePlace out = place;
    if (out.stanzas.isEmpty())
        out.stanzas = before.stanzas.isEmpty() ? QList<int>{0} : before.stanzas;
    if (out.lines.isEmpty()) {
        out.lines = before.lines;
        out.bothEnds = before.bothEnds;
    }
    return out;
}

QList<LineRun> linesAt(const NotePlace &place, const BookExample &example)
{
    const auto lineOf = [&](int stanza, int line) -> int {
        if (stanza < 0 || stanza >= example.stanzas.size())
            return -1;
        const int count = int(example.stanzas[stanza].lines.size());
        const int index = line < 0 ? count + line : line - 1; // -1 the last, -2 the one before it
        return index >= 0 && index < count ? index : -1;
    };
    QList<LineRun> out;
    if (place.bothEnds) {
        LineRun ends;
        for (const int s : place.stanzas)
            if (const int l = lineOf(s, -1); l >= 0)
                ends.append({s, l});
        out << ends;
        // 兩結 names two 句 but a quote may give only one of them.
        for (const auto &end : ends)
            out << LineRun{end};
        return out;
    }
    LineRun all; // 前後段第四句 quoted as both 句 in turn
    for (const int s : place.stanzas) {
        LineRun run;
        for (const int line : place.lines)
            if (const int l = lineOf(s, line); l >= 0)
                run.append({s, l});
        if (!run.isEmpty() && run.size() == place.lines.size()) {
            out << run;
            all << run;
        }
    }
    if (place.stanzas.size() > 1 && all.size() > place.lines.size())
        out << all;
    return out;
}

} // namespace cipubook
