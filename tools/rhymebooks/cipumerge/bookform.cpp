// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipumerge/bookform.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace cipumerge {

using namespace builddb;
using cipubook::BookLine;
using cipubook::LineEnd;

namespace {

// The book's printing takes 巳, 已 and 己 for one another, in poets' names as well: each name as the
// poet wrote it.
QString authorName(const QString &printed)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("冯延已"), QStringLiteral("冯延巳")},
        {QStringLiteral("冯延己"), QStringLiteral("冯延巳")},
        {QStringLiteral("段克已"), QStringLiteral("段克己")},
        {QStringLiteral("段成已"), QStringLiteral("段成己")},
    };
    return names.value(printed, printed);
}

QChar classOf(const CiLookup &lookup, char32_t c)
{
    const auto it = lookup.constFind(c);
    if (it == lookup.constEnd() || (!it->ping && !it->ze))
        return u'缺';
    return it->ping && it->ze ? u'中' : it->ping ? u'平' : u'仄';
}

QString markOf(const BookLine &line)
{
    QString kind;
    switch (line.end) {
    case LineEnd::Ju:
    case LineEnd::Open:
        return QStringLiteral("句");
    case LineEnd::Rhyme:
        kind = QStringLiteral("韵");
        break;
    case LineEnd::Xie:
        kind = QStringLiteral("叶");
        break;
    case LineEnd::Repeat:
        kind = QStringLiteral("叠");
        break;
    case LineEnd::Double:
        kind = QStringLiteral("重");
        break;
    }
    return (line.rhymeChange ? QStringLiteral("换") : QString()) +
           (line.rhymeTone.isNull() ? QString() : QString(line.rhymeTone)) + kind;
}

bool shares(const QList<int> &a, const QList<int> &b)
{
    return std::any_of(a.begin(), a.end(), [&](int s) { return b.contains(s); });
}

} // namespace

QList<RhymeRun> rhymeRunsOf(const QList<RhymeMark> &marks)
{
    struct Run {
        QChar tone; // null until a rhyme of one class or a mark names it (中 and 重 read both ways)
        QList<int> sections;
    };
    QList<Run> runs;
    int current = -1;
    // The earlier run of this tone (any tone when null) whose 部 the rhyme shares, else -1.
    const auto earlier = [&](QChar tone, const QList<int> &sections) {
        for (qsizetype r = 0; r < runs.size(); ++r)
            if ((tone.isNull() || runs[r].tone == tone) && shares(runs[r].sections, sections))
                return int(r);
        return -1;
    };
    QList<RhymeRun> out;
    for (const RhymeMark &m : marks) {
        if (!m.rhymed) {
            out.append(RhymeRun{});
            continue;
        }
        const QChar tone = !m.tone.isNull() ? m.tone : m.character;
        int run = current;
        if (current < 0) {
            run = -1;
        } else if (m.change) {
            run = -1;
        } else if (!m.tone.isNull() && !runs[current].tone.isNull() && m.tone != runs[current].tone) {
            run = earlier(tone, m.sections);
        } else if (!shares(runs[current].sections, m.sections)) {
            // A 叶 of another 部, or a 韵 that goes back to an earlier rhyme unmarked (the second 段 of
            // 撷芳词 returns to the first's 部 after a 换韵): the earlier run whose 部 it shares.
            const int back = earlier(m.xie ? QChar() : tone, m.sections);
            run = back >= 0 ? back : current;
        }
        if (run < 0) {
            runs.append(Run{tone, {}});
            run = int(runs.size()) - 1;
        }
        // A 叶 rhymes in the other class (西江月's 叶仄 in a 平 run): it never sets the run's.
        if (runs[run].tone.isNull() && !m.xie)
            runs[run].tone = tone;
        for (int s : m.sections)
            if (!runs[run].sections.contains(s))
                runs[run].sections.append(s);
        current = run;
        out.append(RhymeRun{run + 1, tone});
    }
    // A rhyme whose character reads both ways takes its run's class; a run of such rhymes alone, 仄.
    for (RhymeRun &r : out)
        if (r.run && r.tone.isNull())
            r.tone = runs[r.run - 1].tone.isNull() ? QChar(u'仄') : runs[r.run - 1].tone;
    return out;
}

DerivedForm formOfBook(const cipubook::BookForm &book, int juan, const BookCharacters &chars,
                       const CiLookup &lookup)
{
    DerivedForm form;
    form.source = FormSource::Book;
    form.bookNumber = book.number;
    form.author = authorName(chars(book.author).remove(QChar(0x3000)).remove(u' '));
    form.juan = juan;
    form.note = book.note;
    form.compared = !book.strict && !book.free.isEmpty();

    QList<RhymeMark> marks;
    QHash<std::pair<int, int>, int> lineOf; // (段, 句) of the book → the form's line
    QStringList bookText, opening;
    bool opened = false;
    for (qsizetype s = 0; s < book.example.stanzas.size(); ++s) {
        const cipubook::BookStanza &stanza = book.example.stanzas[s];
        if (s > 0) {
            form.stanzaStarts.append(int(form.lines.size()));
            bookText << QStringLiteral("　");
        }
        for (qsizetype b = 0; b < stanza.lines.size(); ++b) {
            const BookLine &bookLine = stanza.lines[b];
            const QString text = chars(bookLine.text);
            QList<char32_t> code;
            for (const uint c : text.toUcs4())
                code.append(char32_t(c));
            if (code.isEmpty())
                continue; // a mark the reader found no verse before: no place to check
            lineOf.insert({int(s), int(b)}, int(form.lines.size()));
            DerivedLine line;
            line.length = int(code.size());
            line.dou = bookLine.dou;
            line.mark = markOf(bookLine);
            for (const char32_t c : code) {
                DerivedPosition p;
                p.book = classOf(lookup, c);
                line.positions.append(p);
            }
            RhymeMark mark;
            // A 疊 repeats the phrase before it, and rhymes only where that one does (法驾导引's
            // 朝元路，朝元路 opens on a 句).
            const bool repeatsUnrhymed =
                bookLine.end == LineEnd::Repeat && (marks.isEmpty() || !marks.last().rhymed);
            mark.rhymed = bookLine.rhymed() && !repeatsUnrhymed && !code.isEmpty();
            mark.change = bookLine.rhymeChange;
            mark.xie = bookLine.end == LineEnd::Xie;
            mark.tone = bookLine.rhymeTone;
            if (mark.rhymed) {
                const CiCharInfo info = lookup.value(code.last());
                mark.sections = info.sections;
                mark.character = info.ping == info.ze ? QChar() : info.ping ? u'平' : u'仄';
            }
            marks.append(mark);
            form.lines.append(line);
            // The example's 句 with their 读 and marks, as the book prints them.
            QString shown;
            for (qsizetype i = 0; i < code.size(); ++i) {
                if (i > 0 && bookLine.dou.contains(int(i)))
                    shown += QStringLiteral("（读）");
                shown += QString::fromUcs4(&code[i], 1);
            }
            bookText << shown + u'（' + line.mark + u'）';
            if (!opened) {
                opening << text;
                opened = mark.rhymed;
            }
        }
    }
    form.bookText = bookText.join(QString());
    form.example = form.author + u'：' + opening.join(u'，') + u'。';
    if (!form.stanzaStarts.isEmpty())
        form.stanzaBreak = form.stanzaStarts.first() + 1;

    // The note's characters of another class at a place free it.
    for (const cipubook::FreePosition &f : book.free) {
        const int line = lineOf.value({f.stanza, f.line}, -1);
        if (line < 0 || line >= form.lines.size() || f.index < 0 || f.index >= form.lines[line].length)
            continue;
        QChar &mark = form.lines[line].positions[f.index].book;
        if ((f.variant == cipubook::Tone::Ping && mark == u'仄') ||
            (f.variant == cipubook::Tone::Ze && mark == u'平'))
            mark = u'中';
    }

    const QList<RhymeRun> runs = rhymeRunsOf(marks);
    QSet<int> runIds;
    QSet<QChar> tones;
    for (qsizetype l = 0; l < form.lines.size(); ++l) {
        form.lines[l].rhymeRun = runs[l].run;
        form.lines[l].rhymeTone = runs[l].tone;
        if (runs[l].run) {
            runIds.insert(runs[l].run);
            tones.insert(runs[l].tone);
        }
    }
    form.scheme = runIds.size() > 1       ? QStringLiteral("换韵")
                  : tones.size() > 1      ? QStringLiteral("平仄通叶")
                  : tones.contains(u'平') ? QStringLiteral("平韵")
                                          : QStringLiteral("仄韵");
    return form;
}

} // namespace cipumerge
