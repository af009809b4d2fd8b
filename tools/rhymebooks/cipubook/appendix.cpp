// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/appendix.h"

#include "tools/rhymebooks/cipubook/example.h"

namespace cipubook {

namespace {

bool marked(const QList<Piece> &pieces)
{
    return std::any_of(pieces.begin(), pieces.end(), isMarkPiece);
}

Text bigText(const QList<Piece> &pieces, Text *after = nullptr)
{
    Text out;
    bool gap = false;
    for (const Piece &p : pieces) {
        if (p.small)
            continue;
        for (const char32_t c : p.text) {
            if (c == kBlank) {
                gap = !out.empty();
                continue;
            }
            if (gap && after)
                after->push_back(c);
            else
                out.push_back(c);
        }
    }
    return out;
}

// "三首…", "十一首", "(十一/首)": the count of a set's heading, and the rest of its small print.
int setCount(const Text &small, Text &rest)
{
    const size_t shou = small.find(U'首');
    if (shou == Text::npos || shou == 0 || shou > 3)
        return -1;
    const int n = numeral(TextView(small).substr(0, shou));
    if (n > 0)
        rest = small.substr(shou + 1);
    return n;
}

struct Piece40 {
    QString title;
    QList<PrintedLine> lines;
};

struct Set {
    BookForm form;
    QList<Piece40> pieces;
    bool open = false; // the last piece takes more verse
};

// The set's pieces; verse without titles (九張機) is cut where a column ends short after a mark, each
// piece beginning a column.
QList<Piece40> piecesOfSet(const Set &set)
{
    QList<Piece40> out;
    for (const Piece40 &p : set.pieces) {
        if (!p.title.isEmpty()) {
            out << p;
            continue;
        }
        Piece40 part;
        for (const PrintedLine &l : p.lines) {
            part.lines << l;
            if (endsShort(l)) {
                out << part;
                part = Piece40();
            }
        }
        if (!part.lines.isEmpty())
            out << part;
    }
    return out;
}

BookExample exampleOf(const Set &set)
{
    BookExample out;
    const QList<Piece40> pieces = piecesOfSet(set);
    for (qsizetype p = 0; p < pieces.size(); ++p) {
        BookExample one = readExample(pieces[p].lines).example;
        for (qsizetype s = 0; s < one.stanzas.size(); ++s) {
            one.stanzas[s].piece = int(p);
            if (s == 0)
                one.stanzas[s].title = pieces[p].title;
        }
        out.stanzas << one.stanzas;
    }
    int first = 0;
    for (BookStanza &s : out.stanzas)
        for (BookLine &l : s.lines) {
            l.first = first;
            first += l.length;
        }
    return out;
}

} // namespace

int piecesOf(const BookExample &example)
{
    int pieces = 0;
    for (const BookStanza &s : example.stanzas)
        pieces = std::max(pieces, s.piece + 1);
    return pieces;
}

PrintedAppendix readAppendix(const QList<PrintedLine> &lines)
{
    PrintedAppendix out;
    QList<Set> sets;
    const auto close = [&] {
        if (sets.isEmpty() || out.tunes.isEmpty())
            return;
        Set &set = sets.last();
        const QString prelude = set.form.example.prelude;
        set.form.example = exampleOf(set);
        set.form.example.prelude = prelude;
        out.tunes.last().forms << set.form;
        sets.removeLast();
    };
    for (const PrintedLine &line : lines) {
        const TextView t = line.text;
        if (t == U"欽定四庫全書" || startsWith(t, U"御定詞譜巻"))
            continue;
        const QList<Piece> pieces = piecesOf(t);
        const Place place{line.juan, line.page};
        Text after;
        const Text big = bigText(pieces, &after);
        // A set's heading: 调名 or 又一體 with its count in small print.
        if (!pieces.first().small && pieces.size() >= 2 && pieces[1].small) {
            Text rest;
            const int count = setCount(pieces[1].right + pieces[1].left, rest);
            if (count > 0) {
                close();
                const Text name = bigText({pieces.first()});
                if (name != U"又一體" || out.tunes.isEmpty()) {
                    BookTune tune;
                    tune.name = toQString(name);
                    tune.juan = line.juan;
                    tune.place = place;
                    tune.appendix = true;
                    tune.origin = toQString(rest);
                    out.tunes << tune;
                }
                Set set;
                set.form.number = int(out.tunes.last().forms.size()) + 1;
                set.form.heading.text = toQString(pieces[1].right + pieces[1].left);
                set.form.place = place;
                for (qsizetype i = 2; i < pieces.size(); ++i)
                    pieces[i].small ? set.form.source += toQString(pieces[i].right + pieces[i].left)
                                    : set.form.author += toQString(bigText({pieces[i]}));
                sets << set;
                continue;
            }
        }
        if (sets.isEmpty())
            continue; // the 卷's preface
        Set &set = sets.last();
        if (marked(pieces)) {
            if (!set.open || set.pieces.isEmpty())
                set.pieces << Piece40();
            set.pieces.last().lines << line;
            set.open = true;
            continue;
        }
        if (pieces.first().small || (line.indent >= 2 && big.size() <= 8)) {
            // The heading's note run on, the author, or a piece's title.
            if (pieces.first().small && set.pieces.isEmpty()) {
                // "(樂府雅詞/)無名氏": the source and the author; longer small print runs the note on.
                const Text small = pieces.first().right + pieces.first().left;
                if (small.size() <= 4 && !big.empty())
                    set.form.source = toQString(small);
                else
                    out.tunes.last().origin += toQString(small);
                if (set.form.author.isEmpty())
                    set.form.author = toQString(big);
                continue;
            }
            if (big.empty())
                continue;
            if (set.form.author.isEmpty() && !after.empty())
                set.form.author = toQString(after);
            if (big.front() == U'右' && !set.pieces.isEmpty() && set.pieces.last().title.isEmpty()) {
                set.pieces.last().title = toQString(big); // "右崔徽": the title of the piece above
                set.open = false;
            } else {
                set.pieces << Piece40{toQString(big), {}};
                set.open = true;
            }
            continue;
        }
        // Recited prose, or a 詩 before its 词 (a titled piece waits for its verse).
        set.form.example.prelude += toQString(big);
        if (!set.pieces.isEmpty() && !set.pieces.last().lines.isEmpty())
            set.open = false;
    }
    close();
    for (const BookTune &tune : out.tunes)
        for (const BookForm &form : tune.forms)
            if (piecesOf(form.example) == 0)
                out.problems.append({form.place, tune.name, QStringLiteral("附编未见有句读的词")});
    return out;
}

} // namespace cipubook
