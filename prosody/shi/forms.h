// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace prosody {

// The regulated forms the check knows; Auto recognises the form from the lines.
enum class Form { Auto, Jueju, Lvshi, Pailv };

// "五言绝句", "七言律诗", "五言排律" for a form and a line length of 5 or 7.
QString formName(Form form, int length);
// The names the caller may give: 自动, 五绝/五言绝句, 七绝, 五律, 七律, 排律 …; the length is
// set when the name holds it (5 or 7), else 0.
struct FormChoice {
    Form form = Form::Auto;
    int length = 0;

    bool operator==(const FormChoice &) const = default;
};
std::optional<FormChoice> formFromName(const QString &name);
// The form a count of lines makes: 4 绝句, 8 律诗, 10 or more and even 排律.
std::optional<Form> formOfLineCount(qsizetype lines);

// The four line types of regulated verse (王力): A 仄仄平平仄, B 平平仄仄平, C 平平平仄仄, D 仄仄仄平平; the
// seven-character lines put the opposite pair in front.
enum class LineType { A, B, C, D };
QString templateOf(LineType type, int length); // "平平仄仄仄平平"
bool isRhymedType(LineType type);

// 平起 or 仄起 (the class of line 1 at its second character) and whether line 1 rhymes.
struct Variant {
    bool pingStart = false;
    bool firstRhymed = false;
    QString name() const; // "平起首句入韵"
};
// The line types of a poem of lines × length in a variant: the quatrain repeats, and only line 1
// may take the rhymed form.
QList<LineType> lineTypes(Variant variant, int lines, int length);

// Positions (1-based) the template fixes: 2 and 4 (and 6), and the last.
QList<int> fixedPositions(int length);

} // namespace prosody
