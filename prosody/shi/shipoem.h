// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/findings/poemcheck.h"
#include "prosody/reading/classes.h"
#include "prosody/shi/forms.h"

#include <QList>

namespace prosody {

// A poem as the rules of regulated verse judge it: its lines with their classes, the verdict being
// written, and what the rules have settled so far (the form's line length, the rhyme group, each line's
// type). Lines are 0-based, positions 1-based, as the rules name them. A line may be shorter than the
// form's (the line being typed, at the end) or of another length (a slip): the rules see no class at
// a position it lacks, and none at all in a slip, whose last character still rhymes.
class ShiPoem {
public:
    ShiPoem(const RhymeBooks &books, const Poem &poem, const Classes &classes, Book book);

    const RhymeBooks &books() const { return m_books; }
    Book book() const { return m_out.book; }
    PoemCheck &out() { return m_out; }
    const PoemCheck &out() const { return m_out; }

    int lineCount() const { return int(m_out.lines.size()); }
    // The form's line length (5 or 7), once the shape is judged.
    int length() const { return m_length; }
    void setLength(int length) { m_length = length; }
    int size(int line) const { return int(m_out.lines.at(line).line.size()); }
    bool isFull(int line) const { return size(line) == m_length; }
    // The line being typed: the last one, shorter than the form's and not closed by punctuation.
    bool isPartial(int line) const;
    // Whether the line has its last character, that rhymes where the line does: all but a partial one.
    bool hasEnd(int line) const { return !isPartial(line); }

    // The class at a position; Unknown where the line lacks it or is a slip.
    ToneClass cls(int line, int pos) const;
    QString ch(int line, int pos) const { return m_out.lines.at(line).line.text(pos - 1, 1); }
    char32_t code(int line, int pos) const { return m_out.lines.at(line).line.chars.at(pos - 1); }
    // The line's last character, which rhymes where the line does, and its class.
    char32_t endCode(int line) const { return code(line, size(line)); }
    ToneClass endClass(int line) const { return m_out.lines.at(line).tones.at(size(line) - 1); }
    // "第3句第4字「月」"
    QString at(int line, int pos) const { return locator(line + 1, pos, ch(line, pos)); }
    // A finding at a position (0 for the whole line; line -1 for the whole poem).
    void add(int line, int pos, FindingKind kind, Severity severity, const QString &text);

    // The lines that rhyme in every variant and have their last character: the even ones.
    QList<int> evenLineEnds() const;
    // Whether the line's last character is in a group of the book, of the level tone or not.
    bool inGroup(int line, int group, bool level) const;
    // Whether the line's last character is in a group next to the rhyme group (孤雁出群).
    bool inNeighbour(int line) const;
    // The level groups of the line's last character: "下平八庚、下平九青".
    QString groupsOf(int line) const;

    int formLines = 0; // the lines of the form: more than lineCount() while the poem is being written
    int group = -1;    // the rhyme group, once chosen
    QList<LineType> types;

private:
    const RhymeBooks &m_books;
    PoemCheck m_out;
    int m_length = 0;
};

} // namespace prosody
