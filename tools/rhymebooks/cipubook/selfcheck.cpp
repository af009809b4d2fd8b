// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/selfcheck.h"

#include "tools/rhymebooks/cipubook/appendix.h"

namespace cipubook {

int rhymesAsHeaded(const BookExample &example, const FormHeading &heading)
{
    int die = 0;
    for (const StanzaHeading &s : heading.perStanza)
        die += s.die;
    int n = 0;
    for (const BookStanza &s : example.stanzas)
        for (const BookLine &l : s.lines)
            n += l.rhymed() && (l.end != LineEnd::Repeat || die > 0);
    return n;
}

bool agrees(const BookExample &example, const FormHeading &heading)
{
    return heading.characters > 0 && example.characters() == heading.characters &&
           rhymesAsHeaded(example, heading) == heading.rhymes();
}

bool formAgrees(const BookForm &form)
{
    return agrees(form.example, form.heading);
}

namespace {

void checkForm(const BookTune &tune, const BookForm &form, QList<Finding> &out)
{
    const auto add = [&](FindingKind kind, const QString &reason) {
        out.append({kind, form.place, tune.name, form.number, reason});
    };
    const FormHeading &h = form.heading;
    const BookExample &e = form.example;
    if (!h.read)
        add(FindingKind::Heading, QStringLiteral("标题未能读全：%1").arg(h.text));
    for (const QString &slip : h.slips)
        add(FindingKind::Slip, QStringLiteral("标题「%1」按 %2 读").arg(h.text, slip));
    for (const QString &slip : form.slips)
        add(FindingKind::Slip, QStringLiteral("例词%1").arg(slip));
    if (e.characters() != h.characters)
        add(FindingKind::Characters,
            QStringLiteral("标题 %1 字，例词 %2 字").arg(h.characters).arg(e.characters()));
    if (rhymesAsHeaded(e, h) != h.rhymes())
        add(FindingKind::Rhymes,
            QStringLiteral("标题 %1 韵，例词 %2 韵").arg(h.rhymes()).arg(rhymesAsHeaded(e, h)));
    if (h.stanzas > 0 && e.stanzas.size() != h.stanzas)
        add(FindingKind::Stanzas,
            QStringLiteral("标题 %1 段，例词 %2 段").arg(h.stanzas).arg(e.stanzas.size()));
    else if (h.perStanza.size() == e.stanzas.size())
        for (qsizetype s = 0; s < e.stanzas.size(); ++s)
            if (h.perStanza[s].lines >= 0 && h.perStanza[s].lines != e.stanzas[s].lines.size())
                add(FindingKind::Lines, QStringLiteral("第 %1 段：标题 %2 句，例词 %3 句")
                                            .arg(s + 1)
                                            .arg(h.perStanza[s].lines)
                                            .arg(e.stanzas[s].lines.size()));
    for (const BookStanza &s : e.stanzas)
        for (const BookLine &l : s.lines)
            if (l.end == LineEnd::Open)
                add(FindingKind::Unmarked, QStringLiteral("「%1」后无句读号").arg(l.text));
}

} // namespace

QList<Finding> selfCheck(const CipuBook &book)
{
    QList<Finding> out;
    QList<bool> listed(book.contents.size(), false);
    for (const BookTune &tune : book.tunes) {
        if (tune.contents < 0) {
            out.append({FindingKind::UnlistedTune, tune.place, tune.name, 0,
                        QStringLiteral("正文有此调（%1 体），目录无").arg(tune.forms.size())});
        } else {
            listed[tune.contents] = true;
            const ContentsEntry &entry = book.contents[tune.contents];
            if (entry.forms < 0)
                out.append({FindingKind::UncountedEntry, entry.place, tune.name, 0,
                            QStringLiteral("目录未注体数，正文 %1 体").arg(tune.forms.size())});
            else if (!tune.appendix && entry.forms != tune.forms.size())
                out.append(
                    {FindingKind::FormCount, tune.place, tune.name, 0,
                     QStringLiteral("目录 %1 体，正文 %2 体").arg(entry.forms).arg(tune.forms.size())});
            else if (tune.appendix && !tune.forms.isEmpty() &&
                     entry.forms != piecesOf(tune.forms.first().example))
                out.append({FindingKind::FormCount, tune.place, tune.name, 0,
                            QStringLiteral("目录 %1 首，正文 %2 首")
                                .arg(entry.forms)
                                .arg(piecesOf(tune.forms.first().example))});
        }
        if (tune.appendix)
            continue;
        for (const BookForm &form : tune.forms)
            checkForm(tune, form, out);
    }
    for (qsizetype e = 0; e < book.contents.size(); ++e)
        if (!listed[e])
            out.append({FindingKind::MissingTune, book.contents[e].place, book.contents[e].name, 0,
                        QStringLiteral("目录有此调，正文未见")});
    return out;
}

QString kindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Heading:
        return QStringLiteral("标题");
    case FindingKind::Characters:
        return QStringLiteral("字数");
    case FindingKind::Rhymes:
        return QStringLiteral("韵数");
    case FindingKind::Stanzas:
        return QStringLiteral("段数");
    case FindingKind::Lines:
        return QStringLiteral("句数");
    case FindingKind::Unmarked:
        return QStringLiteral("缺句读号");
    case FindingKind::MissingTune:
        return QStringLiteral("目录有正文无");
    case FindingKind::UnlistedTune:
        return QStringLiteral("正文有目录无");
    case FindingKind::FormCount:
        return QStringLiteral("体数");
    case FindingKind::UncountedEntry:
        return QStringLiteral("目录无体数");
    case FindingKind::Slip:
        return QStringLiteral("误字已读过");
    }
    return {};
}

} // namespace cipubook
