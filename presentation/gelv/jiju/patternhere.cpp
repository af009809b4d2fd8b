// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/jiju/patternhere.h"

#include <climits>

using namespace prosody;

namespace {

// 平 and 仄 as they are; anything else (a blank where a 词's form has no place, an unknown) free.
QString cleaned(const QString &pattern)
{
    QString out;
    for (const QChar c : pattern)
        out += c == u'平' || c == u'仄' ? c : QChar(u'中');
    return out;
}

QString formLinePattern(const CiForm &form, int formLine)
{
    if (formLine < 0 || formLine >= form.lines.size())
        return {};
    return cleaned(form.lines.at(formLine).pattern());
}

QString lineTemplate(const PoemCheck &check, const LineCheck &lc)
{
    if (check.isCi())
        return formLinePattern(*check.ciForm, lc.formLine);
    return cleaned(lc.pattern.trimmed());
}

int startOf(const Line &line)
{
    return line.offsets.isEmpty() ? INT_MAX : line.offsets.first();
}

int endOf(const Line &line)
{
    return line.offsets.isEmpty() ? -1 : line.offsets.last() + line.width(line.size() - 1);
}

} // namespace

QString patternAt(const QList<PoemCheck> &checks, int caret)
{
    for (qsizetype p = 0; p < checks.size(); ++p) {
        const PoemCheck &check = checks.at(p);
        for (const LineCheck &lc : check.lines)
            if (caret >= startOf(lc.line) && caret <= endOf(lc.line))
                return lineTemplate(check, lc);
        if (check.lines.isEmpty())
            continue;
        const int next = p + 1 < checks.size() && !checks.at(p + 1).lines.isEmpty()
                             ? startOf(checks.at(p + 1).lines.first().line)
                             : INT_MAX;
        if (caret <= endOf(check.lines.last().line) || caret >= next)
            continue;
        // Past the poem's last line, before the next poem: the line to come.
        if (check.isCi())
            return formLinePattern(*check.ciForm, check.lines.last().formLine + 1);
        if (!check.pending.isEmpty())
            return cleaned(check.pending.first().pattern);
    }
    return {};
}
