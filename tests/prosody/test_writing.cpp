// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/reading/classes.h"
#include "tests/support/booksfixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

// 平 as 天, 仄 as 木, so that the lines read as their templates.
QString verse(const QString &lines)
{
    QString out = lines;
    out.replace(u'平', u'天').replace(u'仄', u'木');
    return out;
}

// Findings as "平仄@3:4" (fault) or "~未知@2:1" (warning).
QString describe(const PoemCheck &check)
{
    QStringList out;
    for (const Finding &f : check.findings)
        out << (f.isFault() ? QString() : u"~"_s) +
                   u"%1@%2:%3"_s.arg(kindName(f.kind)).arg(f.line).arg(f.pos);
    return out.join(u' ');
}

// A 五律 in 上平一东 that keeps every rule.
const QString kLvshi =
    u"木木天天木，天天木木东。天天天木木，木木木天风。木木天天木，天天木木红。天天天木木，木木木天空。"_s;

} // namespace

// The check as a poet uses it: a poem while it is typed, a line with a character too few, text pasted
// from books with its notes, and polyphones read by their word; on rhyme books the test writes.
class WritingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::shared_ptr<const RhymeBooks> m_books;

    QList<PoemCheck> autoCheck(const QString &text) const
    {
        return checkAs(m_books, text, {}).value_or(QList<PoemCheck>());
    }

private slots:
    void initTestCase()
    {
        BooksFixture books(m_dir.filePath(u"date/rhymebooks.db"_s));
        for (const QString &book : {u"平水韵"_s, u"词林正韵"_s}) {
            const bool cilin = book == u"词林正韵";
            books.add(book, cilin ? u"第一部"_s : u"上平一东"_s, u"平"_s, u"东风红空"_s)
                .add(book, cilin ? u"第七部"_s : u"下平一先"_s, u"平"_s, u"天着"_s)
                .add(book, cilin ? u"第二部"_s : u"下平七阳"_s, u"平"_s, u"长阳江"_s)
                .add(book, cilin ? u"第二部"_s : u"上声二十二养"_s, u"上"_s, u"长"_s)
                .add(book, cilin ? u"第一部"_s : u"上平二冬"_s, u"平"_s, u"重"_s)
                .add(book, cilin ? u"第一部"_s : u"去声二宋"_s, u"去"_s, u"重"_s)
                .add(book, cilin ? u"第十一部"_s : u"下平十蒸"_s, u"平"_s, u"称"_s)
                .add(book, cilin ? u"第十一部"_s : u"去声二十五径"_s, u"去"_s, u"称"_s)
                .add(book, cilin ? u"第十三部"_s : u"下平十二侵"_s, u"平"_s, u"禁"_s)
                .add(book, cilin ? u"第十三部"_s : u"去声二十七沁"_s, u"去"_s, u"禁"_s)
                .add(book, cilin ? u"第十三部"_s : u"下平十二侵"_s, u"平"_s, u"沈"_s)
                .add(book, cilin ? u"第十三部"_s : u"上声二十六寝"_s, u"上"_s, u"沈"_s)
                .add(book, cilin ? u"第七部"_s : u"上平十四寒"_s, u"平"_s, u"看"_s)
                .add(book, cilin ? u"第七部"_s : u"去声十五翰"_s, u"去"_s, u"看"_s)
                .add(book, cilin ? u"第一部"_s : u"上平二冬"_s, u"平"_s, u"纵"_s)
                .add(book, cilin ? u"第一部"_s : u"去声二宋"_s, u"去"_s, u"纵"_s)
                .add(book, cilin ? u"第二部"_s : u"下平七阳"_s, u"平"_s, u"相"_s)
                .add(book, cilin ? u"第二部"_s : u"去声二十三漾"_s, u"去"_s, u"相"_s)
                .add(book, cilin ? u"第三部"_s : u"上平四支"_s, u"平"_s, u"为"_s)
                .add(book, cilin ? u"第三部"_s : u"去声四寘"_s, u"去"_s, u"为"_s)
                .add(book, cilin ? u"第十五部"_s : u"入声一屋"_s, u"入"_s, u"木竹屋生量花急"_s)
                .add(book, cilin ? u"第十六部"_s : u"入声十药"_s, u"入"_s, u"着"_s);
        }
        books.add(u"平水韵"_s, u"上平二冬"_s, u"平"_s, u"冬松峰"_s)
            .neighbours(u"平水韵"_s, u"上平一东"_s, u"上平二冬"_s);
        books.word(u"长江"_s, u"cháng jiāng"_s)
            .word(u"生长"_s, u"shēng zhǎng"_s)
            .word(u"重阳"_s, u"chóng yáng"_s)
            .word(u"重量"_s, u"zhòng liàng"_s)
            .word(u"看花"_s, u"kàn huā"_s)
            .word(u"着急"_s, u"zháo jí"_s)
            .word(u"重心"_s, u"zhòng xīn"_s)
            .word(u"称重"_s, u"chēng zhòng"_s)
            .word(u"难禁"_s, u"nán jìn"_s)
            .word(u"沈鱼"_s, u"shěn yú"_s)
            .word(u"纵横"_s, u"zòng héng"_s)
            .word(u"长相"_s, u"zhǎng xiàng"_s)
            .word(u"白相"_s, u"bái xiàng"_s)
            .word(u"不为"_s, u"bù wéi"_s)
            // A 词 of eight lines of seven rhyming 仄, and one of eight lines of five.
            .tune(u"测楼春"_s, 50)
            .ciForm(u"测楼春"_s, 1, 50,
                    {u"平平仄仄平平仄/1"_s, u"仄仄平平平仄仄/1"_s, u"仄仄平平仄仄平"_s, u"平平仄仄平平仄/1"_s,
                     u"平平仄仄平平仄/1"_s, u"仄仄平平平仄仄/1"_s, u"仄仄平平仄仄平"_s,
                     u"平平仄仄平平仄/1"_s},
                    5, u"仄韵"_s)
            .tune(u"测查子"_s, 40)
            .ciForm(u"测查子"_s, 1, 40,
                    {u"中平平仄平"_s, u"中仄平平仄/1"_s, u"中仄仄平平"_s, u"中仄平平仄/1"_s, u"中仄仄平平"_s,
                     u"中仄平平仄/1"_s, u"中仄仄平平"_s, u"中仄平平仄/1"_s},
                    5, u"仄韵"_s);
        m_books = loadRhymeBooks(books.path());
    }

    void aPoemIsJudgedOnWhatIsWrittenWhileItIsTyped()
    {
        // Every prefix of a sound 五律, typed key by key: the start of a form, never a fault.
        for (qsizetype n = 1; n <= kLvshi.size(); ++n) {
            const QList<PoemCheck> checks = autoCheck(kLvshi.left(n));
            QCOMPARE(checks.size(), 1);
            const PoemCheck &check = checks.first();
            QVERIFY2(!check.isCi() && check.ok(),
                     qPrintable(kLvshi.left(n) + u" → "_s + check.summary() + describe(check)));
            QVERIFY2(check.summary().startsWith(n <= 24 ? u"五言绝句"_s : u"五言律诗"_s),
                     qPrintable(check.summary()));
        }
        const PoemCheck six = autoCheck(kLvshi.left(36)).first();
        QCOMPARE(six.summary(), u"五言律诗 · 仄起首句不入韵 · 上平一东 · 已写6句，尚缺2句"_s);
        QCOMPARE(six.pending.size(), 2);
        QCOMPARE(six.pending.at(0).pattern, u"中平中仄仄"_s);
        QVERIFY(six.pending.at(1).rhymed);
        // After a 折腰 third line the fourth answers the third, not the usual scheme.
        const PoemCheck zheyao = autoCheck(kLvshi.left(12) + u"木木天天木，"_s).first();
        QVERIFY2(zheyao.ok(), qPrintable(describe(zheyao)));
        QCOMPARE(zheyao.pending.value(0).pattern, u"中平中仄平"_s);
        const PoemCheck seven = autoCheck(u"天天木木天天木，木木天天木木东。木木天天天木木，"_s).first();
        QCOMPARE(seven.pending.value(0).pattern, u"中平中仄中平平"_s);
        const PoemCheck typing = autoCheck(kLvshi.left(27)).first();
        QCOMPARE(typing.summary(),
                 u"五言律诗 · 仄起首句不入韵 · 上平一东 · 已写4句，第5句尚缺2字，其后尚缺3句"_s);
        // What is typed of a line is judged: a wrong character shows before the line is done.
        QCOMPARE(describe(autoCheck(kLvshi.left(12) + u"天天天天"_s).first()), u"平仄@3:4"_s);
        // A finished text that stops short says what it lacks, as one finding.
        QCOMPARE(six.unfinished()->text, u"尚缺2句"_s);
        QCOMPARE(typing.unfinished()->text, u"第5句尚缺2字，其后尚缺3句"_s);
        QVERIFY(!autoCheck(kLvshi).first().unfinished());
    }

    void aLineOfAnotherLengthIsOneSlip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("findings");
        QTest::addColumn<QString>("first");
        QString missing = kLvshi;
        missing.remove(missing.indexOf(u"天天木木红"_s) + 3, 1); // 天天木红
        QTest::newRow("one too few") << missing << u"字数@6:0"_s << u"第6句少一字"_s;
        QString extra = kLvshi;
        extra.insert(extra.indexOf(u"天天天木木"_s), u"天"_s);
        QTest::newRow("one too many, and a fault elsewhere")
            << extra.replace(u"木木木天风"_s, u"木木天天风"_s) << u"字数@3:0 三平尾@4:3"_s
            << u"第3句多一字"_s;
    }

    void aLineOfAnotherLengthIsOneSlip()
    {
        QFETCH(QString, text);
        QFETCH(QString, findings);
        QFETCH(QString, first);
        // 测查子 has the shape of the 律诗 too: one line too short fits neither better, and the 律诗 keeps
        // its rules where the 词 breaks them.
        const QList<PoemCheck> checks = autoCheck(text);
        QCOMPARE(checks.size(), 1);
        QVERIFY(!checks.first().isCi());
        QVERIFY(checks.first().summary().startsWith(u"五言律诗 · 仄起首句不入韵 · 上平一东"_s));
        QCOMPARE(describe(checks.first()), findings);
        QCOMPARE(checks.first().findings.first().text, first);
    }

    void eightLinesRhymingObliqueAreTheCiWhoseShapeTheyHave()
    {
        const QString half = verse(u"平平仄仄平平木，仄仄平平平仄竹。仄仄平平仄仄平，平平仄仄平平屋。"_s);
        const QList<PoemCheck> ci = autoCheck(half + half);
        QCOMPARE(ci.size(), 1);
        QCOMPARE(ci.first().summary(), u"测楼春 · 正体 · 第十五部 · 合谱"_s);
        // The same shape against the 词's 平仄 everywhere is 古体.
        const QString other = verse(u"仄仄平平仄仄木，平平仄仄仄平竹。平平仄仄平平平，仄仄平平仄仄屋。"_s);
        QCOMPARE(autoCheck(other + other).first().summary(), u"古体（仄韵） · 入声一屋"_s);
        // Four lines of a 词 of eight are its first half at most: a quatrain rhyming 仄 stays 古体 (鹿柴).
        QCOMPARE(autoCheck(half).first().summary(), u"古体（仄韵） · 入声一屋"_s);
        const QString fives = verse(u"平平平仄平，仄仄平平木。仄仄仄平平，仄仄平平竹。"_s);
        QCOMPARE(autoCheck(fives).first().summary(), u"古体（仄韵） · 入声一屋"_s);
    }

    void pastedTextKeepsItsVerseOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("author");
        const QString four = u"木木天天木，天天木木东。天天天木木，木木木天风。"_s;
        QTest::newRow("dynasty·author") << u"蜀相\n唐·杜甫\n"_s + four << u"蜀相"_s << u"唐·杜甫"_s;
        QTest::newRow("【dynasty】author") << u"蜀相\n【唐】杜甫\n"_s + four << u"蜀相"_s << u"杜甫"_s;
        QTest::newRow("[dynasty] author") << u"蜀相\n[唐] 王维\n"_s + four << u"蜀相"_s << u"王维"_s;
        QTest::newRow("——author, under") << four + u"\n——李白"_s << QString() << u"——李白"_s;
        QTest::newRow("bare author") << u"蜀相\n杜甫\n"_s + four << u"蜀相"_s << u"杜甫"_s;
        QTest::newRow("title alone, then the poem") << u"蜀相\n\n"_s + four << u"蜀相"_s << QString();
        QTest::newRow("notes in the lines")
            << u"木木天天木(一作：天)，天天木木东。（天天 一作：木木）\n天天天木木，木木木天风。【注】"_s
            << QString() << QString();
        QTest::newRow("a note over a line break")
            << u"木木天天木，天天木木东。(回\n天 一作：木)\n天天天木木，木木木天风。"_s << QString()
            << QString();
        // As web pages print: no stop at the ends of the lines, or none at all, a title of the poem's length.
        const QString bare = u"木木天天木，天天木木东\n天天天木木，木木木天风"_s;
        QTest::newRow("no final stops, bare author") << u"蜀相\n杜甫\n"_s + bare << u"蜀相"_s << u"杜甫"_s;
        QTest::newRow("《title》, no final stops") << u"《蜀相》\n"_s + bare << u"蜀相"_s << QString();
        QTest::newRow("a 句 a line under a title of their length")
            << u"天木天天木\n木木天天木\n天天木木东\n天天天木木\n木木木天风"_s << u"天木天天木"_s
            << QString();
        QTest::newRow("a form named in the title") << u"五绝·天风\n"_s + bare << u"五绝·天风"_s << QString();
        QTest::newRow("numbered") << u"其一\n"_s + four << QString() << QString();
        QTest::newRow("date, signature and notes under it")
            << four + u"\n\n丙午年九月 拾贝人\n\n2026年12月9日\n注：1. 木木，天天。\n\n2. 天天天天天天天。"_s
            << QString() << QString();
    }

    void pastedTextKeepsItsVerseOnly()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QString, author);
        const QList<PoemCheck> checks = autoCheck(text);
        QCOMPARE(checks.size(), 1);
        const PoemCheck &check = checks.first();
        QCOMPARE(check.summary(), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s);
        QCOMPARE(check.poem.title, title);
        QCOMPARE(check.poem.author, author);
        // Every character of the lines stands where it stands in the text.
        for (const LineCheck &l : check.lines)
            for (qsizetype i = 0; i < l.line.size(); ++i)
                QCOMPARE(text.mid(l.line.offsets.at(i), 1), l.line.text(i, 1));
    }

    // A paste holding 其一 and 其二 is two poems, however the parts are spaced.
    void numberedPartsAreEachAPoem()
    {
        const QString four = u"木木天天木，天天木木东。天天天木木，木木木天风。"_s;
        for (const QString &text : {u"天风二首\n其一\n"_s + four + u"\n其二\n"_s + four,
                                    u"其一\n\n"_s + four + u"\n\n其二\n\n"_s + four}) {
            const QList<PoemCheck> checks = autoCheck(text);
            QCOMPARE(checks.size(), 2);
            for (const PoemCheck &check : checks)
                QCOMPARE(check.summary(), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s);
        }
    }

    // Quatrains pasted one after the other are so many 绝句 where each rhymes on a group of its own, or
    // where the poet chose 绝句; eight lines on one rhyme stay a 律诗.
    void quatrainsRunTogetherAreEachAPoem()
    {
        const QString first = u"木木天天木，天天木木东。天天天木木，木木木天风。"_s;
        const QString text = first + u"\n木木天天木，天天木木阳。天天天木木，木木木天江。"_s;
        const QList<PoemCheck> checks = autoCheck(text);
        QCOMPARE(checks.size(), 2);
        QCOMPARE(checks.at(0).summary(), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s);
        QCOMPARE(checks.at(1).summary(), u"五言绝句 · 仄起首句不入韵 · 下平七阳 · 合律"_s);
        QCOMPARE(checks.at(1).poem.start, first.size() + 1);
        QCOMPARE(checks.at(0).poem.end, checks.at(1).poem.start);
        QCOMPARE(autoCheck(kLvshi).size(), 1);
        // A 律诗 chosen is one poem whatever its rhymes.
        CheckRequest lvshi;
        lvshi.form = FormChoice{Form::Lvshi, 5};
        QCOMPARE(checkAs(m_books, text, lvshi).value_or(QList<PoemCheck>()).size(), 1);
        // A third quatrain begun is a poem being written.
        const QList<PoemCheck> begun = autoCheck(text + u"\n木木天天木，"_s);
        QCOMPARE(begun.size(), 3);
        QCOMPARE(begun.at(2).summary(), u"五言绝句 · 仄起首句不入韵 · 已写1句，尚缺3句"_s);
        // 冬 neighbours 东: a quatrain in it after one in 东 is another poem only where its first line
        // rhymes.
        QCOMPARE(autoCheck(first + u"\n木木天天木，天天木木冬。天天天木木，木木木天松。"_s).size(), 1);
        QCOMPARE(autoCheck(first + u"\n木木木天峰，天天木木冬。天天天木木，木木木天松。"_s).size(), 2);
        CheckRequest jueju;
        jueju.form = FormChoice{Form::Jueju, 5};
        const QList<PoemCheck> chosen = checkAs(m_books, kLvshi, jueju).value_or(QList<PoemCheck>());
        QCOMPARE(chosen.size(), 2);
        QCOMPARE(chosen.at(1).summary(), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s);
    }

    void aFindingAfterANotePointsAtItsCharacter()
    {
        const QString text = u"木木天天木，天天木木东。(天天 一作：木木)\n天天天天木，木木木天风。"_s;
        const PoemCheck check = autoCheck(text).first();
        QCOMPARE(describe(check), u"平仄@3:4"_s);
        const Line &line = check.lines.at(2).line;
        QCOMPARE(line.offsets.at(3), int(text.indexOf(u"天天天天木"_s)) + 3);
        // A bracket left open hides nothing beyond its own line.
        const QList<PoemCheck> stray = autoCheck(u"木木天天木，（天天木木东。\n天天天木木，木木木天风。"_s);
        QCOMPARE(stray.first().lines.size(), 3);
        QCOMPARE(stray.first().lines.at(1).line.text(), u"天天天木木"_s);
    }

    void aPolyphoneTakesTheClassOfItsWordInEveryBook_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("word");
        QTest::newRow("长江 平") << u"月涌长江流"_s << 2 << int(ToneClass::Ping) << u"长江"_s;
        QTest::newRow("生长 仄") << u"万物生长时"_s << 3 << int(ToneClass::Ze) << u"生长"_s;
        QTest::newRow("重阳 平") << u"又是重阳节"_s << 2 << int(ToneClass::Ping) << u"重阳"_s;
        QTest::newRow("重量 仄") << u"此身重量轻"_s << 2 << int(ToneClass::Ze) << u"重量"_s;
        QTest::newRow("看 one meaning, stays 中")
            << u"独自看花来"_s << 2 << int(ToneClass::Both) << QString();
        QTest::newRow("着 level, but entering too")
            << u"何须着急归"_s << 2 << int(ToneClass::Both) << QString();
        QTest::newRow("长 alone stays 中") << u"日长"_s << 1 << int(ToneClass::Both) << QString();
        // Verse reads some words otherwise than the modern list: 两重 is chóng (a line of six is 2|2|2, so
        // 两重|心字 has no word 重心 zhòng), 称重阳's 称 may be chèn, 难禁 is jīn.
        QTest::newRow("两重 平, not 重心") << u"两重心字罗衣"_s << 1 << int(ToneClass::Ping) << u"两重"_s;
        QTest::newRow("称重 undecided") << u"绿杯红袖称重阳"_s << 4 << int(ToneClass::Both) << QString();
        QTest::newRow("难禁 平") << u"也知芳思难禁"_s << 5 << int(ToneClass::Ping) << u"难禁"_s;
        QTest::newRow("沈 for 沉 stays 中") << u"浮雁沈鱼"_s << 2 << int(ToneClass::Both) << QString();
        // Read against places of the 词 where nearly every poem agrees: 纵横 is zōng in verse, 长相忆
        // cháng xiāng; 不为 may be wéi or wèi; a line of four is 2|2, so 红白|相催 has no word 白相.
        QTest::newRow("纵横 平") << u"礼乐纵横"_s << 2 << int(ToneClass::Ping) << u"纵横"_s;
        QTest::newRow("长相 平") << u"花朝月夜长相见"_s << 4 << int(ToneClass::Ping) << u"长相"_s;
        QTest::newRow("不为 undecided") << u"宸游不为三元夜"_s << 3 << int(ToneClass::Both) << QString();
        QTest::newRow("白相 across 2|2") << u"红白相催"_s << 2 << int(ToneClass::Both) << QString();
    }

    void aPolyphoneTakesTheClassOfItsWordInEveryBook()
    {
        QFETCH(QString, line);
        QFETCH(int, index);
        QFETCH(int, expected);
        QFETCH(QString, word);
        const Line l = readPoems(line).first().lines.first();
        for (Book book : {Book::Pingshui, Book::Cilin}) {
            const Reading r = readingAt(*m_books, l, index, book);
            QCOMPARE(int(r.cls), expected);
            QCOMPARE(r.word, word);
        }
    }

    void aLevelTailDecidedByItsWordIsThreeLevels()
    {
        // 长江 read 平 makes 仄仄平平平 a 三平尾, which 长 read either way left unseen.
        const PoemCheck check = autoCheck(u"木木天天木，木木长江东。"_s).first();
        QVERIFY2(describe(check).contains(u"三平尾@2:3"_s), qPrintable(describe(check)));
    }
};

QTEST_GUILESS_MAIN(WritingTest)
#include "test_writing.moc"
