// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/reading/classes.h"
#include "prosody/report.h"
#include "tests/support/booksfixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

// Findings as "平仄@3:4" (fault), "~三仄尾@2:3" (warning) or "+本句自救@1:4" (accepted).
QString describe(const PoemCheck &check)
{
    QStringList out;
    for (const Finding &f : check.findings) {
        const QString mark = f.severity == Severity::Fault     ? QString()
                             : f.severity == Severity::Warning ? u"~"_s
                                                               : u"+"_s;
        out << u"%1%2@%3:%4"_s.arg(mark, kindName(f.kind)).arg(f.line).arg(f.pos);
    }
    return out.join(u' ');
}

// Lines written as classes: 平 → 天, 仄 → 木, 中 → 看, ？ → a character no book has; every other
// character stands for itself (the rhyme characters).
QString verse(const QString &lines)
{
    QString out = lines;
    out.replace(u'平', u'天').replace(u'仄', u'木').replace(u'中', u'看').replace(u'？', u'㐀');
    return out;
}

} // namespace

class MetreTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<const RhymeBooks> m_books;

    PoemCheck checkOne(const QString &text, Book book = Book::Pingshui, FormChoice form = {}) const
    {
        const QList<PoemCheck> checks = Checker(m_books).checkText(text, book, form);
        return checks.value(0);
    }

private slots:
    void initTestCase()
    {
        BooksFixture books(m_dir.filePath(u"date/rhymebooks.db"_s));
        books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东风红空同通"_s)
            .add(u"平水韵"_s, u"上平二冬"_s, u"平"_s, u"冬钟松峰"_s)
            .add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"征"_s)
            .add(u"平水韵"_s, u"上平二冬"_s, u"平"_s, u"征徵"_s)
            .alsoFor(u"徵"_s, u"征"_s)
            .add(u"平水韵"_s, u"下平一先"_s, u"平"_s, u"天烟"_s)
            .add(u"平水韵"_s, u"下平七阳"_s, u"平"_s, u"阳光长"_s)
            .add(u"平水韵"_s, u"上平十四寒"_s, u"平"_s, u"看寒"_s)
            .add(u"平水韵"_s, u"上声二十二养"_s, u"上"_s, u"长"_s)
            .add(u"平水韵"_s, u"去声十五翰"_s, u"去"_s, u"看汉"_s)
            .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木竹屋绿"_s)
            .add(u"平水韵"_s, u"入声十一陌"_s, u"入"_s, u"白石客"_s)
            .neighbours(u"平水韵"_s, u"上平一东"_s, u"上平二冬"_s)
            .ungrouped(u"平水韵"_s, u"们"_s, u"平"_s)
            .add(u"中华新韵"_s, u"十唐"_s, u"平"_s, u"长"_s)
            .add(u"中华新韵"_s, u"十唐"_s, u"上"_s, u"长"_s)
            .add(u"中华新韵"_s, u"八寒"_s, u"平"_s, u"安"_s)
            .add(u"中华新韵"_s, u"十二齐"_s, u"平"_s, u"一"_s)
            .reading(u"长"_s, u"cháng"_s)
            .reading(u"长"_s, u"zhǎng"_s)
            .word(u"长安"_s, u"cháng ān"_s)
            .word(u"长大"_s, u"zhǎng dà"_s);
        m_books = loadRhymeBooks(books.path());
    }

    void readerSplitsLinesAtBreaksAndPunctuation()
    {
        const QList<Poem> poems = readPoems(u"白日依山尽，黄河入海流。\r\n欲穷千里目,更上 一层楼."_s);
        QCOMPARE(poems.size(), 1);
        QStringList texts;
        for (const Line &l : poems.first().lines)
            texts << l.text();
        QCOMPARE(texts,
                 (QStringList{u"白日依山尽"_s, u"黄河入海流"_s, u"欲穷千里目"_s, u"更上"_s, u"一层楼"_s}));
        QCOMPARE(poems.first().lines.at(1).offsets.first(), 6);
        QCOMPARE(poems.first().lines.at(2).sourceLine, 1);
    }

    void readerTakesTitlesAndSeparatesPoems()
    {
        const QString text = u"静夜思 李白\n床前明月光，疑是地上霜。\n举头望明月，低头思故乡。\n\n\n"
                             "春晓\n春眠不觉晓，处处闻啼鸟。\n夜来风雨声，花落知多少。\n\n"
                             "七言一句无标题，\n五字可为题。"_s;
        const QList<Poem> poems = readPoems(text);
        QCOMPARE(poems.size(), 3);
        QCOMPARE(poems.at(0).title, u"静夜思 李白"_s);
        QCOMPARE(poems.at(0).lines.size(), 4);
        QCOMPARE(poems.at(1).title, u"春晓"_s);
        QCOMPARE(poems.at(1).lines.first().text(), u"春眠不觉晓"_s);
        QCOMPARE(text.mid(poems.at(1).start, 2), u"春晓"_s);
        // A first line that ends like a verse line is verse, whatever its length.
        QVERIFY(poems.at(2).title.isEmpty());
        QCOMPARE(poems.at(2).lines.size(), 2);
    }

    void readerKeepsCharactersBeyondTheBasicPlaneWhole()
    {
        const QList<Poem> poems = readPoems(u"𩏑山，水"_s);
        const Line &line = poems.first().lines.first();
        QCOMPARE(line.size(), 2);
        QCOMPARE(line.chars.first(), U'𩏑');
        QCOMPARE(line.width(0), 2);
        QCOMPARE(poems.first().lines.at(1).offsets.first(), 4);
    }

    void variantsGiveTheLineTypesOfTheTemplates_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("pingStart");
        QTest::addColumn<bool>("firstRhymed");
        QTest::addColumn<QString>("templates");
        QTest::newRow("五绝仄起") << 5 << false << false << u"仄仄平平仄 平平仄仄平 平平平仄仄 仄仄仄平平"_s;
        QTest::newRow("五绝仄起入韵")
            << 5 << false << true << u"仄仄仄平平 平平仄仄平 平平平仄仄 仄仄仄平平"_s;
        QTest::newRow("五绝平起") << 5 << true << false << u"平平平仄仄 仄仄仄平平 仄仄平平仄 平平仄仄平"_s;
        QTest::newRow("五绝平起入韵")
            << 5 << true << true << u"平平仄仄平 仄仄仄平平 仄仄平平仄 平平仄仄平"_s;
        QTest::newRow("七绝平起") << 7 << true << false
                                  << u"平平仄仄平平仄 仄仄平平仄仄平 仄仄平平平仄仄 平平仄仄仄平平"_s;
        QTest::newRow("七绝平起入韵")
            << 7 << true << true << u"平平仄仄仄平平 仄仄平平仄仄平 仄仄平平平仄仄 平平仄仄仄平平"_s;
        QTest::newRow("七绝仄起入韵")
            << 7 << false << true << u"仄仄平平仄仄平 平平仄仄仄平平 平平仄仄平平仄 仄仄平平仄仄平"_s;
    }

    void variantsGiveTheLineTypesOfTheTemplates()
    {
        QFETCH(int, length);
        QFETCH(bool, pingStart);
        QFETCH(bool, firstRhymed);
        QFETCH(QString, templates);
        QStringList out;
        for (LineType t : lineTypes({pingStart, firstRhymed}, 4, length))
            out << templateOf(t, length);
        QCOMPARE(out.join(u' '), templates);
        // 律诗 repeats the quatrain with an unrhymed fifth line.
        const QList<LineType> eight = lineTypes({pingStart, firstRhymed}, 8, length);
        QCOMPARE(eight.at(4), lineTypes({pingStart, false}, 4, length).at(0));
    }

    void formNamesAreRead()
    {
        QCOMPARE(formFromName(u"七律"_s)->form, Form::Lvshi);
        QCOMPARE(formFromName(u"七律"_s)->length, 7);
        QCOMPARE(formFromName(u"五言绝句"_s)->length, 5);
        QCOMPARE(formFromName(u"排律"_s)->form, Form::Pailv);
        QCOMPARE(formFromName(u"自动"_s)->form, Form::Auto);
        QVERIFY(!formFromName(u"词"_s));
        QCOMPARE(formOfLineCount(12), Form::Pailv);
        QVERIFY(!formOfLineCount(6));
    }

    void rulesOfRegulatedVerse_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("findings");
        // Each poem but the first alters one place of the regular 仄起 quatrain A B C D.
        QTest::newRow("regular") << u"仄仄平平仄，平平仄仄东。平平平仄仄，仄仄仄平风。"_s
                                 << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << QString();
        QTest::newRow("fourth broken")
            << u"仄仄平平仄，平平仄仄东。平平平平仄，仄仄仄平风。"_s
            << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"平仄@3:4"_s;
        QTest::newRow("孤平") << u"仄仄平平仄，仄平仄仄东。平平平仄仄，仄仄仄平风。"_s
                              << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"孤平@2:1"_s;
        QTest::newRow("孤平拗救") << u"仄仄平平仄，仄平平仄东。平平平仄仄，仄仄仄平风。"_s
                                  << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << u"+孤平拗救@2:3"_s;
        QTest::newRow("本句自救") << u"仄仄平平仄，平平仄仄东。平平仄平仄，仄仄仄平风。"_s
                                  << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << u"+本句自救@3:4"_s;
        QTest::newRow("对句相救") << u"仄仄平仄仄，平平平仄东。平平平仄仄，仄仄仄平风。"_s
                                  << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << u"+对句相救@1:4"_s;
        QTest::newRow("对句不救") << u"仄仄平仄仄，平平仄仄东。平平平仄仄，仄仄仄平风。"_s
                                  << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"平仄@1:4"_s;
        QTest::newRow("三平尾") << u"仄仄平平仄，平平仄仄东。平平平仄仄，仄仄平平风。"_s
                                << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"三平尾@4:3"_s;
        QTest::newRow("三仄尾") << u"仄仄平平仄，平平仄仄东。平平仄仄仄，仄仄仄平风。"_s
                                << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << u"~三仄尾@3:3"_s;
        QTest::newRow("失对") << u"仄仄平平仄，平仄平仄东。平平平仄仄，仄仄仄平风。"_s
                              << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"失对@2:2"_s;
        // 折腰体: a quatrain may break 粘 between its couplets; a 律诗 may not.
        QTest::newRow("失粘") << u"仄仄平平仄，平平仄仄东。仄仄平平仄，平平仄仄风。"_s
                              << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << u"~失粘@3:2"_s;
        QTest::newRow("失粘 in a 律诗")
            << u"仄仄平平仄，平平仄仄东。仄仄平平仄，平平仄仄风。平平平仄仄，仄仄仄平红。仄仄平平仄，平平仄仄空。"_s
            << u"五言律诗 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"失粘@3:2"_s;
        QTest::newRow("中 either way") << u"中中平平仄，平平中仄东。平平平仄中，仄仄仄平风。"_s
                                       << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << QString();
        QTest::newRow("unknown and modern")
            << u"仄仄平平？，平平们仄东。平平平仄仄，仄仄仄平风。"_s
            << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << u"~未知@1:5 ~今读@2:3"_s;
        // Rhymes.
        QTest::newRow("出韵") << u"仄仄平平仄，平平仄仄东。平平平仄仄，仄仄仄平阳。"_s
                              << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"出韵@4:5"_s;
        QTest::newRow("徵 written for 征") << u"仄仄平平仄，平平仄仄东。平平平仄仄，仄仄仄平徵。"_s
                                           << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s << QString();
        QTest::newRow("孤雁出群") << u"仄仄仄平冬，平平仄仄东。平平平仄仄，仄仄仄平风。"_s
                                  << u"五言绝句 · 仄起首句入韵 · 上平一东 · 合律"_s << u"~孤雁出群@1:5"_s;
        QTest::newRow("邻韵 not in line 1")
            << u"仄仄平平仄，平平仄仄东。平平平仄仄，仄仄仄平钟。"_s
            << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"出韵@4:5"_s;
        QTest::newRow("first line off rhyme")
            << u"仄仄仄平阳，平平仄仄东。平平平仄仄，仄仄仄平风。"_s
            << u"五言绝句 · 仄起首句入韵 · 上平一东 · 1处不合"_s << u"出韵@1:5"_s;
        QTest::newRow("仄韵") << u"平平平仄仄，仄仄平平竹。仄仄平平平，平平平仄屋。"_s
                              << u"古体（仄韵） · 入声一屋"_s << u"~仄韵@0:0"_s;
        QTest::newRow("七律") << u"平平仄仄仄平东，仄仄平平仄仄风。仄仄平平平仄仄，平平仄仄仄平红。"
                                 "平平仄仄平平仄，仄仄平平仄仄空。仄仄平平平仄仄，平平仄仄仄平同。"_s
                              << u"七言律诗 · 平起首句入韵 · 上平一东 · 合律"_s << QString();
        QTest::newRow("排律") << u"平平平仄仄，仄仄仄平东。仄仄平平仄，平平仄仄风。平平平仄仄，仄仄仄平红。"
                                 "仄仄平平仄，平平仄仄空。平平平仄仄，仄仄仄平同。"_s
                              << u"五言排律 · 平起首句不入韵 · 上平一东 · 合律"_s << QString();
        // Lengths.
        // One line of another length is a slip in a regulated poem; more are no regulated poem.
        QTest::newRow("a line too long")
            << u"仄仄平平仄，平平仄仄东。平平平仄仄仄，仄仄仄平风。"_s
            << u"五言绝句 · 仄起首句不入韵 · 上平一东 · 1处不合"_s << u"字数@3:0"_s;
        QTest::newRow("unequal lines") << u"仄仄平平仄，平平仄仄东。平平平仄仄仄，仄仄平风。"_s
                                       << u"不合近体诗体裁"_s << u"字数@3:0 字数@4:0"_s;
        // Fewer lines than a form needs: the start of it, still being written.
        QTest::newRow("six lines")
            << u"仄仄平平仄，平平仄仄东。平平平仄仄，仄仄仄平风。仄仄平平仄，平平仄仄红。"_s
            << u"五言律诗 · 仄起首句不入韵 · 上平一东 · 已写6句，尚缺2句"_s << QString();
        QTest::newRow("four characters")
            << u"平平仄仄，仄仄平东。平平仄仄，仄仄平风。"_s << u"不合近体诗体裁"_s << u"字数@0:0"_s;
    }

    void rulesOfRegulatedVerse()
    {
        QFETCH(QString, lines);
        QFETCH(QString, summary);
        QFETCH(QString, findings);
        const PoemCheck check = checkOne(verse(lines));
        QCOMPARE(describe(check), findings);
        QCOMPARE(check.summary(), summary);
        QCOMPARE(check.ok(), !std::any_of(check.findings.begin(), check.findings.end(),
                                          [](const Finding &f) { return f.isFault(); }));
    }

    // A poem rhyming 仄 is 古体: what it is in 自动, a fault where the poet chose regulated verse.
    void anObliqueRhymeIsAFaultOnlyWhereRegulatedVerseWasChosen()
    {
        const QString text = verse(u"平平平仄仄，仄仄平平竹。仄仄平平平，平平平仄屋。"_s);
        QVERIFY(checkOne(text).ok());
        const PoemCheck chosen = checkOne(text, Book::Pingshui, FormChoice{Form::Jueju, 5});
        QCOMPARE(describe(chosen), u"仄韵@0:0"_s);
        QCOMPARE(chosen.summary(), u"古体（仄韵） · 入声一屋"_s);
        // Rhymes of both classes rhyme 仄 with a 仄 alone of their 仄 group (看 with 汉 in 翰), unless the
        // first line ends on a 平 of their 平 group.
        const QString both = verse(u"仄仄平平仄，平平仄仄看。平平平仄仄，仄仄仄平汉。"_s);
        QCOMPARE(checkOne(both).summary(), u"古体（仄韵） · 去声十五翰"_s);
        // Where the poet chose 绝句 the one 仄 is that rhyme's fault.
        QCOMPARE(describe(checkOne(both, Book::Pingshui, FormChoice{Form::Jueju, 5})), u"平仄@4:5"_s);
        QCOMPARE(describe(checkOne(verse(u"仄仄仄平寒，平平仄仄看。平平平仄仄，仄仄仄平汉。"_s))),
                 u"平仄@4:5"_s);
    }

    void aLostCharacterKeepsItsPlace()
    {
        // Texts of the classics print □ where a character is lost or cannot be printed.
        const PoemCheck check = checkOne(verse(u"仄仄平平仄，平平仄仄东。平平平仄仄，仄□仄平东。"_s));
        QCOMPARE(check.lines.at(3).line.size(), 5);
        QCOMPARE(check.form, u"五言绝句"_s);
        const QList<Finding> sorted = check.sortedFindings();
        QCOMPARE(sorted.size(), 1);
        QCOMPARE(sorted.first().text, u"第4句第2字「□」：原文缺字，未计平仄"_s);
    }

    void findingsSayWhereAndWhatInPlainChinese()
    {
        const PoemCheck check = checkOne(verse(u"仄仄平平仄，平平仄仄东。平平平平仄，仄仄仄平阳。"_s));
        const QList<Finding> sorted = check.sortedFindings();
        QCOMPARE(sorted.size(), 2);
        QCOMPARE(sorted.at(0).text, u"第3句第4字「天」：此处应仄，用了平声"_s);
        QCOMPARE(sorted.at(1).text, u"第4句第5字「阳」：出韵，不在上平一东（属下平七阳）"_s);
        QCOMPARE(check.lines.at(2).pattern, u"中平中仄仄"_s);
        QCOMPARE(tonesText(check.lines.at(2)), u"平平平平仄"_s);
        QVERIFY(check.lines.at(1).rhymed);
        QVERIFY(!check.lines.at(2).rhymed);
    }

    void faultsComeBeforeWarningsAndRescues()
    {
        const PoemCheck check = checkOne(verse(u"仄仄平仄仄，平平平仄东。平平仄仄仄，仄仄仄平阳。"_s));
        QStringList kinds;
        for (const Finding &f : check.sortedFindings())
            kinds << kindName(f.kind);
        QCOMPARE(kinds, (QStringList{u"出韵"_s, u"三仄尾"_s, u"对句相救"_s}));
    }

    void aChosenFormMustFit()
    {
        const QString quatrain = verse(u"仄仄平平仄，平平仄仄东。平平平仄仄，仄仄仄平风。"_s);
        QCOMPARE(describe(checkOne(quatrain, Book::Pingshui, *formFromName(u"五绝"_s))), QString());
        QCOMPARE(describe(checkOne(quatrain, Book::Pingshui, *formFromName(u"七绝"_s))), u"字数@0:0"_s);
        // A 律诗 of four lines is one half written; a 绝句 of eight is too long.
        const PoemCheck half = checkOne(quatrain, Book::Pingshui, *formFromName(u"律诗"_s));
        QCOMPARE(describe(half), QString());
        QCOMPARE(half.summary(), u"五言律诗 · 仄起首句不入韵 · 上平一东 · 已写4句，尚缺4句"_s);
        QCOMPARE(describe(checkOne(quatrain + quatrain, Book::Pingshui, *formFromName(u"五绝"_s))),
                 u"字数@0:0"_s);
    }

    void polyphonesTakeTheirWordsReadingInTheModernBooks()
    {
        const Line changan = readPoems(u"长安"_s).first().lines.first();
        const Line zhangda = readPoems(u"长大"_s).first().lines.first();
        const Line alone = readPoems(u"长"_s).first().lines.first();
        QCOMPARE(classAt(*m_books, changan, 0, Book::Xinyun), ToneClass::Ping);
        QCOMPARE(classAt(*m_books, zhangda, 0, Book::Xinyun), ToneClass::Ze);
        QCOMPARE(classAt(*m_books, alone, 0, Book::Xinyun), ToneClass::Both);
        // The classical books take the classical reading whose modern reflex the word's reading is.
        QCOMPARE(classAt(*m_books, changan, 0, Book::Pingshui), ToneClass::Ping);
        QCOMPARE(classAt(*m_books, changan, 1, Book::Cilin), ToneClass::Unknown);
        QCOMPARE(m_books->readings(U'长'), (QStringList{u"cháng"_s, u"zhǎng"_s}));
    }

    void theBookFileMustBeThereAndWhole()
    {
        QTemporaryDir dir;
        const auto messageOf = [](const QString &path) {
            try {
                loadRhymeBooks(path);
            } catch (const LoadError &e) {
                return e.message();
            }
            return QString();
        };
        const QString missing = messageOf(dir.filePath(u"date/rhymebooks.db"_s));
        QVERIFY2(missing.startsWith(u"找不到韵书文件"_s) &&
                     missing.contains(u"shihai-builddb --rhymebooks"_s),
                 qPrintable(missing));

        QFile garbage(dir.filePath(u"garbage.db"_s));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, 'x'));
        garbage.close();
        QVERIFY(messageOf(garbage.fileName()).contains(u"已损坏或不是韵书文件"_s));

        BooksFixture empty(dir.filePath(u"empty.db"_s));
        QVERIFY(messageOf(empty.path()).contains(u"没有韵字"_s));
    }
};

QTEST_GUILESS_MAIN(MetreTest)
#include "test_metre.moc"
