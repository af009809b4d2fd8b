// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/mending.h"

#include "tools/rhymebooks/cipubook/selfcheck.h"

namespace cipubook {

namespace {

struct Spot {
    qsizetype line = 0;
    size_t at = 0;
};

// Full-size 韻 句 讀 叶 in the verse, outside the small print.
QList<Spot> spotsOf(const QList<PrintedLine> &lines)
{
    QList<Spot> out;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        int depth = 0;
        const Text &t = lines[l].text;
        for (size_t i = 0; i < t.size(); ++i) {
            if (t[i] == U'(')
                ++depth;
            else if (t[i] == U')')
                --depth;
            else if (depth == 0 && TextView(U"韻句讀叶").find(t[i]) != TextView::npos)
                out.append({l, i});
        }
    }
    return out;
}

QList<PrintedLine> asMarks(QList<PrintedLine> lines, const QList<Spot> &spots)
{
    // From the last, so the earlier offsets stay good.
    for (qsizetype i = spots.size() - 1; i >= 0; --i) {
        Text &t = lines[spots[i].line].text;
        const char32_t mark = t[spots[i].at];
        t.replace(spots[i].at, 1, Text(U"(") + mark + U"/)");
    }
    return lines;
}

QString slipOf(const QList<PrintedLine> &lines, const Spot &s)
{
    const Text &t = lines[s.line].text;
    const size_t from = s.at >= 3 ? s.at - 3 : 0;
    return QStringLiteral("「%1」的%2读作句读号")
        .arg(toQString(TextView(t).substr(from, s.at - from + 1)), toQString(TextView(t).substr(s.at, 1)));
}

} // namespace

MendedExample readMendedExample(const QList<PrintedLine> &lines, const FormHeading &heading)
{
    MendedExample out{readExample(lines).example, {}};
    if (heading.characters <= 0 || agrees(out.example, heading))
        return out;
    // The last 句 of a 词 ends on its rhyme; a mark lost at the foot of the last column is that one.
    if (!out.example.stanzas.isEmpty() && !out.example.stanzas.last().lines.isEmpty() &&
        out.example.stanzas.last().lines.last().end == LineEnd::Open) {
        BookExample closed = out.example;
        BookLine &last = closed.stanzas.last().lines.last();
        last.end = LineEnd::Rhyme;
        if (agrees(closed, heading))
            return {closed, {QStringLiteral("末句「%1」后缺韵号，读作韵").arg(last.text)}};
    }
    const QList<Spot> spots = spotsOf(lines);
    for (const Spot &s : spots) {
        const BookExample tried = readExample(asMarks(lines, {s})).example;
        if (agrees(tried, heading))
            return {tried, {slipOf(lines, s)}};
    }
    if (spots.size() > 1 && spots.size() <= 4) {
        const BookExample tried = readExample(asMarks(lines, spots)).example;
        if (agrees(tried, heading)) {
            MendedExample all{tried, {}};
            for (const Spot &s : spots)
                all.slips << slipOf(lines, s);
            return all;
        }
    }
    return out;
}

} // namespace cipubook
