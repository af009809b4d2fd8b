// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/check.h"
#include "prosody/ci/align.h"
#include "prosody/core/referencefile.h"
#include "tests/support/booksfixture.h"
#include "tests/support/checknamed.h"

#include <QTemporaryDir>
#include <QTest>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

// Findings as "平仄@3:4" (fault) or "~通押@2:1" (warning).
QString describe(const PoemCheck &check)
{
    QStringList out;
    for (const Finding &f : check.findings)
        out << (f.isFault() ? QString() : u"~"_s) +
                   u"%1@%2:%3"_s.arg(kindName(f.kind)).arg(f.line).arg(f.pos);
    return out.join(u' ');
}

// A form of the given line lengths; the lines whose number is in rhymed end on a rhyme.
CiForm formOf(const QList<int> &lengths, const QList<int> &rhymed = {})
{
    CiForm form;
    for (qsizetype l = 0; l < lengths.size(); ++l) {
        CiLine line;
        line.positions.resize(lengths[l]);
        line.rhymeRun = rhymed.contains(int(l) + 1) ? 1 : 0;
        form.lines.append(line);
    }
    return form;
}

// The alignment's pieces per line of the poem: "0.0+4 1.0+3|1.3+2" (form line.offset+length).
QString piecesOf(const CiAlignment &a)
{
    QStringList lines;
    for (const QList<CiAlignment::Piece> &pieces : a.lines) {
        QStringList out;
        for (const CiAlignment::Piece &p : pieces)
            out << u"%1.%2+%3"_s.arg(p.formLine).arg(p.formOffset).arg(p.length);
        lines << out.join(u' ');
    }
    return lines.join(u'|');
}

} // namespace

// 词 as poets write them, on a 词谱 of the test's own: 天 平, 木 仄; 东红 第一部, 阳 第二部, 真 第六部, 庭
// 第十一部 (all 平); 屋 第十五部 (入). Song poets rhymed 第六部 with 第十一部 often, 第一部 with 第二部
// seldom.
class CiPoetsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<const RhymeBooks> m_books;

    PoemCheck check(const QString &text, const QString &form) const
    {
        const QList<PoemCheck> checks = checkNamed(m_books, text, form).value_or(QList<PoemCheck>());
        return checks.size() == 1 ? checks.first() : PoemCheck();
    }

private slots:
    void initTestCase()
    {
        BooksFixture books(m_dir.filePath(u"rhymebooks.db"_s));
        for (const QString &book : {u"平水韵"_s, u"词林正韵"_s}) {
            const bool cilin = book == u"词林正韵";
            books.add(book, cilin ? u"第一部"_s : u"上平一东"_s, u"平"_s, u"东红"_s)
                .add(book, cilin ? u"第二部"_s : u"下平七阳"_s, u"平"_s, u"阳"_s)
                .add(book, cilin ? u"第六部"_s : u"上平十一真"_s, u"平"_s, u"真"_s)
                .add(book, cilin ? u"第十一部"_s : u"下平九青"_s, u"平"_s, u"庭"_s)
                .add(book, cilin ? u"第七部"_s : u"下平一先"_s, u"平"_s, u"天"_s)
                .add(book, cilin ? u"第四部"_s : u"上平七虞"_s, u"平"_s, u"湖"_s)
                .add(book, cilin ? u"第十五部"_s : u"入声一屋"_s, u"入"_s, u"木屋"_s);
        }
        const QStringList shape = {u"平平仄仄"_s, u"仄仄平平/1"_s, u"中仄平/1"_s, u"平平仄仄平/1"_s};
        books.tune(u"大调"_s, 40)
            .ciForm(u"大调"_s, 1, 40, shape, 2)
            .tune(u"宜调"_s, 40)
            .ciForm(u"宜调"_s, 1, 40, shape, 2, u"平韵"_s, 85)
            .tune(u"小调"_s, 3)
            .ciForm(u"小调"_s, 1, 3, {u"仄平平仄"_s, u"平仄平平/1"_s, u"平仄平/1"_s, u"仄平仄仄平/1"_s}, 2)
            .tune(u"双体调"_s, 30)
            .ciForm(u"双体调"_s, 1, 20, {u"仄仄平平"_s, u"平平仄仄平/1"_s, u"仄仄仄平平/1"_s}, 0)
            .ciForm(u"双体调"_s, 2, 10, {u"仄仄平平"_s, u"平平仄仄平/1"_s, u"仄仄平平/1"_s}, 0)
            .tune(u"长调"_s, 60)
            .ciForm(u"长调"_s, 1, 60,
                    {u"仄仄平平仄"_s, u"平平仄仄平/1"_s, u"平平仄仄"_s, u"仄仄仄平平/1"_s, u"仄仄平平仄仄"_s,
                     u"平平仄仄平/1"_s, u"平平平仄"_s, u"仄仄仄平平/1"_s},
                    4)
            .tune(u"可韵调"_s, 40)
            .ciForm(u"可韵调"_s, 1, 40,
                    {u"仄平平仄仄"_s, u"仄仄平平/1"_s, u"中仄平/1~60"_s, u"平平仄仄平/1"_s}, 2)
            .tune(u"必韵调"_s, 40)
            .ciForm(u"必韵调"_s, 1, 40,
                    {u"仄平平仄仄"_s, u"仄仄平平/1"_s, u"中仄平/1~96"_s, u"平平仄仄平/1"_s}, 2)
            .tune(u"孤调"_s, 1)
            .ciForm(u"孤调"_s, 1, 1,
                    {u"平平仄/2"_s, u"仄平平/1"_s, u"平平仄仄平平/1"_s, u"仄仄平平仄仄平/1"_s, u"平平平/2"_s})
            .tune(u"同形孤调"_s, 1)
            .ciForm(u"同形孤调"_s, 1, 1, shape, 2)
            .tune(u"近诗小调"_s, 3)
            .ciForm(u"近诗小调"_s, 1, 3,
                    {u"平平平仄仄"_s, u"仄仄仄平平/1"_s, u"仄仄平平仄仄"_s, u"平平仄仄平/1"_s})
            .tune(u"近诗孤调"_s, 1)
            .ciForm(u"近诗孤调"_s, 1, 1,
                    {u"仄仄平平平仄仄"_s, u"平平仄仄仄平平/1"_s, u"平平仄仄平平"_s, u"仄仄平平仄仄平/1"_s})
            .tune(u"近诗大调"_s, 40)
            .ciForm(u"近诗大调"_s, 1, 40,
                    {u"平平平仄仄"_s, u"仄仄仄平平/1"_s, u"仄平平"_s, u"平平仄仄平/1"_s})
            .sharedRhyme(u"第六部"_s, u"第十一部"_s, 40, 200)
            .sharedRhyme(u"第一部"_s, u"第二部"_s, 3, 200)
            .sharedRhyme(u"第一部"_s, u"第十五部"_s, 50, 100);
        m_books = loadRhymeBooks(books.path());
    }

    // The alignment of line lengths to a form's, at the lowest level: breaks as poets punctuate.
    void linesAlignAsPoetsBreakThem_data()
    {
        QTest::addColumn<QList<int>>("poem");
        QTest::addColumn<QList<int>>("rhymed");
        QTest::addColumn<QString>("pieces");
        QTest::addColumn<int>("faults");
        // The form: 4, 3|5 (a 领字 and its line), 4, 5; rhymes at the end of the 领字's line and the last.
        const QList<int> rhymes = {3, 5};
        QTest::newRow("the 领字 pause left out")
            << QList<int>{4, 8, 4, 5} << rhymes << u"0.0+4|1.0+3 2.0+5|3.0+4|4.0+5"_s << 0;
        QTest::newRow("as the form") << QList<int>{4, 3, 5, 4, 5} << rhymes
                                     << u"0.0+4|1.0+3|2.0+5|3.0+4|4.0+5"_s << 0;
        QTest::newRow("two lines written as one")
            << QList<int>{7, 5, 4, 5} << rhymes << u"0.0+4 1.0+3|2.0+5|3.0+4|4.0+5"_s << 0;
        QTest::newRow("a line written as two, broken elsewhere")
            << QList<int>{4, 5, 3, 4, 5} << rhymes << u"0.0+4|1.0+3 2.0+2|2.2+3|3.0+4|4.0+5"_s << 0;
        // A rhyme at the end of the first line: 4+3 may not be read as one line of seven (one too long,
        // one missing).
        QTest::newRow("no rhyme may fall inside a line")
            << QList<int>{7, 5, 4, 5} << QList<int>{1, 3, 5} << QString() << 2;
        QTest::newRow("a character missing") << QList<int>{4, 8, 3, 5} << rhymes << QString() << 1;
        QTest::newRow("a character too many") << QList<int>{4, 8, 4, 6} << rhymes << QString() << 1;
    }

    void linesAlignAsPoetsBreakThem()
    {
        QFETCH(QList<int>, poem);
        QFETCH(QList<int>, rhymed);
        QFETCH(QString, pieces);
        QFETCH(int, faults);
        const CiForm form = formOf({4, 3, 5, 4, 5}, rhymed);
        const CiAlignment a = align(poem, form);
        QCOMPARE(a.structureFaults, faults);
        if (faults == 0)
            QCOMPARE(piecesOf(a), pieces);
        QCOMPARE(a.unwrittenFrom, 5);
    }

    void oneCharacterOffIsOneFindingAtItsPlace()
    {
        // 木天东 for 仄仄平平: the gap goes where the rest fits (after 木), the rest is checked as written.
        const CiForm form = formOf({4}, {1});
        const CiAlignment shorter = align({3}, form);
        QCOMPARE(shorter.missingChar.first(), 2); // without classes: at the end, but before the rhyme
        const PoemCheck missing = check(u"天天木木，木天东。天木红，天天木天东。"_s, u"大调"_s);
        QCOMPARE(describe(missing), u"字数@2:2 平仄@4:4"_s);
        QCOMPARE(missing.findings.first().text, u"第2句少一字：谱中此句4字，此处缺第2字"_s);
        const PoemCheck extra = check(u"天天木木，木木天天东。天木红，天天木木东。"_s, u"大调"_s);
        QCOMPARE(extra.findings.first().text, u"第2句多一字：谱中此句4字，「天」多出"_s);
        QCOMPARE(extra.faultCount(), 1);
    }

    void strictnessFollowsTheEvidence_data()
    {
        QTest::addColumn<QString>("tune");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("finding");
        // 天 where 95% of 40 poems have 仄, the least share that makes a fault.
        QTest::newRow("near-unanimous") << u"大调"_s << u"天天木木，天木天东。天木红，天天木木东。"_s
                                        << u"大调 · 正体 · 第一部 · 1处不合"_s
                                        << u"第2句第1字「天」：此处应仄（谱中95%用仄），用了平声"_s;
        // Where 85% have 仄: a warning with its share.
        QTest::newRow("most") << u"宜调"_s << u"天天木木，天木天东。天木红，天天木木东。"_s
                              << u"宜调 · 正体 · 第一部 · 合谱"_s
                              << u"第2句第1字「天」：宜仄（谱中85%用仄），用了平声"_s;
        // A form of three poems shows its examples: a warning, never a fault.
        QTest::newRow("examples") << u"小调"_s << u"天天天木，天木天东。天木红，木天木木东。"_s
                                  << u"小调 · 正体 · 第一部 · 合谱"_s
                                  << u"第1句第1字「天」：与例词不同：例词 3 首中 3 首用仄"_s;
    }

    void strictnessFollowsTheEvidence()
    {
        QFETCH(QString, tune);
        QFETCH(QString, text);
        QFETCH(QString, summary);
        QFETCH(QString, finding);
        const PoemCheck c = check(text, tune);
        QCOMPARE(c.summary(), summary);
        QCOMPARE(c.sortedFindings().first().text, finding);
    }

    // Rhymes as Song poets rhymed: a neighbour 部 they often rhymed with is 通押, a warning; a line end
    // that many poems of the form leave unrhymed is no 出韵 when the poet leaves it so too; a small form's
    // rhyme holds where all its example poems rhyme.
    void rhymesAsSongPoetsRhymed_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("findings");
        QTest::addColumn<QString>("first");
        QTest::newRow("通押 often") << u"大调"_s << u"天天木木，木木天真。天木庭，天天木木真。"_s
                                    << u"~通押@3:3"_s
                                    << u"第3句第3字「庭」：第六部与第十一部通押，宋词中常见，40 首"_s;
        QTest::newRow("seldom: 出韵") << u"大调"_s << u"天天木木，木木天东。天木阳，天天木木东。"_s
                                      << u"出韵@3:3"_s << u"第3句第3字「阳」：出韵，不在第一部（属第二部）"_s;
        // However often the counts say, an 入声 部 stays apart from the others.
        QTest::newRow("入声 apart") << u"大调"_s << u"天天木木，木木天东。天木屋，天天木木东。"_s
                                    << u"平仄@3:3 出韵@3:3"_s
                                    << u"第3句第3字「屋」：出韵，不在第一部（属第十五部）"_s;
        // …except in the 部 its syllable went to once the entering tone was lost (屋烛 to 鱼模): 入作三声.
        QTest::newRow("入作三声") << u"大调"_s << u"天天木木，木木天湖。天木屋，天天木木湖。"_s
                                  << u"平仄@3:3 ~通押@3:3"_s
                                  << u"第3句第3字「屋」：入声（第十五部）作三声，押第四部"_s;
        const QString unrhymed = u"木天天木木，木木天东。天木阳，天天木木东。"_s;
        QTest::newRow("60% rhyme") << u"可韵调"_s << unrhymed << u"~出韵@3:3"_s
                                   << u"第3句第3字「阳」：不押第一部；谱中此处60%押韵，可不押"_s;
        QTest::newRow("96% rhyme") << u"必韵调"_s << unrhymed << u"出韵@3:3"_s
                                   << u"第3句第3字「阳」：出韵，不在第一部（属第二部）"_s;
        QTest::newRow("3 examples, all rhyme")
            << u"小调"_s << u"木天天木，天木天东。天木阳，木天木木东。"_s << u"出韵@3:3"_s
            << u"第3句第3字「阳」：出韵，不在第一部（属第二部）"_s;
    }

    void rhymesAsSongPoetsRhymed()
    {
        QFETCH(QString, form);
        QFETCH(QString, text);
        QFETCH(QString, findings);
        QFETCH(QString, first);
        const PoemCheck c = check(text, form);
        QCOMPARE(describe(c), findings);
        QCOMPARE(c.findings.last().text, first);
    }

    void aCiBeingWrittenIsThePatternOnly()
    {
        // Four lines of eight, in 自动 and with the 词牌 chosen: no line after the last is missing.
        const QString begun = u"木木天天木，天天木木东。天天木木，木木木天东。"_s;
        for (const QString &form : {u"自动"_s, u"长调"_s}) {
            const PoemCheck c = check(begun, form);
            QCOMPARE(c.summary(), u"长调 · 正体 · 第一部 · 合谱"_s);
            QCOMPARE(c.lines.last().formLine, 3);
            QCOMPARE(c.ciForm->lines.size(), 8);
        }
        // A line left out inside what is written is still missing.
        QCOMPARE(describe(check(u"木木天天木，天天木木。木木木天东。"_s, u"长调"_s)), u"字数@0:0"_s);
        // Two lines are too few to tell a 词 begun from a 诗 begun.
        QVERIFY(!check(u"木木天天木，天天木木东。"_s, u"自动"_s).isCi());
    }

    void thePoetChoosesTheForm()
    {
        // The poem fits 正体 better; chosen, 又一体（2） is the one checked against.
        const QString text = u"木木天天，天天木木东。木木木天东。"_s;
        QCOMPARE(check(text, u"双体调"_s).summary(), u"双体调 · 正体 · 第一部 · 合谱"_s);
        const PoemCheck second = check(text, u"双体调:2"_s);
        QCOMPARE(second.variant, u"又一体（2）"_s);
        QCOMPARE(describe(second), u"字数@3:3"_s);
    }

    void automaticOffersTheFormsThatFitAlmostAsWell()
    {
        // 大调 and 宜调 have one shape: the better evidence is taken, the other offered; 同形孤调, a form
        // of one poem, is not even offered where forms of many poems fit whole.
        const PoemCheck c = check(u"天天木木，木木天东。天木红，天天木木东。"_s, u"自动"_s);
        QCOMPARE(c.form, u"大调"_s);
        QCOMPARE(c.ciAlternatives, (QList<CiFormRef>{{u"宜调"_s, 1}}));
    }

    // A quatrain with one line a character or two long or short is a 诗 with a slip, not a 词 of a form a few
    // poems show, however exactly it fits; a form of many poems that fits it exactly is that 词.
    void aSlipOfRegulatedVerseIsNoRareCi_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("form");
        QTest::newRow("3 poems") << u"天天天木木，木木木天东。木木天天木木，天天木木红。"_s << u"五言绝句"_s;
        QTest::newRow("1 poem") << u"木木天天天木木，天天木木木天东。天天木木天天，木木天天木木红。"_s
                                << u"七言绝句"_s;
        QTest::newRow("40 poems") << u"天天天木木，木木木天东。木天天，天天木木红。"_s << u"近诗大调"_s;
    }

    void aSlipOfRegulatedVerseIsNoRareCi()
    {
        QFETCH(QString, text);
        QFETCH(QString, form);
        QCOMPARE(check(text, u"自动"_s).form, form);
    }

    // Where no form of many poems fits, a form of one poem that does names the 词; its rhymes are no
    // rule, only the example's, and of its runs only the largest is taken (the other may be line ends
    // that share a 部 by chance: 木 and 天 here share none, and nothing is said of them).
    void aLoneFormNamesWhatNothingElseFits()
    {
        const PoemCheck c = check(u"天天木，木天东。天天木木天阳，木木天天木木东。天天天。"_s, u"自动"_s);
        QCOMPARE(c.form, u"孤调"_s);
        QCOMPARE(c.rhyme, u"第一部"_s);
        QCOMPARE(describe(c), u"~出韵@3:6"_s);
        QCOMPARE(c.findings.first().text, u"第3句第6字「阳」：不押第一部；谱据孤例，可不押"_s);
        QVERIFY(c.ok());
    }
};

QTEST_GUILESS_MAIN(CiPoetsTest)
#include "test_cipoets.moc"
