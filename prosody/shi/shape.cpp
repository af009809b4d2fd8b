// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/shape.h"

#include <QHash>

#include <tuple>

namespace prosody {

namespace {

// What the lengths of the lines make.
struct Shape {
    enum Outcome { Regular, Uneven, NotFiveOrSeven, OtherLength, TooMany } outcome = Regular;
    int common = 0;   // the length most lines have
    QList<int> slips; // lines of another length, the one being typed apart
    bool partial = false;
    int formLines = 0;
};

// The commonest length of the lines, preferring 5 or 7, then the longer one.
int commonLength(const QList<int> &lengths)
{
    QHash<int, int> counts;
    for (int n : lengths)
        ++counts[n];
    int best = 0;
    const auto rank = [&](int n) { return std::tuple(counts.value(n), n == 5 || n == 7, n); };
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (best == 0 || rank(it.key()) > rank(best))
            best = it.key();
    return best;
}

Shape shapeOf(const QList<Line> &lines, FormChoice choice)
{
    Shape s;
    const int n = int(lines.size());
    QList<int> lengths;
    for (const Line &l : lines)
        lengths.append(int(l.size()));
    // The last line, while it is typed, does not vote for the length.
    const bool lastOpen = !lines.last().closed;
    s.common = commonLength(n > 1 && lastOpen ? lengths.mid(0, n - 1) : lengths);
    if (n == 1 && lastOpen && s.common < 7)
        s.common = choice.length != 0 ? choice.length : s.common == 6 ? 7 : 5;
    if (s.common != 5 && s.common != 7) {
        const bool even = std::all_of(lengths.begin(), lengths.end(), [&](int k) { return k == s.common; });
        s.outcome = even ? Shape::NotFiveOrSeven : Shape::Uneven;
        return s;
    }
    if (choice.length != 0 && choice.length != s.common) {
        s.outcome = Shape::OtherLength;
        return s;
    }
    s.partial = lastOpen && lengths.last() < s.common;
    for (int l = 0; l < n; ++l)
        if (lengths.at(l) != s.common && !(s.partial && l == n - 1))
            s.slips.append(l);
    const bool near = std::all_of(s.slips.begin(), s.slips.end(),
                                  [&](int l) { return std::abs(lengths.at(l) - s.common) <= 2; });
    if (s.slips.size() > std::max(1, n / 4) || !near) {
        s.outcome = Shape::Uneven;
        return s;
    }
    s.formLines = formLinesFor(n, choice.form);
    if (n > s.formLines)
        s.outcome = Shape::TooMany;
    return s;
}

QString countWord(int n)
{
    static const QStringList words = {QString(),
                                      QStringLiteral("一"),
                                      QStringLiteral("两"),
                                      QStringLiteral("三"),
                                      QStringLiteral("四"),
                                      QStringLiteral("五"),
                                      QStringLiteral("六")};
    return n < words.size() ? words.at(n) : QString::number(n);
}

} // namespace

int formLinesFor(int written, Form chosen)
{
    if (chosen == Form::Jueju || (chosen == Form::Auto && written <= 4))
        return 4;
    if (chosen == Form::Lvshi || (chosen == Form::Auto && written <= 8))
        return 8;
    return std::max(10, written + written % 2);
}

std::optional<int> shiDistance(const Poem &poem)
{
    if (poem.lines.isEmpty())
        return std::nullopt;
    const Shape s = shapeOf(poem.lines, {});
    if (s.outcome != Shape::Regular)
        return std::nullopt;
    return int(s.slips.size());
}

bool judgeShape(ShiPoem &poem, FormChoice choice)
{
    QList<Line> lines;
    for (const LineCheck &l : poem.out().lines)
        lines.append(l.line);
    const Shape s = shapeOf(lines, choice);
    const int n = poem.lineCount();
    const auto whole = [&](const QString &text) {
        poem.add(-1, 0, FindingKind::Length, Severity::Fault, text);
    };
    switch (s.outcome) {
    case Shape::NotFiveOrSeven:
        whole(QStringLiteral("每句%1字，近体诗每句五字或七字").arg(s.common));
        return false;
    case Shape::Uneven:
        for (int l = 0; l < n; ++l)
            if (poem.size(l) != s.common)
                poem.add(l, 0, FindingKind::Length, Severity::Fault,
                         QStringLiteral("第%1句%2字，与其余各句（%3字）不同")
                             .arg(l + 1)
                             .arg(poem.size(l))
                             .arg(s.common));
        return false;
    case Shape::OtherLength:
        whole(QStringLiteral("选定的体裁每句%1字，诗中每句%2字").arg(choice.length).arg(s.common));
        return false;
    case Shape::TooMany:
        whole(QStringLiteral("共%1句，%2应为%3")
                  .arg(n)
                  .arg(formName(choice.form, s.common),
                       choice.form == Form::Jueju ? QStringLiteral("4句") : QStringLiteral("8句")));
        return false;
    case Shape::Regular:
        break;
    }
    poem.setLength(s.common);
    for (int l : s.slips) {
        const int d = poem.size(l) - s.common;
        poem.add(l, 0, FindingKind::Length, Severity::Fault,
                 QStringLiteral("第%1句%2%3字")
                     .arg(l + 1)
                     .arg(d < 0 ? QStringLiteral("少") : QStringLiteral("多"), countWord(std::abs(d))));
    }
    poem.formLines = s.formLines;
    poem.out().form = formName(*formOfLineCount(s.formLines), s.common);
    poem.out().unfinishedChars = s.partial ? s.common - poem.size(n - 1) : 0;
    return true;
}

} // namespace prosody
