// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/ci/cijudge.h"

#include "prosody/ci/evidence.h"
#include "prosody/core/rhymevote.h"
#include "prosody/findings/characternotes.h"

namespace prosody {

namespace {

class CiJudge {
public:
    CiJudge(const RhymeBooks &books, const Poem &poem, const Classes &classes, const CiAlignment &a,
            Book book)
        : m_books(books)
        , m_book(book)
        , m_a(a)
        , m_form(*a.form)
        , m_loneRun(loneRun(m_form))
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
        m_out.sortFindings();
        return m_out;
    }

private:
    QString charAt(int line, int index) const { return m_out.lines[line].line.text(index, 1); }
    QString at(int line, int index) const { return locator(line + 1, index + 1, charAt(line, index)); }

    // A fault at a character (0-based); index -1 for the whole line, line -1 for the whole poem.
    void add(int line, int index, FindingKind kind, const QString &text, Severity severity = Severity::Fault)
    {
        const QString c = line >= 0 && index >= 0 ? charAt(line, index) : QString();
        m_out.findings.append({line + 1, index + 1, c, kind, severity, text});
    }

    void judgeLines()
    {
        for (int j : m_a.missing)
            add(-1, -1, FindingKind::Length,
                QStringLiteral("缺一句：谱中第%1句（%2字）无对应").arg(j + 1).arg(m_form.lines[j].length()));
        for (int i = 0; i < m_out.lines.size(); ++i) {
            LineCheck &lc = m_out.lines[i];
            const QList<CiAlignment::Piece> &pieces = m_a.lines[i];
            if (pieces.isEmpty()) {
                add(i, -1, FindingKind::Length, QStringLiteral("第%1句多出：谱中无此句").arg(i + 1));
                continue;
            }
            lc.formLine = pieces.first().formLine;
            const CiLine &last = m_form.lines[pieces.last().formLine];
            // The line's end is the form line's end unless the poem breaks inside a form line.
            if (endsFormLine(i, pieces.last())) {
                lc.rhymeRun = runOf(last);
                lc.rhymed = lc.rhymeRun != 0;
            }
            if (m_a.wrongLength[i]) {
                add(i, -1, FindingKind::Length,
                    QStringLiteral("第%1句%2字，谱中此句%3字")
                        .arg(i + 1)
                        .arg(lc.line.size())
                        .arg(last.length()));
                continue;
            }
            if (m_a.missingChar[i] >= 0)
                add(i, m_a.missingChar[i] < lc.line.size() ? m_a.missingChar[i] : -1, FindingKind::Length,
                    QStringLiteral("第%1句少一字：谱中此句%2字，此处缺第%3字")
                        .arg(i + 1)
                        .arg(last.length())
                        .arg(m_a.missingChar[i] + 1));
            if (m_a.extraChar[i] >= 0)
                add(i, m_a.extraChar[i], FindingKind::Length,
                    QStringLiteral("第%1句多一字：谱中此句%2字，「%3」多出")
                        .arg(i + 1)
                        .arg(last.length())
                        .arg(charAt(i, m_a.extraChar[i])));
            // The pattern under each character; a character the form has no place for gets a blank.
            lc.pattern = QString(lc.line.size(), u' ');
            lc.shares = QList<int>(lc.line.size(), 0);
            lc.tips = QStringList(lc.line.size(), QString());
            for (const CiAlignment::Piece &p : pieces) {
                const CiLine &line = m_form.lines[p.formLine];
                for (int k = 0; k < p.length; ++k) {
                    const CiPosition &pos = line.positions[p.formOffset + k];
                    lc.pattern[p.lineOffset + k] = className(pos.tone);
                    lc.shares[p.lineOffset + k] = pos.percent();
                    lc.tips[p.lineOffset + k] = pos.tip(m_form.poems);
                    judgeTone(i, p.lineOffset + k, pos);
                }
            }
        }
    }

    // A form of one poem (孤例) keeps only its largest rhyme run: its other runs may be line ends that
    // share a 部 by chance. 0 for a form of more poems.
    static int loneRun(const CiForm &form)
    {
        if (form.poems != 1 || form.fromBook())
            return 0;
        QHash<int, int> members;
        int best = 0;
        for (const CiLine &l : form.lines)
            if (l.rhymeRun != 0 && ++members[l.rhymeRun] > members.value(best))
                best = l.rhymeRun;
        return best;
    }

    // The rhyme run of a form line as the check uses it.
    int runOf(const CiLine &line) const
    {
        return m_loneRun != 0 && line.rhymeRun != m_loneRun ? 0 : line.rhymeRun;
    }

    bool endsFormLine(int i, const CiAlignment::Piece &p) const
    {
        return m_a.wrongLength[i] || m_a.missingChar[i] >= 0 || m_a.extraChar[i] >= 0 ||
               p.formOffset + p.length == m_form.lines[p.formLine].length();
    }

    void judgeTone(int line, int index, const CiPosition &pos)
    {
        const ToneClass have = m_out.lines[line].tones[index];
        if (pos.strictness == Strictness::Free || !isDefinite(have) || have == pos.tone)
            return;
        const QString want = QString(className(pos.tone));
        if (m_form.fromBook() && pos.authority != Authority::Corpus) {
            judgeByBook(line, index, pos, want, QString(className(have)));
            return;
        }
        if (m_form.fromExamples()) {
            const int agree = pos.tone == ToneClass::Ping ? pos.ping : pos.ze;
            add(line, index, FindingKind::Tones,
                QStringLiteral("%1：与例词不同：例词 %2 首中 %3 首用%4")
                    .arg(at(line, index))
                    .arg(m_form.poems)
                    .arg(agree)
                    .arg(want),
                Severity::Warning);
        } else if (pos.strictness == Strictness::Warning) {
            // Near-unanimous poems against the book's example (yieldToBook): the book allows it.
            const QString book =
                pos.book == have ? QStringLiteral("；谱之例词亦用%1声").arg(className(have)) : QString();
            add(line, index, FindingKind::Tones,
                QStringLiteral("%1：宜%2（谱中%3%用%2），用了%4声%5")
                    .arg(at(line, index), want)
                    .arg(pos.percent())
                    .arg(className(have), book),
                Severity::Warning);
        } else {
            add(line, index, FindingKind::Tones,
                QStringLiteral("%1：此处应%2（谱中%3%用%2），用了%4声")
                    .arg(at(line, index), want)
                    .arg(pos.percent())
                    .arg(className(have)));
        }
    }

    // A place the book decides: a fault against its rule, a warning where it had no other poem to
    // compare or where poems of the corpus write the other class too.
    void judgeByBook(int line, int index, const CiPosition &pos, const QString &want, const QString &have)
    {
        if (pos.strictness == Strictness::Fault) {
            add(line, index, FindingKind::Tones,
                QStringLiteral("%1：谱作%2，用了%3声（据谱，例词及注）").arg(at(line, index), want, have));
        } else if (pos.authority == Authority::BookExample) {
            add(line, index, FindingKind::Tones,
                QStringLiteral("%1：谱作%2，用了%3声（例词之声，谱无别首可校）")
                    .arg(at(line, index), want, have),
                Severity::Warning);
        } else {
            const int others = pos.tone == ToneClass::Ping ? pos.ze : pos.ping;
            add(line, index, FindingKind::Tones,
                QStringLiteral("%1：谱作%2，用了%3声；词作 %4 首中 %5 首亦用%3")
                    .arg(at(line, index), want, have)
                    .arg(m_form.poems)
                    .arg(others),
                Severity::Warning);
        }
    }

    // The character at the end of each rhymed line of the form, where the poem has one.
    struct RhymeChar {
        int line;
        int index;
        int run;
        int formLine;
    };

    QList<RhymeChar> rhymeChars() const
    {
        QList<RhymeChar> out;
        for (int i = 0; i < m_out.lines.size(); ++i) {
            const int length = int(m_out.lines[i].line.size());
            const QList<CiAlignment::Piece> &pieces = m_a.lines[i];
            for (qsizetype k = 0; k < pieces.size(); ++k) {
                const CiAlignment::Piece &p = pieces[k];
                const CiLine &line = m_form.lines[p.formLine];
                const bool whole = m_a.wrongLength[i] || m_a.missingChar[i] >= 0 || m_a.extraChar[i] >= 0;
                const bool end = whole ? k == pieces.size() - 1 : p.formOffset + p.length == line.length();
                if (runOf(line) == 0 || !end)
                    continue;
                // The 平水韵 keeps the tones apart: a run rhyming on both (西江月) is judged tone by tone.
                const int run = m_book == Book::Pingshui && line.rhymeTone == ToneClass::Ze ? -line.rhymeRun
                                                                                            : line.rhymeRun;
                out.append({i, whole ? length - 1 : p.lineOffset + p.length - 1, run, p.formLine});
            }
        }
        return out;
    }

    char32_t code(const RhymeChar &r) const { return m_out.lines[r.line].line.chars[r.index]; }

    QList<int> groupsAt(const RhymeChar &r) const
    {
        QList<int> out;
        for (const RhymeBooks::Membership &m : m_books.memberships(m_book, code(r)))
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

    // The 部 number of a 词林正韵 group; 0 in another book (通押 is counted in the 词林正韵 only).
    int sectionOf(int group) const
    {
        return m_book == Book::Cilin ? sectionNumber(m_books.groups(m_book).at(group).name) : 0;
    }

    // A group of the character that Song poets rhymed with the run's group often: the 通押 of the corpus.
    int sharedWith(int runGroup, const QList<int> &groups) const
    {
        if (m_book != Book::Cilin)
            return -1;
        for (int g : groups)
            if (rhymedTogether(m_books.cipu(), sectionOf(runGroup), sectionOf(g)))
                return g;
        return -1;
    }

    // A group of the character that is an 入声 部 used in the run's 部 as 入作三声, or the 部 of a 平,
    // 上 or 去 character where the run's 入声 are so used (张可久's 也 among 第十八部); -1 when none is.
    int enteringWith(int runGroup, const QList<int> &groups) const
    {
        if (m_book != Book::Cilin)
            return -1;
        for (int g : groups)
            if (enteringAs(sectionOf(g), sectionOf(runGroup)) ||
                enteringAs(sectionOf(runGroup), sectionOf(g)))
                return g;
        return -1;
    }

    // Where too few of the form's poems rhyme at this line end to make an unrhymed character a fault
    // (the share of the tones' rule; a form of a few example poems: all of them; a form of one poem
    // never, since its runs may join line ends that share a 部 by chance), what the form says of it:
    // "谱中此处68%押韵"; else empty.
    QString weakRhyme(const RhymeChar &r) const
    {
        const int rhymed = m_form.lines[r.formLine].rhymed;
        const int poems = m_form.poems;
        // The book marks its rhymes: each is the rule.
        if (m_form.fromBook())
            return QString();
        if (m_form.lines[r.formLine].unrhymedInBook)
            return QStringLiteral("谱之例词此处不押韵");
        if (poems == 1)
            return QStringLiteral("谱据孤例");
        const bool rule =
            m_form.fromExamples() ? rhymed >= poems : 100 * rhymed >= evidence::kFaultPercent * poems;
        return rule || poems <= 0 ? QString() : QStringLiteral("谱中此处%1%押韵").arg(100 * rhymed / poems);
    }

    // In each run the group most rhyme characters share is the run's rhyme; a character outside it
    // is 出韵; a run where no two characters share a group does not rhyme at all (未押韵).
    void judgeRhymes()
    {
        const QList<RhymeChar> chars = rhymeChars();
        QList<int> runIds;
        for (const RhymeChar &r : chars)
            if (!runIds.contains(r.run))
                runIds.append(r.run);
        QStringList rhymes;
        QStringList described;
        for (int run : runIds) {
            QList<RhymeChar> members;
            QList<char32_t> codes;
            for (const RhymeChar &r : chars) {
                if (r.run == run && !groupsAt(r).isEmpty()) {
                    members.append(r);
                    codes.append(code(r));
                }
            }
            if (members.size() < 2)
                continue;
            RhymeVote vote = voteRhyme(m_books, m_book, codes, RhymeTone::Any);
            // No two in one 部, but every one in a 部 the poets rhymed with the first's (物 and 壁): the
            // run rhymes in the first's 部 by 通押.
            if (vote.voters < 2 && std::all_of(members.begin() + 1, members.end(), [&](const RhymeChar &r) {
                    return sharedWith(groupsAt(members.first()).first(), groupsAt(r)) >= 0;
                }))
                vote = {groupsAt(members.first()).first(), 2};
            if (vote.voters < 2) {
                QStringList all;
                for (const RhymeChar &r : members)
                    all << charAt(r.line, r.index);
                for (const RhymeChar &r : members) {
                    if (const QString weak = weakRhyme(r); !weak.isEmpty())
                        add(r.line, r.index, FindingKind::Unrhymed,
                            QStringLiteral("%1：%2；同组韵脚「%3」各不同部")
                                .arg(at(r.line, r.index), weak, all.join(u'、')),
                            Severity::Warning);
                    else
                        add(r.line, r.index, FindingKind::Unrhymed,
                            QStringLiteral("%1：此处应押韵，同组韵脚「%2」各不同部")
                                .arg(at(r.line, r.index), all.join(u'、')));
                }
                continue;
            }
            const QString name = m_books.groups(m_book).at(vote.group).name;
            if (!rhymes.contains(name))
                rhymes << name;
            described.append(describeRun(members, name));
            for (const RhymeChar &r : members) {
                if (groupsAt(r).contains(vote.group))
                    continue;
                if (const int shared = sharedWith(vote.group, groupsAt(r)); shared >= 0) {
                    const int poems =
                        m_books.cipu().sharedRhyme(sectionOf(vote.group), sectionOf(shared)).poems;
                    add(r.line, r.index, FindingKind::SharedRhyme,
                        QStringLiteral("%1：%2与%3通押，宋词中%4，%5 首")
                            .arg(at(r.line, r.index), name, m_books.groups(m_book).at(shared).name,
                                 poems >= evidence::kSharedRhymePoems ? QStringLiteral("常见")
                                                                      : QStringLiteral("偶见"))
                            .arg(poems),
                        Severity::Warning);
                } else if (const int entering = enteringWith(vote.group, groupsAt(r)); entering >= 0)
                    add(r.line, r.index, FindingKind::SharedRhyme,
                        sectionOf(entering) > sectionOf(vote.group)
                            ? QStringLiteral("%1：入声（%2）作三声，押%3")
                                  .arg(at(r.line, r.index), m_books.groups(m_book).at(entering).name, name)
                            : QStringLiteral("%1：%2入声作三声，与%3相押")
                                  .arg(at(r.line, r.index), name, m_books.groups(m_book).at(entering).name),
                        Severity::Warning);
                else if (const QString weak = weakRhyme(r); !weak.isEmpty())
                    add(r.line, r.index, FindingKind::OffRhyme,
                        QStringLiteral("%1：不押%2；%3，可不押").arg(at(r.line, r.index), name, weak),
                        Severity::Warning);
                else
                    add(r.line, r.index, FindingKind::OffRhyme,
                        QStringLiteral("%1：出韵，不在%2（属%3）")
                            .arg(at(r.line, r.index), name, groupNames(groupsAt(r))));
            }
        }
        // A 词 that changes rhyme names each run with its lines, tone and group.
        m_out.rhyme =
            described.size() > 1 ? QStringLiteral("换韵：") + described.join(u'，') : rhymes.join(u'、');
    }

    // "第1、2句仄韵第十七部": the lines of a run, its tone (平仄 where it rhymes on both) and group; each
    // line is told its group.
    QString describeRun(const QList<RhymeChar> &members, const QString &group)
    {
        QStringList lines;
        bool ping = false, ze = false;
        for (const RhymeChar &r : members) {
            lines << QString::number(r.line + 1);
            m_out.lines[r.line].rhymeGroup = group;
            const ToneClass tone = m_form.lines[r.formLine].rhymeTone;
            ping = ping || tone == ToneClass::Ping;
            ze = ze || tone == ToneClass::Ze;
        }
        const QString tone = ping && ze ? QStringLiteral("平仄")
                             : ping     ? QStringLiteral("平")
                                        : QStringLiteral("仄");
        return QStringLiteral("第%1句%2韵%3").arg(lines.join(u'、'), tone, group);
    }

    const RhymeBooks &m_books;
    Book m_book;
    const CiAlignment &m_a;
    const CiForm &m_form;
    const int m_loneRun;
    PoemCheck m_out;
};

} // namespace

PoemCheck judgeCi(const RhymeBooks &books, const Poem &poem, const Classes &classes, const CiAlignment &a,
                  Book book)
{
    return CiJudge(books, poem, classes, a, book).run();
}

} // namespace prosody
