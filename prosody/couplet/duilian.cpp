// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/couplet/duilian.h"

#include "prosody/couplet/judge.h"
#include "prosody/couplet/regulated.h"
#include "prosody/reading/classes.h"

namespace prosody {

namespace {

// The 0-based lines of the 上联 and of the 下联: by the lines of the text when there are two, else
// the first half and the second; empty when the poem does not split in two.
std::pair<QList<int>, QList<int>> sides(const Poem &poem)
{
    QList<int> sourceLines;
    for (const Line &l : poem.lines)
        if (!sourceLines.contains(l.sourceLine))
            sourceLines.append(l.sourceLine);
    QList<int> upper, lower;
    const qsizetype n = poem.lines.size();
    for (int i = 0; i < n; ++i) {
        const bool first =
            sourceLines.size() == 2 ? poem.lines.at(i).sourceLine == sourceLines.first() : 2 * i < n;
        (first ? upper : lower).append(i);
    }
    if (upper.isEmpty() || lower.isEmpty() || (sourceLines.size() != 2 && n % 2 != 0))
        return {};
    return {upper, lower};
}

int sideLength(const PoemCheck &check, const QList<int> &side)
{
    int n = 0;
    for (int l : side)
        n += int(check.lines.at(l).line.size());
    return n;
}

QString toneWord(ToneClass c)
{
    return c == ToneClass::Ping ? QStringLiteral("平声") : QStringLiteral("仄声");
}

// The end of each side, and the rhythm points of each pair of clauses.
void judgeTones(PoemCheck &out, const QList<int> &upper, const QList<int> &lower)
{
    for (qsizetype k = 0; k < upper.size(); ++k) {
        LineCheck &u = out.lines[upper.at(k)];
        LineCheck &l = out.lines[lower.at(k)];
        const int length = int(u.line.size());
        const bool last = k == upper.size() - 1;
        u.pattern.fill(u'中', length);
        l.pattern.fill(u'中', length);
        QList<int> points; // 1-based: the 2nd, 4th … and the last
        for (int pos = 2; pos <= length; pos += 2)
            points.append(pos);
        if (!points.contains(length))
            points.append(length);
        for (int pos : points) {
            if (last && pos == length)
                break; // the ends of the two sides have a rule of their own
            const ToneClass a = u.tones.at(pos - 1), b = l.tones.at(pos - 1);
            if (!isDefinite(a))
                continue;
            l.pattern[pos - 1] = a == ToneClass::Ping ? u'仄' : u'平';
            if (b == a)
                out.findings.append({lower.at(k) + 1, pos, l.line.text(pos - 1, 1), FindingKind::Unmatched,
                                     Severity::Fault,
                                     QStringLiteral("%1：与上联「%2」同为%3，节奏点上平仄应相对")
                                         .arg(locator(lower.at(k) + 1, pos, l.line.text(pos - 1, 1)),
                                              u.line.text(pos - 1, 1), toneWord(a))});
        }
    }
    // The 上联 ends 仄, the 下联 平.
    const struct {
        int line;
        ToneClass wanted;
        const char16_t *side;
    } ends[] = {{upper.last(), ToneClass::Ze, u"上联"}, {lower.last(), ToneClass::Ping, u"下联"}};
    for (const auto &e : ends) {
        LineCheck &lc = out.lines[e.line];
        const int pos = int(lc.line.size());
        lc.pattern[pos - 1] = e.wanted == ToneClass::Ping ? u'平' : u'仄';
        const ToneClass c = lc.tones.at(pos - 1);
        if (isDefinite(c) && c != e.wanted)
            out.findings.append({e.line + 1, pos, lc.line.text(pos - 1, 1), FindingKind::Tones,
                                 Severity::Fault,
                                 QStringLiteral("%1：%2应以%3收尾，用了%4")
                                     .arg(locator(e.line + 1, pos, lc.line.text(pos - 1, 1)),
                                          QString::fromUtf16(e.side), toneWord(e.wanted), toneWord(c))});
    }
}

PoemCheck checkOne(const RhymeBooks &books, const Poem &poem, Book book, const PairSource *pairs)
{
    PoemCheck out;
    out.poem = poem;
    out.book = book;
    out.form = duilianForm;
    const Classes classes = classesOf(books, poem, book);
    for (qsizetype i = 0; i < poem.lines.size(); ++i) {
        LineCheck line;
        line.line = poem.lines.at(i);
        line.tones = classes.at(i);
        out.lines.append(line);
    }
    const auto [upper, lower] = sides(poem);
    if (upper.isEmpty()) {
        out.findings.append({0, 0, QString(), FindingKind::Length, Severity::Fault,
                             QStringLiteral("对联要有上联和下联：上联一行，下联一行")});
        return out;
    }
    bool even = upper.size() == lower.size();
    for (qsizetype k = 0; even && k < upper.size(); ++k)
        even = out.lines.at(upper.at(k)).line.size() == out.lines.at(lower.at(k)).line.size();
    const int upperLength = sideLength(out, upper), lowerLength = sideLength(out, lower);
    if (!even) {
        out.findings.append({0, 0, QString(), FindingKind::Length, Severity::Fault,
                             QStringLiteral("上联%1字，下联%2字，句读不相应：上下联要逐句字数相等")
                                 .arg(upperLength)
                                 .arg(lowerLength)});
        return out;
    }
    out.variant = QStringLiteral("%1字联").arg(chineseNumeral(upperLength));
    judgeTones(out, upper, lower);
    if (!pairs) {
        out.findings.append({0, 0, QString(), FindingKind::Parallel, Severity::Warning,
                             QStringLiteral("没有对仗数据（古典诗词文件缺少或是旧版本），只检查了平仄")});
    } else {
        for (qsizetype k = 0; k < upper.size(); ++k) {
            Couplet c = judgeWrittenCouplet(out.lines.at(upper.at(k)).line.chars,
                                            out.lines.at(lower.at(k)).line.chars, books.variants(), *pairs);
            c.upperLine = upper.at(k);
            c.lowerLine = lower.at(k);
            c.name = upper.size() == 1 ? duilianForm : QStringLiteral("第%1分句").arg(k + 1);
            c.middle = true;
            addCoupletFindings(out, c);
            out.couplets.append(c);
        }
    }
    out.sortFindings();
    return out;
}

} // namespace

QList<PoemCheck> checkDuilian(const RhymeBooks &books, const QList<Poem> &poems, Book book,
                              const PairSource *pairs)
{
    QList<PoemCheck> out;
    for (const Poem &poem : poems)
        out.append(checkOne(books, poem, book, pairs));
    return out;
}

} // namespace prosody
