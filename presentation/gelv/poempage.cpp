// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/poempage.h"

ExamplesSource::PoemPage poemPageOf(const classics::Poem &poem)
{
    const auto escape = [](const QString &t) { return t.toHtmlEscaped(); };
    QString html = QStringLiteral("<h3>%1</h3><p>%2 · %3</p><p>")
                       .arg(escape(poem.title), escape(poem.dynasty), escape(poem.author));
    QStringList lines;
    for (const QString &line : poem.lines)
        lines << escape(line);
    html += lines.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
    if (!poem.notes.isEmpty())
        html += QStringLiteral("<p style=\"color:#555\">%1</p>")
                    .arg(escape(poem.notes).replace(u'\n', QStringLiteral("<br>")));
    html += QStringLiteral("<p style=\"color:#555\">出处：%1</p>").arg(escape(poem.source));
    return {QStringLiteral("%1 · %2").arg(poem.title, poem.author), html};
}
