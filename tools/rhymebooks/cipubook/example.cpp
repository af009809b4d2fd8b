// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/example.h"

#include <QHash>

#include <optional>

namespace cipubook {

namespace {

struct Mark {
    bool dou = false;
    LineEnd end = LineEnd::Ju;
    QChar tone;
    bool change = false;
    bool bare = false; // 換 with a tone and no 韻: the rest of the mark may follow
};

// (句/), (讀/), (韻/), (叶/), (疊/), (重/韻), (平/韻), (換仄/韻), (換/平) … read from the small print.
std::optional<Mark> markOf(TextView c)
{
    Mark m;
    if (c == U"讀") {
        m.dou = true;
        return m;
    }
    if (c == U"句")
        return m;
    if (!c.empty() && (c[0] == U'換' || c[0] == U'换')) {
        m.change = true;
        c.remove_prefix(1);
    }
    if (!c.empty() && c[0] == U'重' && (c.size() == 1 || c.substr(1) == U"韻")) {
        m.end = LineEnd::Double;
        return m;
    }
    if (!c.empty() && (c[0] == U'平' || c[0] == U'仄')) {
        m.tone = c[0] == U'平' ? QChar(u'平') : QChar(u'仄');
        c.remove_prefix(1);
        if (c.empty()) {
            m.end = LineEnd::Rhyme;
            m.bare = m.change;
            return m;
        }
    }
    // (仄/聲) where (仄/韻) is meant: a tone after a phrase marks its rhyme.
    if (c == U"韻" || (c == U"聲" && !m.tone.isNull())) {
        m.end = LineEnd::Rhyme;
    } else if (c == U"叶" || c == U"卟" || c == U"吐") {
        m.end = LineEnd::Xie;
    } else if ((c == U"疊" || c == U"疉") && m.tone.isNull() && !m.change) {
        m.end = LineEnd::Repeat;
    } else {
        return std::nullopt;
    }
    return m;
}

class Builder {
public:
    void character(char32_t c)
    {
        flush();
        m_text.push_back(c);
        m_open = true;
    }

    void gap()
    {
        flush();
        if (m_open && !m_text.empty())
            close(LineEnd::Open, {}, false);
        if (!m_example.stanzas.isEmpty() && !m_example.stanzas.last().lines.isEmpty())
            m_example.stanzas.append(BookStanza());
    }

    void mark(const Mark &m)
    {
        // (換/仄) at a column's foot and (韻/) at the next one's head: one mark split by the column.
        if (m_pending && !m.dou && !m.change && m.tone.isNull() &&
            (m.end == LineEnd::Rhyme || m.end == LineEnd::Xie)) {
            Mark merged = *m_pending;
            merged.end = m.end;
            m_pending.reset();
            close(merged.end, merged.tone, merged.change);
            return;
        }
        flush();
        if (m.dou)
            m_line.dou << int(m_text.size());
        else if (m.bare)
            m_pending = m;
        else
            close(m.end, m.tone, m.change);
    }

    // A 換 mark not followed by its 韻 ends its 句 as it is.
    void flush()
    {
        if (!m_pending)
            return;
        const Mark m = *m_pending;
        m_pending.reset();
        close(m.end, m.tone, m.change);
    }

    bool closed() const { return !m_open; }

    void harmony(const Text &text)
    {
        flush();
        m_line.harmonies.append({int(m_text.size()), toQString(text)});
    }

    BookExample finish()
    {
        flush();
        if (m_open && !m_text.empty())
            close(LineEnd::Open, {}, false);
        if (!m_example.stanzas.isEmpty() && m_example.stanzas.last().lines.isEmpty())
            m_example.stanzas.removeLast();
        int first = 0;
        for (BookStanza &s : m_example.stanzas)
            for (BookLine &l : s.lines) {
                l.first = first;
                first += l.length;
            }
        return m_example;
    }

private:
    void close(LineEnd end, QChar tone, bool change)
    {
        m_line.text = toQString(m_text);
        m_line.length = int(m_text.size());
        m_line.end = end;
        m_line.rhymeTone = tone;
        m_line.rhymeChange = change;
        if (m_example.stanzas.isEmpty())
            m_example.stanzas.append(BookStanza());
        m_example.stanzas.last().lines.append(m_line);
        m_line = BookLine();
        m_text.clear();
        m_open = false;
    }

    BookExample m_example;
    BookLine m_line;
    Text m_text;
    bool m_open = false;
    std::optional<Mark> m_pending; // (換/仄) waiting for its (韻/)
};

constexpr int kColumnCells = 21;

bool hasMark(const PrintedLine &line)
{
    for (const Piece &p : piecesOf(line.text))
        if (p.small && (markOf(p.right + p.left) || markOf(p.left)))
            return true;
    return false;
}

// The cells a printed line fills after its indent: each full-size character or gap, and small print
// two characters to a cell ((換仄/韻) takes two).
int cellsOf(const QList<Piece> &pieces)
{
    int cells = 0;
    for (const Piece &p : pieces)
        cells += p.small ? int(std::max<size_t>({1, p.right.size(), p.left.size()})) : int(p.text.size());
    return cells;
}

} // namespace

bool isMarkPiece(const Piece &p)
{
    if (!p.small)
        return false;
    const bool sung = !p.right.empty() && p.right.size() <= 2 && p.left.size() == 1 && markOf(p.left);
    return markOf(p.right + p.left) || sung;
}

bool endsShort(const PrintedLine &line)
{
    const QList<Piece> pieces = piecesOf(line.text);
    return !pieces.isEmpty() && isMarkPiece(pieces.last()) && cellsOf(pieces) < kColumnCells;
}

ReadExample readExample(const QList<PrintedLine> &lines)
{
    ReadExample out;
    Builder b;
    // Some pages indent every line by one; a 段 that begins at the top of a column shows as one more
    // indent than the page's other lines.
    QHash<QString, int> indent;
    for (const PrintedLine &l : lines)
        indent[l.page] = std::min(indent.value(l.page, l.indent), l.indent);
    // Printed lines without a single mark before the first that has one: a 口號 recited before the 词.
    qsizetype first = 0;
    while (first + 1 < lines.size() && !hasMark(lines[first]))
        ++first;
    for (qsizetype i = 0; i < first; ++i)
        out.example.prelude += toQString(lines[i].text);
    for (qsizetype i = first; i < lines.size(); ++i) {
        const PrintedLine &l = lines[i];
        if (l.indent > indent.value(l.page))
            b.gap();
        const QList<Piece> pieces = piecesOf(l.text);
        for (const Piece &p : pieces) {
            if (!p.small) {
                for (const char32_t c : p.text) {
                    if (c == kBlank)
                        b.gap();
                    else if (c != U' ')
                        b.character(c);
                }
                continue;
            }
            const Text both = p.right + p.left;
            if (const std::optional<Mark> m = markOf(both)) {
                b.mark(*m);
            } else if (const std::optional<Mark> after = markOf(p.left);
                       after && !p.right.empty() && p.right.size() <= 2 && p.left.size() == 1) {
                b.harmony(p.right); // (女兒/韻): the 和声, then the mark of the 句
                b.mark(*after);
            } else if (both.size() <= 4) {
                b.harmony(both); // (竹/枝)
            } else {
                out.oddities << toQString(both);
            }
        }
        // A column of the example holds 21 cells; one left short ends a 段 (the gap after it is not
        // transcribed).
        const int gapCells = l.indent - indent.value(l.page);
        if (i + 1 < lines.size() && gapCells + cellsOf(pieces) < kColumnCells && b.closed())
            b.gap();
    }
    const QString prelude = out.example.prelude;
    out.example = b.finish();
    out.example.prelude = prelude;
    return out;
}

} // namespace cipubook
