// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/heading.h"

#include <QSet>

namespace cipubook {

namespace {

bool isStanzaWord(char32_t c)
{
    return c == U'段';
}

// The numeral at `at`, moving past it; -1 and no move when there is none.
int takeNumeral(TextView text, size_t &at)
{
    size_t end = at;
    while (end < text.size() && isNumeralChar(text[end]))
        ++end;
    const int value = end > at ? numeral(text.substr(at, end - at)) : -1;
    if (value >= 0)
        at = end;
    return value;
}

// The 段 a designator names ("前後段各", "後一段", "第三段"; 叚 read as 段), moving past it; empty when
// none is.
QList<int> takeStanzas(TextView text, size_t &at, int stanzas)
{
    const TextView rest = text.substr(at);
    const auto word = [&](TextView w) {
        if (!startsWith(rest, w))
            return false;
        at += w.size();
        if (at < text.size() && text[at] == U'各')
            ++at;
        return true;
    };
    const int last = std::max(0, stanzas - 1);
    QList<int> all;
    for (int s = 0; s < std::max(1, stanzas); ++s)
        all << s;
    if (word(U"前後段") || word(U"毎段") || word(U"每段") || word(U"各段"))
        return all;
    if (word(U"前兩段") || word(U"前二段"))
        return {0, 1};
    if (word(U"後兩段") || word(U"後二段"))
        return {std::max(0, last - 1), last};
    if (word(U"前一段") || word(U"前段"))
        return {0};
    if (word(U"後一段") || word(U"後段"))
        return {last};
    if (word(U"中段"))
        return {1};
    // 第三段, 第三第四段各
    QList<int> numbered;
    size_t n = at;
    while (n + 1 < text.size() && text[n] == U'第') {
        size_t m = n + 1;
        const int number = takeNumeral(text, m);
        if (number <= 0)
            break;
        numbered << number - 1;
        n = m;
    }
    if (!numbered.isEmpty() && n < text.size() && isStanzaWord(text[n])) {
        at = n + 1;
        if (at < text.size() && text[at] == U'各')
            ++at;
        return numbered;
    }
    return {};
}

// "四仄韻", "兩叶韻", "一疊韻" into the counts; false when the text at `at` is not one.
bool takeRhymes(TextView text, size_t &at, StanzaHeading &into)
{
    size_t n = at;
    const int count = takeNumeral(text, n);
    if (count < 0 || n >= text.size())
        return false;
    if (text[n] == U'換' || text[n] == U'换')
        ++n;
    if (n + 1 >= text.size() || text[n + 1] != U'韻')
        return false;
    switch (text[n]) {
    case U'平':
        into.ping += count;
        break;
    case U'仄':
        into.ze += count;
        break;
    case U'叶':
    case U'卟':
    case U'吐':
        into.xie += count;
        break;
    case U'疊':
    case U'疉':
        into.die += count;
        break;
    case U'重':
        into.chong += count;
        break;
    default:
        return false;
    }
    at = n + 2;
    return true;
}

} // namespace

int stanzasOf(TextView text)
{
    if (text.size() < 2)
        return 0;
    const TextView kind = text.substr(0, 2);
    if (kind == U"單調")
        return 1;
    if (kind == U"雙調" || kind == U"雙詞" || kind == U"䨇調")
        return 2;
    if (kind[1] == U'段' || kind[1] == U'叚' || kind[1] == U'疊') {
        if (kind[0] == U'三')
            return 3;
        if (kind[0] == U'四')
            return 4;
    }
    return 0;
}

// Slips of the print in headings, read as what the other headings print there.
Text corrected(TextView text, QStringList &slips)
{
    Text out(text);
    for (char32_t &c : out)
        if (c == U'叚')
            c = U'段';
    const std::pair<TextView, TextView> words[] = {
        {U"從段", U"後段"}, {U"復段", U"後段"},     {U"后段", U"後段"},     {U"仄聲", U"仄韻"},
        {U"平聲", U"平韻"}, {U"西平韻", U"四平韻"}, {U"入仄韻", U"八仄韻"},
    };
    for (const auto &[slip, meant] : words)
        for (size_t at = out.find(slip); at != Text::npos; at = out.find(slip, at + meant.size())) {
            out.replace(at, slip.size(), meant);
            slips << QStringLiteral("%1 → %2").arg(toQString(slip), toQString(meant));
        }
    return out;
}

FormHeading readHeading(TextView printed)
{
    FormHeading h;
    h.text = toQString(printed);
    const Text text = corrected(printed, h.slips);
    h.stanzas = stanzasOf(text);
    if (h.stanzas == 0)
        return h;
    size_t at = 2;
    h.characters = takeNumeral(text, at);
    // 字, or 句 where the print slipped ("雙調九十九句前段九句…").
    if (h.characters <= 0 || at >= text.size() || (text[at] != U'字' && text[at] != U'句')) {
        h.characters = std::max(0, h.characters);
        return h;
    }
    if (text[at] == U'句')
        h.slips << QStringLiteral("%1句 → %1字").arg(h.characters);
    ++at;
    QList<StanzaHeading> byStanza(h.stanzas);
    QSet<int> stated;
    QList<int> waiting; // 段 whose 句 are stated and whose rhymes follow with 各 ("前段五句後段六句各四仄韻")
    bool understood = true;
    bool whole = false; // counts for the whole form, without 段 ("單調十四字兩句兩平韻")
    while (at < text.size() && understood) {
        QList<int> stanzas = takeStanzas(text, at, h.stanzas);
        if (stanzas.isEmpty()) {
            if (!stated.isEmpty() || whole) {
                understood = false;
                break;
            }
            whole = true;
            stanzas = {0};
        }
        StanzaHeading one;
        size_t n = at;
        const int lines = takeNumeral(text, n);
        // 句, or 字 where the print slipped ("後段十一字四仄韻").
        if (lines >= 0 && n < text.size() && (text[n] == U'句' || text[n] == U'字')) {
            if (text[n] == U'字')
                h.slips << QStringLiteral("%1字 → %1句").arg(lines);
            one.lines = lines;
            at = n + 1;
        }
        const bool each = at < text.size() && text[at] == U'各';
        if (each)
            ++at;
        bool rhymes = false;
        while (at < text.size() && takeRhymes(text, at, one))
            rhymes = true;
        if (one.lines < 0 && !rhymes) {
            understood = false;
            break;
        }
        for (const int s : stanzas) {
            if (s < 0 || s >= h.stanzas || stated.contains(s)) {
                understood = false;
                break;
            }
            byStanza[s] = one;
            stated.insert(s);
        }
        if (!rhymes) {
            waiting << stanzas;
        } else if (each) {
            for (const int s : std::as_const(waiting)) {
                const int keep = byStanza[s].lines;
                byStanza[s] = one;
                byStanza[s].lines = keep;
            }
            waiting.clear();
        }
    }
    if (whole && h.stanzas > 1)
        byStanza = byStanza.mid(0, 1); // the counts cover every 段 together
    h.perStanza = byStanza;
    h.read = understood && (whole || stated.size() == h.stanzas);
    return h;
}

} // namespace cipubook
