// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/markedrows.h"

#include "prosody/ci/cipu.h"

using namespace prosody;

namespace {

MarkedRow lineRow(const PoemCheck &check, qsizetype l)
{
    const LineCheck &lc = check.lines.at(l);
    const CiLine *ciLine = check.isCi() && lc.formLine >= 0 && lc.formLine < check.ciForm->lines.size()
                               ? &check.ciForm->lines.at(lc.formLine)
                               : nullptr;
    MarkedRow row;
    for (qsizetype i = 0; i < lc.line.size(); ++i) {
        row.chars.append(lc.line.text(i, 1));
        row.marks += classMark(lc.tones.at(i));
        const QChar want = i < lc.pattern.size() ? lc.pattern.at(i) : QChar();
        if (check.isCi()) {
            // A 词 shows its whole pattern over the line: ○ 平, ● 仄, ◎ 中.
            row.expected += want == u'平' ? u'○' : want == u'仄' ? u'●' : want == u'中' ? u'◎' : u' ';
        } else {
            const bool differs = (want == u'平' && lc.tones.at(i) == ToneClass::Ze) ||
                                 (want == u'仄' && lc.tones.at(i) == ToneClass::Ping);
            row.expected += differs ? want : QChar(u' ');
        }
        row.faults.append(false);
        row.rhymes.append(lc.rhymed && i == lc.line.size() - 1);
        QString tip = QStringLiteral("%1：%2").arg(lc.line.text(i, 1)).arg(className(lc.tones.at(i)));
        if (ciLine && i < lc.tips.size() && !lc.tips.at(i).isEmpty())
            tip += QStringLiteral("\n谱：") + lc.tips.at(i);
        row.tips.append(tip);
    }
    if (lc.rhymed && !(lc.rhymeGroup.isEmpty() ? check.rhyme : lc.rhymeGroup).isEmpty())
        row.rhyme = QStringLiteral("韵·%1").arg(lc.rhymeGroup.isEmpty() ? check.rhyme : lc.rhymeGroup);
    for (const Finding &f : check.findings) {
        if (f.line != l + 1 || f.pos < 1 || f.pos > row.chars.size())
            continue;
        if (f.isFault())
            row.faults[f.pos - 1] = true;
        row.tips[f.pos - 1] += u'\n' + f.text;
    }
    return row;
}

MarkedRow coupletRow(const CoupletMarks &marks)
{
    MarkedRow row;
    row.kind = MarkedRow::Kind::Couplet;
    row.summary = marks.summary;
    row.ok = marks.parallel;
    row.units = marks.units;
    row.tips = marks.tips;
    return row;
}

MarkedRow gap()
{
    MarkedRow row;
    row.kind = MarkedRow::Kind::Gap;
    return row;
}

MarkedRow patternRow(const CiLine &line, int poems)
{
    MarkedRow row;
    row.kind = MarkedRow::Kind::Pattern;
    row.marks = line.marks();
    for (const CiPosition &p : line.positions)
        row.tips.append(p.tip(poems));
    if (line.rhymeRun > 0)
        row.rhyme = QStringLiteral("韵%1（%2）").arg(line.rhymeRun).arg(className(line.rhymeTone));
    return row;
}

// A line of a 诗 still to write: its template's marks, and the rhyme where it rhymes.
MarkedRow pendingRow(const PoemCheck::PendingLine &line, const QString &rhyme)
{
    MarkedRow row;
    row.kind = MarkedRow::Kind::Pattern;
    for (QChar c : line.pattern) {
        row.marks += c == u'平' ? u'○' : c == u'仄' ? u'●' : u'◎';
        row.tips.append(c == u'中' ? QStringLiteral("可平可仄") : QStringLiteral("应%1").arg(c));
    }
    if (line.rhymed)
        row.rhyme = rhyme.isEmpty() ? QStringLiteral("韵") : QStringLiteral("韵·%1").arg(rhyme);
    return row;
}

// The 词 along its form: each written line over its pattern, the form's lines not yet written as
// their pattern alone, and a gap between the 片.
void addCi(QList<MarkedRow> &rows, const PoemCheck &check)
{
    const CiForm &form = *check.ciForm;
    int next = 0; // the form's next line to show
    const auto patternRows = [&](int upTo) {
        for (; next < upTo && next < form.lines.size(); ++next) {
            if (next == form.stanzaBreak && next > 0)
                rows.append(gap());
            rows.append(patternRow(form.lines.at(next), form.poems));
        }
    };
    for (qsizetype l = 0; l < check.lines.size(); ++l) {
        const int formLine = check.lines.at(l).formLine;
        if (formLine >= next) {
            patternRows(formLine); // lines of the form the poem skipped
            if (formLine == form.stanzaBreak && formLine > 0)
                rows.append(gap());
            next = formLine + 1;
        }
        rows.append(lineRow(check, l));
    }
    patternRows(int(form.lines.size()));
}

} // namespace

QList<MarkedRow> markedRows(const QList<PoemCheck> &checks)
{
    QList<MarkedRow> rows;
    for (const PoemCheck &check : checks) {
        MarkedRow summary;
        summary.kind = MarkedRow::Kind::Summary;
        summary.summary = check.summary();
        if (check.isCi())
            summary.summary += QStringLiteral(" · ") + check.ciForm->evidence();
        summary.ok = check.ok();
        rows.append(summary);
        if (check.isCi()) {
            addCi(rows, check);
        } else {
            for (qsizetype l = 0; l < check.lines.size(); ++l) {
                rows.append(lineRow(check, l));
                if (std::optional<CoupletMarks> marks = coupletMarks(check, int(l)))
                    rows.append(coupletRow(*marks));
            }
            for (const PoemCheck::PendingLine &line : check.pending)
                rows.append(pendingRow(line, check.rhyme));
        }
    }
    return rows;
}

QString spokenVerdict(const QList<MarkedRow> &rows)
{
    QStringList out;
    for (const MarkedRow &row : rows)
        if (row.kind == MarkedRow::Kind::Summary)
            out << row.summary;
    return out.join(QStringLiteral("；"));
}

QString spokenLines(const QList<MarkedRow> &rows)
{
    QStringList out;
    for (const MarkedRow &row : rows) {
        if (row.kind == MarkedRow::Kind::Line)
            out << row.chars.join(QString()) + u' ' + row.marks;
        else if (row.kind == MarkedRow::Kind::Pattern)
            out << QStringLiteral("待写 ") + row.marks;
    }
    return out.join(u'\n');
}
