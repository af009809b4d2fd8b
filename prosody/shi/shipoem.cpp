// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/shipoem.h"

#include <algorithm>

namespace prosody {

ShiPoem::ShiPoem(const RhymeBooks &books, const Poem &poem, const Classes &classes, Book book)
    : m_books(books)
{
    m_out.poem = poem;
    m_out.book = book;
    for (qsizetype i = 0; i < poem.lines.size(); ++i) {
        LineCheck lc;
        lc.line = poem.lines.at(i);
        lc.tones = classes.at(i);
        m_out.lines.append(lc);
    }
}

void ShiPoem::add(int line, int pos, FindingKind kind, Severity severity, const QString &text)
{
    m_out.findings.append({line + 1, pos, pos > 0 ? ch(line, pos) : QString(), kind, severity, text});
}

bool ShiPoem::isPartial(int line) const
{
    const Line &l = m_out.lines.at(line).line;
    return line == lineCount() - 1 && l.size() < m_length && !l.closed;
}

ToneClass ShiPoem::cls(int line, int pos) const
{
    if (pos > size(line) || (!isFull(line) && !isPartial(line)))
        return ToneClass::Unknown;
    return m_out.lines.at(line).tones.at(pos - 1);
}

QList<int> ShiPoem::evenLineEnds() const
{
    QList<int> lines;
    for (int l = 1; l < lineCount(); l += 2)
        if (hasEnd(l))
            lines.append(l);
    return lines;
}

bool ShiPoem::inGroup(int line, int group, bool level) const
{
    for (const RhymeBooks::Membership &m : m_books.memberships(book(), endCode(line)))
        if (m.group == group && (m.tone == Tone::Ping) == level)
            return true;
    return false;
}

bool ShiPoem::inNeighbour(int line) const
{
    const QList<int> &neighbours = m_books.groups(book()).at(group).neighbours;
    return std::any_of(neighbours.begin(), neighbours.end(), [&](int n) { return inGroup(line, n, true); });
}

QString ShiPoem::groupsOf(int line) const
{
    QStringList names;
    for (const RhymeBooks::Membership &m : m_books.memberships(book(), endCode(line)))
        if (m.tone == Tone::Ping && !names.contains(m_books.groups(book()).at(m.group).name))
            names << m_books.groups(book()).at(m.group).name;
    return names.join(u'、');
}

} // namespace prosody
