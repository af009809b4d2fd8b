// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/text/notes.h"

namespace prosody {

namespace {

bool opens(QChar c)
{
    return c == u'（' || c == u'(' || c == u'【' || c == u'[' || c == u'〔' || c == u'［';
}

bool closes(QChar c)
{
    return c == u'）' || c == u')' || c == u'】' || c == u']' || c == u'〕' || c == u'］';
}

// Where the physical line holding index ends (the newline's index, or the text's size).
qsizetype lineEnd(const QString &text, qsizetype index)
{
    const qsizetype n = text.indexOf(u'\n', index);
    return n < 0 ? text.size() : n;
}

} // namespace

QList<bool> noteMask(const QString &text)
{
    QList<bool> mask(text.size(), false);
    QList<qsizetype> open; // indexes of the brackets open so far, innermost last
    // Marks from an outermost opening bracket to index (inclusive).
    const auto mark = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i <= to && i < mask.size(); ++i)
            mask[i] = true;
    };
    // Brackets still open at a blank line close at the end of their own lines.
    const auto closeAtLineEnds = [&] {
        qsizetype marked = -1;
        for (qsizetype from : open) {
            if (from < marked)
                continue;
            marked = lineEnd(text, from);
            mark(from, marked - 1);
        }
        open.clear();
    };
    bool lineBlank = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n') {
            if (lineBlank && !open.isEmpty())
                closeAtLineEnds();
            lineBlank = true;
            continue;
        }
        if (!c.isSpace())
            lineBlank = false;
        if (opens(c)) {
            open.append(i);
        } else if (closes(c) && !open.isEmpty()) {
            const qsizetype from = open.takeLast();
            if (open.isEmpty())
                mark(from, i);
        }
    }
    closeAtLineEnds();
    return mask;
}

} // namespace prosody
