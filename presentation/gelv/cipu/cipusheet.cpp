// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/cipu/cipusheet.h"

#include "prosody/ci/cipu.h"
#include "prosody/couplet/couplet.h"

using namespace prosody;

namespace {

// The book's 段 where it gives them, else the 片 break the corpus's poems show.
QList<int> stanzaStarts(const CiForm &form)
{
    if (!form.stanzaStarts.isEmpty())
        return form.stanzaStarts;
    return form.stanzaBreak > 0 ? QList<int>{form.stanzaBreak} : QList<int>{};
}

CiLineSheet lineSheet(const CiLine &line)
{
    CiLineSheet out;
    for (const CiPosition &p : line.positions)
        out.places.append({classMark(p.tone), p.ping, p.ze, false});
    for (int after : line.dou)
        if (after > 0 && after < out.places.size())
            out.places[after - 1].dou = true;
    // A form of the corpus alone has no marks of the book: its rhymes are the line ends it rhymes.
    out.end = !line.mark.isEmpty() ? line.mark
              : line.rhymeRun > 0  ? QStringLiteral("韵")
                                   : QStringLiteral("句");
    return out;
}

} // namespace

QString CiLineSheet::pattern() const
{
    QString out;
    for (const CiPlaceSheet &p : places) {
        out += p.mark;
        if (p.dou)
            out += QStringLiteral("（读）");
    }
    return out + u'（' + end + u'）';
}

QString CiFormSheet::pattern() const
{
    QStringList parts;
    for (const QList<CiLineSheet> &stanza : stanzas) {
        QString text;
        for (const CiLineSheet &line : stanza)
            text += line.pattern();
        parts << text;
    }
    return parts.join(QStringLiteral(" ｜ "));
}

CiFormSheet sheetOf(const CiTune &tune, const CiForm &form)
{
    CiFormSheet out;
    out.ref = {tune.name, form.number};
    out.title = tune.name + QStringLiteral(" · ") + form.name();
    out.characters = form.characters();
    out.juan = form.juan > 0 ? form.juan : tune.juan;
    out.tier = form.tierName();
    out.evidence = form.evidence();
    out.counted = form.poems > 0;
    if (!form.bookText.isEmpty()) {
        out.author = form.author;
        out.example = form.bookText;
    } else {
        // The corpus's example is "赵鼎：惜别怀归老不禁。".
        const qsizetype colon = form.example.indexOf(u'：');
        out.author = colon > 0 ? form.example.left(colon) : QString();
        out.example = form.example.mid(colon + 1);
    }
    out.note = form.note;
    const QList<int> starts = stanzaStarts(form);
    out.stanzas.append(QList<CiLineSheet>());
    for (qsizetype i = 0; i < form.lines.size(); ++i) {
        if (i > 0 && starts.contains(int(i)))
            out.stanzas.append(QList<CiLineSheet>());
        out.stanzas.last().append(lineSheet(form.lines[i]));
    }
    return out;
}

QString juanName(int juan)
{
    return juan > 0 ? u'卷' + prosody::chineseNumeral(juan) : QStringLiteral("谱外");
}
