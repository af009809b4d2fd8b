#include "prosody/check.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>
#include <tuple>

namespace prosody {

namespace {

ToneClass classOfTemplate(QChar c)
{
    return c == u'平' ? ToneClass::Ping : ToneClass::Ze;
}

bool isDefinite(ToneClass c)
{
    return c == ToneClass::Ping || c == ToneClass::Ze;
}

// Whether a character can be read in a class: its own, or 中.
bool maybe(ToneClass c, ToneClass wanted)
{
    return c == wanted || c == ToneClass::Both;
}

QString classWord(ToneClass c)
{
    return c == ToneClass::Ping ? QStringLiteral("平") : QStringLiteral("仄");
}

QString numberedChar(const Line &line, qsizetype index)
{
    return line.text(index, 1);
}

// Judges one poem: the lines' classes, the form and variant, the rhyme and the rules.
class Judge {
public:
    Judge(const Checker &checker, const Poem &poem, Book book, FormChoice form)
        : m_books(checker.books())
        , m_book(book)
        , m_form(form)
    {
        m_out.poem = poem;
        m_out.book = book;
        for (const Line &line : poem.lines) {
            LineCheck lc;
            lc.line = line;
            for (qsizetype i = 0; i < line.size(); ++i)
                lc.tones.append(checker.classAt(line, i, book));
            m_out.lines.append(lc);
        }
    }

    PoemCheck run()
    {
        if (m_out.lines.isEmpty())
            return m_out;
        noteCharacters();
        if (!judgeLength()) {
            finish();
            return m_out;
        }
        if (judgeObliqueRhyme()) {
            finish();
            return m_out;
        }
        m_group = bestGroup(rhymeCandidates(), Tone::Ping);
        chooseLineTypes();
        m_out.rhyme = m_group < 0 ? QString() : m_books.groups(m_book).at(m_group).name;
        judgeLines();
        judgeRhymes();
        finish();
        return m_out;
    }

private:
    int lineCount() const { return int(m_out.lines.size()); }
    int length() const { return int(m_out.lines.first().line.size()); }
    ToneClass cls(int line, int pos) const { return m_out.lines.at(line).tones.at(pos - 1); }
    QString ch(int line, int pos) const { return numberedChar(m_out.lines.at(line).line, pos - 1); }
    char32_t code(int line, int pos) const { return m_out.lines.at(line).line.chars.at(pos - 1); }

    QString at(int line, int pos) const
    {
        return QStringLiteral("第%1句第%2字「%3」").arg(line + 1).arg(pos).arg(ch(line, pos));
    }

    void add(int line, int pos, const QString &kind, Severity severity, const QString &text)
    {
        m_out.findings.append({line + 1, pos, pos > 0 ? ch(line, pos) : QString(), kind, severity, text});
    }

    void finish()
    {
        std::stable_sort(m_out.findings.begin(), m_out.findings.end(),
                         [](const Finding &a, const Finding &b) {
                             return std::pair(a.line, a.pos) < std::pair(b.line, b.pos);
                         });
    }

    void noteCharacters() { m_out.findings += characterNotes(m_books, m_book, m_out.lines); }

    bool judgeLength()
    {
        QList<int> lengths;
        for (const LineCheck &l : m_out.lines)
            lengths.append(int(l.line.size()));
        QHash<int, int> counts;
        for (int n : lengths)
            ++counts[n];
        int common = lengths.first();
        for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
            if (it.value() > counts.value(common))
                common = it.key();
        bool ok = true;
        for (int l = 0; l < lineCount(); ++l) {
            if (lengths.at(l) != common) {
                add(l, 0, kind::length, Severity::Fault,
                    QStringLiteral("第%1句%2字，与其余各句（%3字）不同")
                        .arg(l + 1)
                        .arg(lengths.at(l))
                        .arg(common));
                ok = false;
            }
        }
        if (!ok)
            return false;
        if (common != 5 && common != 7) {
            add(-1, 0, kind::length, Severity::Fault,
                QStringLiteral("每句%1字，近体诗每句五字或七字").arg(common));
            return false;
        }
        const std::optional<Form> byCount = formOfLineCount(lineCount());
        if (m_form.length != 0 && m_form.length != common) {
            add(-1, 0, kind::length, Severity::Fault,
                QStringLiteral("选定的体裁每句%1字，诗中每句%2字").arg(m_form.length).arg(common));
            return false;
        }
        if (m_form.form != Form::Auto && byCount != m_form.form) {
            const QString expected = m_form.form == Form::Jueju   ? QStringLiteral("4句")
                                     : m_form.form == Form::Lvshi ? QStringLiteral("8句")
                                                                  : QStringLiteral("10句以上的偶数句");
            add(-1, 0, kind::length, Severity::Fault,
                QStringLiteral("共%1句，%2应为%3")
                    .arg(lineCount())
                    .arg(formName(m_form.form, common), expected));
            return false;
        }
        if (!byCount) {
            add(-1, 0, kind::length, Severity::Fault,
                QStringLiteral("共%1句，不合绝句（4句）、律诗（8句）或排律（10句以上的偶数句）")
                    .arg(lineCount()));
            return false;
        }
        m_out.form = formName(*byCount, common);
        return true;
    }

    // The even lines, and line 1 when it ends in 平: it counts for the rhyme only on a tie.
    QList<int> rhymeCandidates() const
    {
        QList<int> lines = evenLineEnds();
        if (cls(0, length()) == ToneClass::Ping || cls(0, length()) == ToneClass::Both)
            lines.prepend(0);
        return lines;
    }

    QList<int> evenLineEnds() const
    {
        QList<int> lines;
        for (int l = 1; l < lineCount(); l += 2)
            lines.append(l);
        return lines;
    }

    // The group of the given tone class that most of the lines' last characters share; the
    // earlier group in the book on a tie; -1 when none has one.
    int bestGroup(const QList<int> &lines, Tone wanted) const
    {
        QList<char32_t> rhymes;
        for (int l : lines)
            rhymes.append(code(l, length()));
        return sharedRhymeGroup(m_books, m_book, rhymes, wanted == Tone::Ping,
                                !lines.isEmpty() && lines.first() == 0);
    }

    bool inGroup(int line, int group, bool level) const
    {
        for (const RhymeBooks::Membership &m : m_books.memberships(m_book, code(line, length())))
            if (m.group == group && (m.tone == Tone::Ping) == level)
                return true;
        return false;
    }

    bool inNeighbour(int line) const
    {
        const QList<int> &neighbours = m_books.groups(m_book).at(m_group).neighbours;
        return std::any_of(neighbours.begin(), neighbours.end(),
                           [&](int n) { return inGroup(line, n, true); });
    }

    // Rhyme characters mostly 仄: the poem is 古体 and the rules of regulated verse do not apply.
    bool judgeObliqueRhyme()
    {
        // A character of both classes may be read 平: only rhymes that are clearly 仄 make 古体.
        int level = 0, oblique = 0;
        QStringList chars;
        for (int l : evenLineEnds()) {
            level += maybe(cls(l, length()), ToneClass::Ping);
            oblique += cls(l, length()) == ToneClass::Ze;
            chars << ch(l, length());
        }
        if (oblique <= level)
            return false;
        const int group = bestGroup(evenLineEnds(), Tone::Qu);
        m_out.rhyme = group < 0 ? QString() : m_books.groups(m_book).at(group).name;
        add(-1, 0, kind::obliqueRhyme, Severity::Fault,
            QStringLiteral("韵脚「%1」为仄声，属古体，不按近体格律检查").arg(chars.join(u'、')));
        return true;
    }

    // Mismatches of a line against a type at the fixed positions before the last.
    int misfit(int l, LineType type) const
    {
        const QString t = templateOf(type, length());
        int score = 0;
        for (int p : fixedPositions(length()))
            score += p < length() && isDefinite(cls(l, p)) && cls(l, p) != classOfTemplate(t.at(p - 1));
        return score;
    }

    // How many of the line's relations a type's second character keeps: opposite to the partner
    // in its couplet (对), equal to the last line of the couplet before (粘) and to the first of the
    // next one.
    int kept(int l, LineType type) const
    {
        const ToneClass second = classOfTemplate(templateOf(type, length()).at(1));
        const auto same = [&](int other) { return isDefinite(cls(other, 2)) && cls(other, 2) == second; };
        const auto opposite = [&](int other) { return isDefinite(cls(other, 2)) && cls(other, 2) != second; };
        const int partner = l % 2 == 0 ? l + 1 : l - 1;
        int score = partner < lineCount() && opposite(partner);
        if (l % 2 == 0 && l > 0)
            score += same(l - 1);
        if (l % 2 == 1 && l + 1 < lineCount())
            score += same(l + 1);
        return score;
    }

    // Each line takes the type of its place (rhymed or not) that fits its characters best; on a tie,
    // the one that keeps 粘 and 对 with its neighbours, then the one its own second character shows.
    void chooseLineTypes()
    {
        const bool firstRhymed =
            cls(0, length()) == ToneClass::Ping || (cls(0, length()) == ToneClass::Both && m_group >= 0 &&
                                                    (inGroup(0, m_group, true) || inNeighbour(0)));
        for (int l = 0; l < lineCount(); ++l) {
            const bool rhymed = l % 2 == 1 || (l == 0 && firstRhymed);
            const LineType options[2] = {rhymed ? LineType::B : LineType::A,
                                         rhymed ? LineType::D : LineType::C};
            const auto rank = [&](LineType t) {
                const bool own =
                    isDefinite(cls(l, 2)) && cls(l, 2) == classOfTemplate(templateOf(t, length()).at(1));
                return std::tuple(misfit(l, t), -kept(l, t), own ? 0 : 1);
            };
            m_types.append(rank(options[1]) < rank(options[0]) ? options[1] : options[0]);
        }
        const QList<int> fixed = fixedPositions(length());
        for (int l = 0; l < lineCount(); ++l) {
            QString pattern = templateOf(m_types.at(l), length());
            for (int p = 1; p <= length(); ++p)
                if (!fixed.contains(p))
                    pattern[p - 1] = u'中';
            m_out.lines[l].pattern = pattern;
            m_out.lines[l].rhymed = isRhymedType(m_types.at(l));
        }
        const Variant variant{templateOf(m_types.first(), length()).at(1) == u'平', firstRhymed};
        m_out.variant = variant.name();
    }

    // Position in the line of a position of its last five characters.
    int core(int p) const { return p + length() - 5; }

    void judgeLines()
    {
        for (int l = 0; l < lineCount(); ++l) {
            const LineType type = m_types.at(l);
            const QString t = templateOf(type, length());
            const bool related = judgeRelations(l);
            for (int p : fixedPositions(length())) {
                const ToneClass want = classOfTemplate(t.at(p - 1));
                if (!isDefinite(cls(l, p)) || cls(l, p) == want || (p == 2 && related))
                    continue;
                judgeBrokenPosition(l, p, type, want);
            }
            judgeLonePing(l, type);
            judgeTail(l);
        }
    }

    // Whether a line's second character goes against its own type.
    bool offType(int l) const
    {
        return isDefinite(cls(l, 2)) &&
               cls(l, 2) != classOfTemplate(templateOf(m_types.at(l), length()).at(1));
    }

    // 对 inside a couplet and 粘 between couplets, at the second character. A broken relation is
    // the fault of this line unless the line before goes against its own type (its fault, already
    // reported). Returns whether a fault was reported here.
    bool judgeRelations(int l)
    {
        if (l == 0 || !isDefinite(cls(l, 2)) || !isDefinite(cls(l - 1, 2)) || offType(l - 1))
            return false;
        const bool couplet = l % 2 == 1;
        const bool same = cls(l, 2) == cls(l - 1, 2);
        if (couplet != same)
            return false;
        const ToneClass other = cls(l - 1, 2) == ToneClass::Ping ? ToneClass::Ze : ToneClass::Ping;
        const QString want = classWord(couplet ? other : cls(l - 1, 2));
        add(l, 2, couplet ? kind::unmatched : kind::unglued, Severity::Fault,
            QStringLiteral("%1：与%2%3，此处应%4")
                .arg(at(l, 2), couplet ? QStringLiteral("上句") : QStringLiteral("上联"),
                     couplet ? QStringLiteral("失对") : QStringLiteral("失粘"), want));
        return true;
    }

    void judgeBrokenPosition(int l, int p, LineType type, ToneClass want)
    {
        const QString should =
            QStringLiteral("此处应%1，用了%2声").arg(classWord(want), classWord(cls(l, p)));
        if (p == length()) {
            add(l, p, kind::tones, Severity::Fault,
                m_out.lines.at(l).rhymed
                    ? QStringLiteral("%1：韵脚应平，用了仄声").arg(at(l, p))
                    : QStringLiteral("%1：不押韵的句子末字应仄，用了平声").arg(at(l, p)));
            return;
        }
        // 平平仄平仄 for 平平平仄仄: the fourth turned 平 is made good by the third turned 仄.
        if (type == LineType::C && p == core(4) && maybe(cls(l, core(3)), ToneClass::Ze)) {
            add(l, p, kind::selfRescue, Severity::Accepted,
                QStringLiteral("%1：第%2字用仄、第%3字用平，为本句自救，可用")
                    .arg(at(l, p))
                    .arg(core(3))
                    .arg(core(4)));
            return;
        }
        // 仄仄平仄仄 for 仄仄平平仄, made good by 平 at the third of the partner line.
        if (type == LineType::A && p == core(4) && l + 1 < lineCount() && l % 2 == 0 &&
            m_types.at(l + 1) == LineType::B && maybe(cls(l + 1, core(3)), ToneClass::Ping)) {
            add(l, p, kind::partnerRescue, Severity::Accepted,
                QStringLiteral("%1拗，对句第%2字「%3」用平相救，为对句相救，可用")
                    .arg(at(l, p))
                    .arg(core(3))
                    .arg(ch(l + 1, core(3))));
            return;
        }
        add(l, p, kind::tones, Severity::Fault, QStringLiteral("%1：%2").arg(at(l, p), should));
    }

    // In a line of the type 平平仄仄平, one 平 besides the rhyme is 孤平; 仄平平仄平 makes it good.
    void judgeLonePing(int l, LineType type)
    {
        if (type != LineType::B)
            return;
        int level = 0;
        for (int p = 1; p <= 4; ++p)
            level += cls(l, core(p)) == ToneClass::Ping || cls(l, core(p)) == ToneClass::Both ||
                     cls(l, core(p)) == ToneClass::Unknown;
        if (level <= 1) {
            add(l, core(1), kind::lonePing, Severity::Fault,
                QStringLiteral("第%1句犯孤平：除韵脚外只有一个平声字").arg(l + 1));
            return;
        }
        if (cls(l, core(1)) == ToneClass::Ze && maybe(cls(l, core(3)), ToneClass::Ping))
            add(l, core(3), kind::lonePingRescue, Severity::Accepted,
                QStringLiteral("%1：第%2字用仄，此字用平相救，为孤平拗救，可用")
                    .arg(at(l, core(3)))
                    .arg(core(1)));
    }

    void judgeTail(int l)
    {
        const int n = length();
        const QString tail = m_out.lines.at(l).line.text(n - 3, 3);
        const auto all = [&](ToneClass c) {
            return cls(l, n - 2) == c && cls(l, n - 1) == c && cls(l, n) == c;
        };
        if (all(ToneClass::Ping))
            add(l, n - 2, kind::threePing, Severity::Fault,
                QStringLiteral("第%1句末三字「%2」连用平声，犯三平尾").arg(l + 1).arg(tail));
        else if (all(ToneClass::Ze))
            add(l, n - 2, kind::threeZe, Severity::Warning,
                QStringLiteral("第%1句末三字「%2」连用仄声（三仄尾），可用，宜慎").arg(l + 1).arg(tail));
    }

    QString groupsOf(int line) const
    {
        QStringList names;
        for (const RhymeBooks::Membership &m : m_books.memberships(m_book, code(line, length())))
            if (m.tone == Tone::Ping && !names.contains(m_books.groups(m_book).at(m.group).name))
                names << m_books.groups(m_book).at(m.group).name;
        return names.join(u'、');
    }

    void judgeRhymes()
    {
        if (m_group < 0)
            return;
        const RhymeBooks::Group &group = m_books.groups(m_book).at(m_group);
        for (int l = 0; l < lineCount(); ++l) {
            if (!m_out.lines.at(l).rhymed || inGroup(l, m_group, true))
                continue;
            const ToneClass c = cls(l, length());
            if (c == ToneClass::Ze || c == ToneClass::Unknown)
                continue; // already a 平仄 fault, or a character the book lacks
            if (m_books.memberships(m_book, code(l, length())).isEmpty())
                continue; // classed by its modern reading: it has no group to compare
            const bool borrowed = l == 0 && inNeighbour(l);
            if (borrowed)
                add(l, length(), kind::borrowedRhyme, Severity::Warning,
                    QStringLiteral("%1：属邻韵%2，首句借邻韵，为孤雁出群，可用")
                        .arg(at(l, length()), groupsOf(l)));
            else
                add(l, length(), kind::offRhyme, Severity::Fault,
                    QStringLiteral("%1：出韵，不在%2（属%3）").arg(at(l, length()), group.name, groupsOf(l)));
        }
    }

    const RhymeBooks &m_books;
    Book m_book;
    FormChoice m_form;
    PoemCheck m_out;
    int m_group = -1;
    QList<LineType> m_types;
};

} // namespace

QList<Finding> characterNotes(const RhymeBooks &books, Book book, const QList<LineCheck> &lines)
{
    QList<Finding> out;
    const QString name = bookName(book);
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const Line &line = lines[l].line;
        for (qsizetype i = 0; i < line.size(); ++i) {
            // Most characters are in the book: the notes are written only for the others.
            const bool unknown = lines[l].tones.at(i) == ToneClass::Unknown;
            if (!unknown && !books.memberships(book, line.chars.at(i)).isEmpty())
                continue;
            const std::optional<RhymeBooks::Ungrouped> u =
                unknown ? std::nullopt : books.ungrouped(book, line.chars.at(i));
            if (!unknown && !u)
                continue;
            const QString c = line.text(i, 1);
            const QString at = QStringLiteral("第%1句第%2字「%3」").arg(l + 1).arg(i + 1).arg(c);
            Finding f{int(l) + 1, int(i) + 1, c, {}, Severity::Warning, {}};
            if (unknown) {
                f.kind = kind::unknown;
                f.text = QStringLiteral("%1：%2中无此字，未计平仄").arg(at, name);
            } else {
                const QString basis = u->basis == QStringLiteral("今读") ? QStringLiteral("按今读")
                                                                         : QStringLiteral("按粤音入声");
                f.kind = kind::modernOnly;
                f.text = QStringLiteral("%1：%2无此字，%3计为%4")
                             .arg(at, name, basis,
                                  classOf(u->tone) == ToneClass::Ping ? QStringLiteral("平")
                                                                      : QStringLiteral("仄"));
            }
            out.append(f);
        }
    }
    return out;
}

int sharedRhymeGroup(const RhymeBooks &books, Book book, const QList<char32_t> &rhymes, bool level,
                     bool firstHalf)
{
    QHash<int, int> votes;
    for (qsizetype i = 0; i < rhymes.size(); ++i) {
        QVarLengthArray<int, 4> seen;
        for (const RhymeBooks::Membership &m : books.memberships(book, rhymes.at(i))) {
            if ((m.tone == Tone::Ping) != level || seen.contains(m.group))
                continue;
            seen.append(m.group);
            votes[m.group] += i == 0 && firstHalf ? 1 : 2;
        }
    }
    int best = -1;
    for (auto it = votes.constBegin(); it != votes.constEnd(); ++it)
        if (best < 0 || it.value() > votes.value(best) ||
            (it.value() == votes.value(best) && it.key() < best))
            best = it.key();
    return best;
}

bool PoemCheck::ok() const
{
    return faultCount() == 0;
}

int PoemCheck::faultCount() const
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Finding &f) { return f.isFault(); }));
}

QString PoemCheck::summary() const
{
    QStringList parts;
    if (isCi()) {
        parts << form << variant;
        if (!rhyme.isEmpty())
            parts << rhyme;
        parts << (ok() ? QStringLiteral("合谱") : QStringLiteral("%1处不合").arg(faultCount()));
        return parts.join(QStringLiteral(" · "));
    }
    const bool oblique = std::any_of(findings.begin(), findings.end(),
                                     [](const Finding &f) { return f.kind == kind::obliqueRhyme; });
    if (oblique)
        parts << QStringLiteral("古体（仄韵）");
    else if (!form.isEmpty())
        parts << form;
    if (!variant.isEmpty() && !oblique)
        parts << variant;
    if (!rhyme.isEmpty())
        parts << rhyme;
    if (form.isEmpty())
        parts << QStringLiteral("不合近体诗体裁");
    else if (!oblique)
        parts << (ok() ? QStringLiteral("合律") : QStringLiteral("%1处不合").arg(faultCount()));
    return parts.join(QStringLiteral(" · "));
}

QList<Finding> PoemCheck::sortedFindings() const
{
    QList<Finding> out = findings;
    std::stable_sort(out.begin(), out.end(),
                     [](const Finding &a, const Finding &b) { return int(a.severity) < int(b.severity); });
    return out;
}

Checker::Checker(std::shared_ptr<const RhymeBooks> books)
    : m_books(std::move(books))
{
}

ToneClass Checker::classAt(const Line &line, qsizetype index, Book book) const
{
    const ToneClass c = m_books->toneClass(book, line.chars.at(index));
    if (c != ToneClass::Both || !isModern(book))
        return c;
    // The longest known word around the character decides its reading.
    for (qsizetype len = std::min<qsizetype>(4, line.size()); len >= 2; --len) {
        for (qsizetype start = std::max<qsizetype>(0, index - len + 1);
             start <= index && start + len <= line.size(); ++start) {
            const QString reading = m_books->wordReading(line.text(start, len));
            if (reading.isEmpty())
                continue;
            const QStringList syllables = reading.split(u' ');
            if (syllables.size() == len) {
                const ToneClass w = modernClass(syllables.at(index - start));
                if (w != ToneClass::Unknown)
                    return w;
            }
        }
    }
    return c;
}

PoemCheck Checker::check(const Poem &poem, Book book, FormChoice form) const
{
    return Judge(*this, poem, book, form).run();
}

QList<PoemCheck> Checker::checkText(const QString &text, Book book, FormChoice form) const
{
    QList<PoemCheck> out;
    for (const Poem &poem : readPoems(text))
        out.append(check(poem, book, form));
    return out;
}

} // namespace prosody
