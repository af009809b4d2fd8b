#include "prosody/ci.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>
#include <limits>
#include <tuple>

namespace prosody {

namespace {

// Costs of the alignment: a fault of structure outweighs any number of loose fits.
constexpr int kFault = 1000;

using Classes = QList<QList<ToneClass>>;

QList<int> lineLengths(const Poem &poem)
{
    QList<int> out;
    for (const Line &l : poem.lines)
        out << int(l.size());
    return out;
}

enum Step : quint8 { None, Match, Join, Split, Shift, Miss, Extra };
using Lengths = QVarLengthArray<int, 64>;

Lengths lengthsOf(const CiForm &form)
{
    Lengths out;
    for (const CiLine &l : form.lines)
        out.append(l.length());
    return out;
}

// The cheapest edit from the poem's line lengths to the form's: a line for a line (a fault when the
// lengths differ), one line for two of the form, two for one, or two for two broken elsewhere
// (多情应笑我，早生华发 for 多情应笑，我早生华发) where the lengths add up (loose but no fault), a line
// missing or one too many (a fault). Fills the table of costs and, when steps is given, of steps.
int fillCosts(const QList<int> &poem, const Lengths &f, QVarLengthArray<int, 1024> &cost,
              QVarLengthArray<Step, 1024> *steps)
{
    const int m = int(poem.size()), n = int(f.size());
    const int width = n + 1;
    cost.resize((m + 1) * width);
    std::fill(cost.begin(), cost.end(), std::numeric_limits<int>::max());
    if (steps) {
        steps->resize((m + 1) * width);
        std::fill(steps->begin(), steps->end(), None);
    }
    cost[0] = 0;
    const auto relax = [&](int i, int j, int c, Step s) {
        if (c < cost[i * width + j]) {
            cost[i * width + j] = c;
            if (steps)
                (*steps)[i * width + j] = s;
        }
    };
    for (int i = 0; i <= m; ++i) {
        for (int j = 0; j <= n; ++j) {
            const int c = cost[i * width + j];
            if (c == std::numeric_limits<int>::max())
                continue;
            if (i < m && j < n)
                relax(i + 1, j + 1, c + (poem[i] == f[j] ? 0 : kFault + std::abs(poem[i] - f[j])), Match);
            if (i < m && j + 1 < n && poem[i] == f[j] + f[j + 1])
                relax(i + 1, j + 2, c + 1, Join);
            if (i + 1 < m && j < n && poem[i] + poem[i + 1] == f[j])
                relax(i + 2, j + 1, c + 1, Split);
            if (i + 1 < m && j + 1 < n && poem[i] != f[j] && poem[i] + poem[i + 1] == f[j] + f[j + 1])
                relax(i + 2, j + 2, c + 1, Shift);
            // A 词 being written lacks its last lines: a line missing inside costs a little more.
            if (j < n)
                relax(i, j + 1, c + kFault + f[j] + (i < m ? 1 : 0), Miss);
            if (i < m)
                relax(i + 1, j, c + kFault + poem[i], Extra);
        }
    }
    return cost[m * width + n];
}

CiAlignment align(const QList<int> &poem, const CiForm &form)
{
    const Lengths f = lengthsOf(form);
    const int m = int(poem.size()), n = int(f.size());
    const int width = n + 1;
    QVarLengthArray<int, 1024> cost;
    QVarLengthArray<Step, 1024> step;
    fillCosts(poem, f, cost, &step);
    CiAlignment a;
    a.form = &form;
    a.lines.resize(m);
    a.wrongLength.resize(m, false);
    const int total = cost[m * width + n];
    a.structureFaults = total / kFault;
    a.looseness = total % kFault;
    for (int i = m, j = n; i > 0 || j > 0;) {
        switch (step[i * width + j]) {
        case Match:
            --i, --j;
            a.lines[i] = {{j, 0, 0, std::min(poem[i], f[j])}};
            a.wrongLength[i] = poem[i] != f[j];
            break;
        case Join:
            --i, j -= 2;
            a.lines[i] = {{j, 0, 0, f[j]}, {j + 1, 0, f[j], f[j + 1]}};
            break;
        case Split:
            i -= 2, --j;
            a.lines[i] = {{j, 0, 0, poem[i]}};
            a.lines[i + 1] = {{j, poem[i], 0, poem[i + 1]}};
            break;
        case Shift:
            i -= 2, j -= 2;
            if (poem[i] > f[j]) {
                a.lines[i] = {{j, 0, 0, f[j]}, {j + 1, 0, f[j], poem[i] - f[j]}};
                a.lines[i + 1] = {{j + 1, poem[i] - f[j], 0, poem[i + 1]}};
            } else {
                a.lines[i] = {{j, 0, 0, poem[i]}};
                a.lines[i + 1] = {{j, poem[i], 0, f[j] - poem[i]}, {j + 1, 0, f[j] - poem[i], f[j + 1]}};
            }
            break;
        case Miss:
            --j;
            a.missing.prepend(j);
            break;
        case Extra:
        case None:
            --i;
            break;
        }
    }
    return a;
}

// Fixed positions written the other way, over the lines of the right length.
int countToneFaults(const CiAlignment &a, const Classes &classes)
{
    int faults = 0;
    for (qsizetype i = 0; i < a.lines.size(); ++i) {
        if (a.wrongLength[i])
            continue;
        for (const CiAlignment::Piece &p : a.lines[i]) {
            const CiLine &line = a.form->lines[p.formLine];
            for (int k = 0; k < p.length; ++k) {
                const ToneClass want = line.positions[p.formOffset + k].tone;
                const ToneClass have = classes[i][p.lineOffset + k];
                faults += want != ToneClass::Both && (have == ToneClass::Ping || have == ToneClass::Ze) &&
                          have != want;
            }
        }
    }
    return faults;
}

auto rankOf(const CiAlignment &a)
{
    return std::tuple(a.structureFaults, a.toneFaults, a.looseness, -a.form->poems, a.form->number);
}

// Close enough to take the poem for a 词 of the form: at most one fault of structure in eight lines.
bool fitsWell(const CiAlignment &a)
{
    return 8 * a.structureFaults <= std::max<qsizetype>(8, a.form->lines.size());
}

// How far the poem is from the 词牌's best-fitting form: faults of structure first, then loose fits.
int distance(const CiChecker &checker, const Poem &poem, const CiTune *tune, Book book)
{
    const std::optional<CiAlignment> a = checker.bestForm(poem, tune, book);
    return a ? a->structureFaults * kFault + a->looseness : 0;
}

Poem joined(const Poem &first, const Poem &second)
{
    Poem out = first;
    out.lines += second.lines;
    out.end = second.end;
    return out;
}

Classes classesOf(const Checker &checker, const Poem &poem, Book book)
{
    Classes out;
    for (const Line &line : poem.lines) {
        QList<ToneClass> c;
        for (qsizetype i = 0; i < line.size(); ++i)
            c.append(checker.classAt(line, i, book));
        out.append(c);
    }
    return out;
}

QString charAt(const Line &line, int index)
{
    return line.text(index, 1);
}

// Builds the check of one poem against one aligned form.
class CiJudge {
public:
    CiJudge(const RhymeBooks &books, const Poem &poem, const Classes &classes, const CiAlignment &a,
            Book book)
        : m_books(books)
        , m_book(book)
        , m_a(a)
        , m_form(*a.form)
    {
        m_out.poem = poem;
        m_out.book = book;
        m_out.ciForm = m_form;
        m_out.form = m_form.tune;
        m_out.variant = m_form.name();
        for (qsizetype i = 0; i < poem.lines.size(); ++i) {
            LineCheck lc;
            lc.line = poem.lines[i];
            lc.tones = classes[i];
            m_out.lines.append(lc);
        }
    }

    PoemCheck run()
    {
        judgeLines();
        judgeRhymes();
        m_out.findings += characterNotes(m_books, m_book, m_out.lines);
        std::stable_sort(m_out.findings.begin(), m_out.findings.end(),
                         [](const Finding &a, const Finding &b) {
                             return std::pair(a.line, a.pos) < std::pair(b.line, b.pos);
                         });
        return m_out;
    }

private:
    QString at(int line, int pos) const
    {
        return QStringLiteral("第%1句第%2字「%3」")
            .arg(line + 1)
            .arg(pos + 1)
            .arg(charAt(m_out.lines[line].line, pos));
    }

    void add(int line, int pos, const QString &kind, const QString &text)
    {
        const QString c = line >= 0 && pos >= 0 ? charAt(m_out.lines[line].line, pos) : QString();
        m_out.findings.append({line + 1, pos + 1, c, kind, Severity::Fault, text});
    }

    void judgeLines()
    {
        for (int j : m_a.missing)
            add(-1, -1, kind::length,
                QStringLiteral("缺一句：谱中第%1句（%2字）无对应").arg(j + 1).arg(m_form.lines[j].length()));
        for (int i = 0; i < m_out.lines.size(); ++i) {
            LineCheck &lc = m_out.lines[i];
            const QList<CiAlignment::Piece> &pieces = m_a.lines[i];
            if (pieces.isEmpty()) {
                add(i, -1, kind::length, QStringLiteral("第%1句多出：谱中无此句").arg(i + 1));
                continue;
            }
            lc.formLine = pieces.first().formLine;
            const CiLine &last = m_form.lines[pieces.last().formLine];
            // The line's end is the form line's end unless the poem breaks inside a form line.
            if (pieces.last().formOffset + pieces.last().length == last.length() || m_a.wrongLength[i]) {
                lc.rhymeRun = last.rhymeRun;
                lc.rhymed = last.rhymeRun != 0;
            }
            if (m_a.wrongLength[i]) {
                add(i, -1, kind::length,
                    QStringLiteral("第%1句%2字，谱中此句%3字")
                        .arg(i + 1)
                        .arg(lc.line.size())
                        .arg(last.length()));
                continue;
            }
            for (const CiAlignment::Piece &p : pieces) {
                const CiLine &line = m_form.lines[p.formLine];
                for (int k = 0; k < p.length; ++k) {
                    const CiPosition &pos = line.positions[p.formOffset + k];
                    lc.pattern += className(pos.tone);
                    lc.shares << pos.percent();
                    judgeTone(i, p.lineOffset + k, pos);
                }
            }
        }
    }

    void judgeTone(int line, int index, const CiPosition &pos)
    {
        const ToneClass have = m_out.lines[line].tones[index];
        if (pos.tone == ToneClass::Both || (have != ToneClass::Ping && have != ToneClass::Ze) ||
            have == pos.tone)
            return;
        add(line, index, kind::tones,
            QStringLiteral("%1：此处应%2（谱中%3%用%2），用了%4声")
                .arg(at(line, index), className(pos.tone))
                .arg(pos.percent())
                .arg(className(have)));
    }

    // The character at the end of each rhymed line of the form, where the poem has one.
    struct RhymeChar {
        int line;
        int index;
        int run;
    };

    QList<RhymeChar> rhymeChars() const
    {
        QList<RhymeChar> out;
        for (int i = 0; i < m_out.lines.size(); ++i) {
            const int length = int(m_out.lines[i].line.size());
            for (const CiAlignment::Piece &p : m_a.lines[i]) {
                const CiLine &line = m_form.lines[p.formLine];
                const bool end = m_a.wrongLength[i] || p.formOffset + p.length == line.length();
                if (line.rhymeRun == 0 || !end)
                    continue;
                // The 平水韵 keeps the tones apart: a run rhyming on both (西江月) is judged tone by tone.
                const int run = m_book == Book::Pingshui && line.rhymeTone == ToneClass::Ze ? -line.rhymeRun
                                                                                            : line.rhymeRun;
                out.append({i, m_a.wrongLength[i] ? length - 1 : p.lineOffset + p.length - 1, run});
            }
        }
        return out;
    }

    QList<int> groupsAt(const RhymeChar &r) const
    {
        QList<int> out;
        for (const RhymeBooks::Membership &m :
             m_books.memberships(m_book, m_out.lines[r.line].line.chars[r.index]))
            if (!out.contains(m.group))
                out.append(m.group);
        return out;
    }

    QString groupNames(const QList<int> &groups) const
    {
        QStringList names;
        for (int g : groups)
            names << m_books.groups(m_book).at(g).name;
        return names.join(u'、');
    }

    // In each run the group most rhyme characters share is the run's rhyme; a character outside it
    // is 出韵; a run where no two characters share a group does not rhyme at all (未押韵).
    void judgeRhymes()
    {
        const QList<RhymeChar> chars = rhymeChars();
        QList<int> runs;
        for (const RhymeChar &r : chars)
            if (!runs.contains(r.run))
                runs.append(r.run);
        QStringList rhymes;
        for (int run : runs) {
            QList<RhymeChar> members;
            QHash<int, int> votes;
            for (const RhymeChar &r : chars) {
                if (r.run != run || groupsAt(r).isEmpty())
                    continue;
                members.append(r);
                for (int g : groupsAt(r))
                    ++votes[g];
            }
            if (members.size() < 2)
                continue;
            const QList<int> lastGroups = groupsAt(members.last());
            const auto rank = [&](int g) { return std::tuple(votes.value(g), lastGroups.contains(g), -g); };
            int best = -1;
            for (auto it = votes.cbegin(); it != votes.cend(); ++it)
                if (best < 0 || rank(it.key()) > rank(best))
                    best = it.key();
            if (votes.value(best) < 2) {
                QStringList all;
                for (const RhymeChar &r : members)
                    all << charAt(m_out.lines[r.line].line, r.index);
                for (const RhymeChar &r : members)
                    add(r.line, r.index, kind::unrhymed,
                        QStringLiteral("%1：此处应押韵，同组韵脚「%2」各不同部")
                            .arg(at(r.line, r.index), all.join(u'、')));
                continue;
            }
            const QString name = m_books.groups(m_book).at(best).name;
            if (!rhymes.contains(name))
                rhymes << name;
            for (const RhymeChar &r : members)
                if (!groupsAt(r).contains(best))
                    add(r.line, r.index, kind::offRhyme,
                        QStringLiteral("%1：出韵，不在%2（属%3）")
                            .arg(at(r.line, r.index), name, groupNames(groupsAt(r))));
        }
        m_out.rhyme = rhymes.join(u'、');
    }

    const RhymeBooks &m_books;
    Book m_book;
    const CiAlignment &m_a;
    const CiForm &m_form;
    PoemCheck m_out;
};

} // namespace

bool hasShiShape(const Poem &poem)
{
    if (poem.lines.isEmpty() || !formOfLineCount(poem.lines.size()))
        return false;
    const qsizetype length = poem.lines.first().size();
    return (length == 5 || length == 7) && std::all_of(poem.lines.begin(), poem.lines.end(),
                                                       [&](const Line &l) { return l.size() == length; });
}

CiChecker::CiChecker(std::shared_ptr<const RhymeBooks> books)
    : m_checker(std::move(books))
{
}

std::optional<CiAlignment> CiChecker::bestForm(const Poem &poem, const CiTune *tune, Book book) const
{
    QList<const CiForm *> forms;
    if (tune)
        for (const CiForm &f : tune->forms)
            forms.append(&f);
    else
        forms = cipu().forms();
    if (forms.isEmpty() || poem.lines.isEmpty())
        return std::nullopt;
    const Classes classes = classesOf(m_checker, poem, book);
    const QList<int> lengths = lineLengths(poem);
    // The table of costs first, for every form; the alignment and its 平仄 only where no other form
    // has fewer faults of structure.
    QVarLengthArray<int, 1024> table;
    QVarLengthArray<int, 512> faults;
    int fewest = std::numeric_limits<int>::max();
    for (const CiForm *form : forms) {
        faults.append(fillCosts(lengths, lengthsOf(*form), table, nullptr) / kFault);
        fewest = std::min(fewest, faults.last());
    }
    std::optional<CiAlignment> best;
    for (qsizetype i = 0; i < forms.size(); ++i) {
        if (faults[i] != fewest)
            continue;
        CiAlignment a = align(lengths, *forms[i]);
        a.toneFaults = countToneFaults(a, classes);
        if (!best || rankOf(a) < rankOf(*best))
            best = std::move(a);
    }
    return best;
}

PoemCheck CiChecker::check(const Poem &poem, const CiTune *tune, Book book) const
{
    const std::optional<CiAlignment> a = bestForm(poem, tune, book);
    if (!a) {
        PoemCheck out;
        out.poem = poem;
        out.book = book;
        out.form = tune ? tune->name : QString();
        return out;
    }
    const Classes classes = classesOf(m_checker, poem, book);
    return CiJudge(m_checker.books(), poem, classes, *a, book).run();
}

const CiTune *CiChecker::recognise(const Poem &poem, Book book) const
{
    if (!poem.title.isEmpty())
        if (const CiTune *tune = cipu().find(poem.title))
            return tune;
    const std::optional<CiAlignment> a = bestForm(poem, nullptr, book);
    if (!a || !fitsWell(*a))
        return nullptr;
    return cipu().find(a->form->tune);
}

QList<Poem> CiChecker::readCi(const QString &text, const CiTune *tune, Book book) const
{
    const QList<Poem> blocks = readPoems(text);
    const auto cost = [&](const Poem &p) { return distance(*this, p, tune, book); };
    QList<Poem> out;
    for (qsizetype i = 0; i < blocks.size();) {
        Poem current = blocks[i++];
        while (i < blocks.size() && blocks[i].title.isEmpty() &&
               cost(joined(current, blocks[i])) < cost(current))
            current = joined(current, blocks[i++]);
        out.append(current);
    }
    return out;
}

std::optional<QList<PoemCheck>> checkAs(const std::shared_ptr<const RhymeBooks> &books, const QString &text,
                                        const QString &form, std::optional<Book> book)
{
    const Book shiBook = book.value_or(Book::Pingshui), ciBook = book.value_or(Book::Cilin);
    const std::optional<FormChoice> shi = formFromName(form);
    if (shi && shi->form != Form::Auto)
        return Checker(books).checkText(text, shiBook, *shi);
    const CiChecker ci(books);
    QList<PoemCheck> out;
    if (!shi) {
        const CiTune *tune = books->cipu().find(form);
        if (!tune)
            return std::nullopt;
        for (const Poem &poem : ci.readCi(text, tune, ciBook))
            out.append(ci.check(poem, tune, ciBook));
        return out;
    }
    // 自动: poem by poem. A 词 takes the untitled blocks after it (its 片) while they fit a form no
    // worse; one of unknown 词牌 is recognised on the blocks together, so its first 片 alone need not fit.
    const QList<Poem> blocks = readPoems(text);
    const auto next = [&](qsizetype i) {
        return i < blocks.size() && blocks[i].title.isEmpty() && !hasShiShape(blocks[i]);
    };
    for (qsizetype i = 0; i < blocks.size();) {
        Poem poem = blocks[i++];
        const CiTune *tune = poem.title.isEmpty() ? nullptr : books->cipu().find(poem.title);
        if (tune) {
            while (next(i) &&
                   distance(ci, joined(poem, blocks[i]), tune, ciBook) < distance(ci, poem, tune, ciBook))
                poem = joined(poem, blocks[i++]);
        } else if (!hasShiShape(poem)) {
            std::optional<CiAlignment> best = ci.bestForm(poem, nullptr, ciBook);
            while (next(i)) {
                const Poem both = joined(poem, blocks[i]);
                std::optional<CiAlignment> a = ci.bestForm(both, nullptr, ciBook);
                if (!a || !fitsWell(*a) ||
                    (best && fitsWell(*best) && a->structureFaults > best->structureFaults))
                    break;
                poem = both, best = std::move(a), ++i;
            }
            if (best && fitsWell(*best))
                tune = books->cipu().find(best->form->tune);
        }
        out.append(tune ? ci.check(poem, tune, ciBook) : ci.checker().check(poem, shiBook));
    }
    return out;
}

} // namespace prosody
