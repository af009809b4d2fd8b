// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/juanreader.h"

#include "tools/rhymebooks/cipubook/example.h"
#include "tools/rhymebooks/cipubook/heading.h"
#include "tools/rhymebooks/cipubook/variants.h"

namespace cipubook {

namespace {

bool isMark(const Piece &p)
{
    return isMarkPiece(p);
}

// Small print longer than a 和声: a note, not part of the verse.
bool isNote(const Piece &p)
{
    return p.small && !isMark(p) && p.right.size() + p.left.size() > 4;
}

bool hasMark(const QList<Piece> &pieces)
{
    return std::any_of(pieces.begin(), pieces.end(), isMark);
}

Text withoutBlanks(TextView t)
{
    Text out;
    for (const char32_t c : t)
        if (c != kBlank && c != U' ')
            out.push_back(c);
    return out;
}

Text proseOf(const QList<Piece> &pieces)
{
    Text out;
    for (const Piece &p : pieces)
        out += p.small ? readProse(p) : withoutBlanks(p.text);
    return out;
}

// The author and the small print before it, from the pieces after a heading.
void takeAuthor(const QList<Piece> &pieces, qsizetype from, PrintedForm &form)
{
    Text author, source;
    for (qsizetype i = from; i < pieces.size(); ++i) {
        if (pieces[i].small)
            source += pieces[i].right + pieces[i].left;
        else
            author += withoutBlanks(pieces[i].text);
    }
    if (!author.empty())
        form.author = toQString(author);
    if (!source.empty())
        form.source = toQString(source);
}

class Cutter {
public:
    PrintedJuan run(const QList<PrintedLine> &lines)
    {
        for (const PrintedLine &line : lines)
            take(line);
        return m_out;
    }

private:
    enum class State { Start, Tune, Heading, Example, Note, Stray };

    void take(const PrintedLine &line)
    {
        const TextView t = line.text;
        if (t == U"欽定四庫全書" || startsWith(t, U"御定詞譜巻") || startsWith(t, U"詞譜巻"))
            return;
        const QList<Piece> pieces = piecesOf(t);
        const Place place{line.juan, line.page};
        if (formHeading(pieces, place))
            return;
        const bool opensWithSmall = pieces.first().small;
        if (m_state == State::Heading && m_form && form().example.isEmpty() && line.indent >= 2 &&
            headingContinues(pieces))
            return;
        if (opensWithSmall && pieces.size() == 1 && (m_state == State::Note || !isMark(pieces.first()))) {
            note(pieces.first());
            return;
        }
        if (!opensWithSmall && !hasMark(pieces) &&
            (m_state == State::Start || m_state == State::Note || m_state == State::Stray ||
             (m_state == State::Example && std::any_of(pieces.begin(), pieces.end(), isNote)))) {
            openTune(pieces, place);
            return;
        }
        if ((m_state == State::Heading || m_state == State::Example) && m_form) {
            form().example.append(line);
            m_state = State::Example;
            return;
        }
        if (m_state != State::Stray)
            m_out.problems.append({place, m_tune >= 0 ? toQString(tune().name) : QString(),
                                   QStringLiteral("正文无标题：%1").arg(toQString(t.substr(0, 12)))});
        m_state = State::Stray;
    }

    // "又一體(雙調…)　作者" or "调名(單調…)": a form begins.
    bool formHeading(const QList<Piece> &pieces, const Place &place)
    {
        if (pieces.size() < 2 || pieces[0].small || !pieces[1].small)
            return false;
        const Text heading = pieces[1].right + pieces[1].left;
        const Text name = withoutBlanks(pieces[0].text);
        if (name.empty() || stanzasOf(heading) == 0)
            return false;
        const bool variant = name == U"又一體" || name == U"又一体";
        if (!variant && !(m_tune >= 0 && tune().forms.isEmpty() && m_state == State::Tune)) {
            // A 正体 without a 调 heading before it: the 调 is named by the form.
            m_out.tunes.append({name, {}, place, {}});
            m_tune = m_out.tunes.size() - 1;
            m_out.problems.append({place, toQString(name), QStringLiteral("调名前无说明，由体的标题开调")});
        }
        if (m_tune < 0) {
            m_out.problems.append({place, QString(), QStringLiteral("又一体前无调")});
            m_out.tunes.append({name, {}, place, {}});
            m_tune = m_out.tunes.size() - 1;
        }
        if (!variant && folded(name) != folded(tune().name))
            m_out.problems.append(
                {place, toQString(tune().name), QStringLiteral("正体标题作「%1」").arg(toQString(name))});
        PrintedForm printed;
        printed.name = name;
        printed.heading = heading;
        printed.place = place;
        takeAuthor(pieces, 2, printed);
        tune().forms.append(printed);
        m_form = true;
        m_state = State::Heading;
        return true;
    }

    // The line after a heading, indented: the rest of the heading's small print ("(韻/)　作者"), or the
    // author alone.
    bool headingContinues(const QList<Piece> &pieces)
    {
        if (!form().author.isEmpty())
            return false;
        if (pieces.first().small) {
            // A heading read whole is followed by the author's source ("(梅苑/)無名氏").
            const bool whole = readHeading(form().heading).read;
            if (!whole)
                form().heading += pieces.first().right + pieces.first().left;
            takeAuthor(pieces, whole ? 0 : 1, form());
            return true;
        }
        if (hasMark(pieces))
            return false;
        takeAuthor(pieces, 0, form());
        return true;
    }

    void note(const Piece &small)
    {
        const Text text = readProse(small);
        switch (m_state) {
        case State::Tune:
            tune().origin += text;
            break;
        case State::Heading:
        case State::Example:
        case State::Note:
            if (m_form) {
                form().note += text;
                m_state = State::Note;
            }
            break;
        case State::Start:
        case State::Stray:
            break; // a preface to the 卷, or the note of a fragment left out
        }
    }

    void openTune(const QList<Piece> &pieces, const Place &place)
    {
        PrintedTune opened;
        opened.name = withoutBlanks(pieces.first().text);
        opened.origin = proseOf(pieces.mid(1));
        opened.place = place;
        m_out.tunes.append(opened);
        m_tune = m_out.tunes.size() - 1;
        m_form = false;
        m_state = State::Tune;
    }

    PrintedTune &tune() { return m_out.tunes[m_tune]; }
    PrintedForm &form() { return tune().forms.last(); }

    PrintedJuan m_out;
    qsizetype m_tune = -1; // the 调 being read
    bool m_form = false;   // it has a form being read
    State m_state = State::Start;
};

} // namespace

PrintedJuan cutJuan(const QList<PrintedLine> &lines)
{
    return Cutter().run(lines);
}

} // namespace cipubook
