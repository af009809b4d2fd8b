#pragma once

#include "prosody/core/books.h"
#include "prosody/findings/poemcheck.h"
#include "prosody/reading/classes.h"
#include "prosody/shi/forms.h"

#include <QList>

namespace prosody {

// A poem as the rules of regulated verse judge it: its lines with their classes, the verdict being
// written, and what the rules have settled so far (the rhyme group, each line's type). Lines and
// positions are 0-based lines and 1-based positions, as the rules name them.
class ShiPoem {
public:
    ShiPoem(const RhymeBooks &books, const Poem &poem, const Classes &classes, Book book);

    const RhymeBooks &books() const { return m_books; }
    Book book() const { return m_out.book; }
    PoemCheck &out() { return m_out; }
    const PoemCheck &out() const { return m_out; }

    int lineCount() const { return int(m_out.lines.size()); }
    int length() const { return int(m_out.lines.first().line.size()); }
    ToneClass cls(int line, int pos) const { return m_out.lines.at(line).tones.at(pos - 1); }
    QString ch(int line, int pos) const { return m_out.lines.at(line).line.text(pos - 1, 1); }
    char32_t code(int line, int pos) const { return m_out.lines.at(line).line.chars.at(pos - 1); }
    // "第3句第4字「月」"
    QString at(int line, int pos) const { return locator(line + 1, pos, ch(line, pos)); }
    // A finding at a position (0 for the whole line; line -1 for the whole poem).
    void add(int line, int pos, const QString &kind, Severity severity, const QString &text);

    // The lines that rhyme in every variant: the even ones.
    QList<int> evenLineEnds() const;
    // Whether the line's last character is in a group of the book, of the level tone or not.
    bool inGroup(int line, int group, bool level) const;
    // Whether the line's last character is in a group next to the rhyme group (孤雁出群).
    bool inNeighbour(int line) const;
    // The level groups of the line's last character: "下平八庚、下平九青".
    QString groupsOf(int line) const;

    int group = -1; // the rhyme group, once chosen
    QList<LineType> types;

private:
    const RhymeBooks &m_books;
    PoemCheck m_out;
};

} // namespace prosody
