// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/cipu/cipusheethtml.h"

#include "presentation/gelv/cipu/cipusheet.h"
#include "prosody/couplet/couplet.h"

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString lineRow(int number, const CiLineSheet &line, bool counted)
{
    QString row = QStringLiteral("<tr><td style='color:#888' align='right'>%1</td>").arg(number);
    for (const CiPlaceSheet &p : line.places) {
        row += QStringLiteral("<td align='center'><span style='font-size:large'>%1</span>").arg(p.mark);
        if (p.dou)
            row += QStringLiteral("<span style='color:#b00000'>、</span>");
        if (counted)
            row += QStringLiteral("<br><span style='font-size:small;color:#555'>平%1<br>仄%2</span>")
                       .arg(p.ping)
                       .arg(p.ze);
        row += QStringLiteral("</td>");
    }
    const bool rhyme = line.end.contains(u'韵') || line.end.contains(u'叶');
    return row + QStringLiteral("<td style='color:%1'>（%2）</td></tr>")
                     .arg(rhyme ? QStringLiteral("#b00000") : QStringLiteral("#555"), escaped(line.end));
}

} // namespace

QString cipuSheetHtml(const CiFormSheet &sheet)
{
    QString html = QStringLiteral("<h3>%1</h3><p>%2 · %3 字 · %4<br>%5</p>")
                       .arg(escaped(sheet.title), juanName(sheet.juan))
                       .arg(sheet.characters)
                       .arg(escaped(sheet.tier), escaped(sheet.evidence));
    if (!sheet.counted)
        html += QStringLiteral("<p style='color:#555'>词作中无此体：各处平仄据谱。</p>");
    int number = 0;
    for (qsizetype s = 0; s < sheet.stanzas.size(); ++s) {
        if (sheet.stanzas.size() > 1)
            html += QStringLiteral("<p><b>第%1段</b></p>").arg(prosody::chineseNumeral(int(s + 1)));
        html += QStringLiteral("<table cellspacing='0' cellpadding='3'>");
        for (const CiLineSheet &line : sheet.stanzas[s])
            html += lineRow(++number, line, sheet.counted);
        html += QStringLiteral("</table>");
    }
    if (!sheet.example.isEmpty())
        html += QStringLiteral("<p><b>例词</b>（%1）<br>%2</p>")
                    .arg(escaped(sheet.author.isEmpty() ? QStringLiteral("无名氏") : sheet.author),
                         escaped(sheet.example));
    if (!sheet.note.isEmpty())
        html += QStringLiteral("<p><b>谱注</b><br>%1</p>").arg(escaped(sheet.note));
    return html;
}
