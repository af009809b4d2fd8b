// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/classics.h"
#include "classics/coupletpairs.h"
#include "db/sqlite.h"
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/couplet/judge.h"
#include "tests/builddb/fixtures.h"
#include "tests/classics/corpus.h"
#include "tests/testmain.h"
#include "tools/classics/coupletgroups.h"
#include "tools/classics/coupletpairs.h"

#include <QFile>
#include <QTemporaryDir>

using namespace builddb;
using namespace Qt::StringLiterals;
using fixtures::query;

namespace {

QList<char32_t> chars(const QString &text)
{
    QList<char32_t> out;
    for (const uint c : text.toUcs4())
        out.append(c);
    return out;
}

// A poem of eight lines of five: the middle couplets set a against b and c against d at the first
// character, the rest of each line the same filler in both lines (never counted).
EightLines poem(qint64 id, const QString &a, const QString &b, const QString &c, const QString &d,
                const QString &outer = u"甲乙"_s)
{
    EightLines p{id, {}};
    const QString fill = u"云云云云"_s;
    for (const QString &first : {outer.left(1), outer.right(1), a, b, c, d, u"丙"_s, u"丁"_s})
        p.lines.append(chars(first + fill));
    return p;
}

const PairTable::Pair *pairOf(const PairTable &t, const QString &a, const QString &b)
{
    for (const PairTable::Pair &p : t.pairs)
        if (t.units.at(p.a).text == a && t.units.at(p.b).text == b)
            return &p;
    return nullptr;
}

int groupOf(const PairTable &t, const QString &unit)
{
    for (const PairTable::Unit &u : t.units)
        if (u.text == unit)
            return u.group;
    return -1;
}

} // namespace

class CoupletPairsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

private slots:
    void initTestCase() { m_file = corpus::buildClassicsWithCouplets(m_dir.path()); }

    // Only the middle couplets of the regulated poems of four couplets feed the table, each pair a
    // row each way; the outer couplets are counted apart, on the pairs the middle ones have.
    void theMiddleCoupletsOfRegulatedPoemsAreCountedBothWays()
    {
        QCOMPARE(query(m_file, u"SELECT count(*) FROM 联"_s), u"4"_s);
        const auto both = [&](const QString &a, const QString &b) {
            return query(
                m_file,
                u"SELECT p.次数 FROM 对仗 p JOIN 对语 x ON x.编号 = p.甲 JOIN 对语 y ON y.编号 = p.乙 "
                "WHERE x.文 = '%1' AND y.文 = '%2'"_s.arg(a, b));
        };
        QCOMPARE(both(u"明月"_s, u"清泉"_s), u"2"_s);
        QCOMPARE(both(u"清泉"_s, u"明月"_s), u"2"_s);
        QCOMPARE(both(u"间照"_s, u"上流"_s), u"2"_s); // the 2|1|2 reading's pair too
        QCOMPARE(both(u"空"_s, u"天"_s), QString());  // a 首联
        QCOMPARE(query(m_file, u"SELECT 值 FROM 概况 WHERE 项 = '对仗诗'"_s), u"2"_s);
        QCOMPARE(query(m_file, u"SELECT 位 || 上 FROM 联 ORDER BY 编号"_s),
                 u"颔联明月松间照 颈联竹喧归浣女 颔联明月松间照 颈联竹喧归浣女"_s);

        // The 首联 and 尾联 add to the pairs' outer count only.
        PairTable t = countPairs({poem(1, u"天"_s, u"地"_s, u"红"_s, u"绿"_s, u"天地"_s),
                                  poem(2, u"地"_s, u"天"_s, u"山"_s, u"山"_s, u"红白"_s)});
        QCOMPARE(pairOf(t, u"天"_s, u"地"_s)->count, 2);
        QCOMPARE(pairOf(t, u"地"_s, u"天"_s)->outer, 1);
        QCOMPARE(pairOf(t, u"天"_s, u"地"_s)->example, 0);
        QVERIFY(!pairOf(t, u"红"_s, u"白"_s)); // in a 首联 only
        QVERIFY(!pairOf(t, u"山"_s, u"山"_s)); // the same character is no pair
    }

    // A character set against everything does not crowd out the pair a poet is after.
    void theScoreWeighsAPairAgainstItsUnitsCounts()
    {
        QList<EightLines> poems;
        const QString others = u"甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥金木水火土日月星"_s;
        for (qsizetype i = 0; i + 1 < others.size(); i += 2)
            poems << poem(i, u"人"_s, others.mid(i, 1), u"人"_s, others.mid(i + 1, 1));
        poems << poem(100, u"天"_s, u"地"_s, u"天"_s, u"地"_s)
              << poem(101, u"天"_s, u"地"_s, u"天"_s, u"人"_s)
              << poem(102, u"天"_s, u"人"_s, u"天"_s, u"人"_s)
              << poem(103, u"天"_s, u"人"_s, u"人"_s, u"风"_s);
        const PairTable t = countPairs(poems);
        QCOMPARE(pairOf(t, u"天"_s, u"人"_s)->count, 4);
        QCOMPARE(pairOf(t, u"天"_s, u"地"_s)->count, 3);
        QVERIFY(pairOf(t, u"天"_s, u"地"_s)->score > pairOf(t, u"天"_s, u"人"_s)->score);
    }

    // Units that stand against the same partners share a group.
    void unitsAreGroupedByWhomTheyStandAgainst()
    {
        QList<EightLines> poems;
        for (int i = 0; i < 3; ++i)
            poems << poem(4 * i, u"山"_s, u"水"_s, u"江"_s, u"海"_s)
                  << poem(4 * i + 1, u"山"_s, u"海"_s, u"江"_s, u"水"_s)
                  << poem(4 * i + 2, u"红"_s, u"白"_s, u"绿"_s, u"青"_s)
                  << poem(4 * i + 3, u"红"_s, u"青"_s, u"绿"_s, u"白"_s);
        PairTable t = countPairs(poems);
        for (PairTable::Unit &u : t.units)
            u.group = 0;
        QCOMPARE(groupUnits(t, 1, 4, 2, 1), 4);
        QVERIFY(groupOf(t, u"山"_s) > 0);
        QCOMPARE(groupOf(t, u"山"_s), groupOf(t, u"江"_s));
        QCOMPARE(groupOf(t, u"水"_s), groupOf(t, u"海"_s));
        QCOMPARE(groupOf(t, u"红"_s), groupOf(t, u"绿"_s));
        QVERIFY(groupOf(t, u"山"_s) != groupOf(t, u"水"_s));
        QVERIFY(groupOf(t, u"山"_s) != groupOf(t, u"红"_s));
        QCOMPARE(groupOf(t, u"山云"_s), 0); // a length not grouped here

        // The groups that stand against each other: 山 and 江 against 水 and 海, never against themselves
        // or the colours.
        const QList<PairTable::GroupPair> met = pairGroups(t);
        const auto score = [&](const QString &a, const QString &b) -> std::optional<int> {
            for (const PairTable::GroupPair &p : met)
                if (p.a == groupOf(t, a) && p.b == groupOf(t, b))
                    return p.score;
            return std::nullopt;
        };
        QVERIFY(score(u"山"_s, u"水"_s) > 0);
        QCOMPARE(score(u"山"_s, u"水"_s), score(u"海"_s, u"江"_s));
        QVERIFY(!score(u"山"_s, u"江"_s));
        QVERIFY(!score(u"山"_s, u"红"_s));
    }

    void theFileAnswersTheCheckAndTheLookup()
    {
        const auto pairs = classics::CoupletPairs::open(m_file);
        QCOMPARE(pairs->pairCount(u"清泉"_s, u"明月"_s), 2);
        QCOMPARE(pairs->pairCount(u"明月"_s, u"竹喧"_s), 0);
        QCOMPARE(pairs->totals().couplets, 4);
        const QList<classics::Partner> partners = pairs->partners(u"明月"_s, 5);
        QCOMPARE(partners.size(), 1);
        QCOMPARE(partners.first().text, u"清泉"_s);
        const std::optional<classics::CoupletExample> example = pairs->couplet(partners.first().couplet);
        QVERIFY(example);
        QCOMPARE(example->position, u"颔联"_s);
        QCOMPARE(example->upper + example->lower, u"明月松间照清泉石上流"_s);
        QCOMPARE(example->author, u"王维"_s);
        QVERIFY(pairs->partners(u"无此词"_s, 5).isEmpty());

        // The check of a 律诗 reads its middle couplets against the file.
        const auto books = prosody::loadRhymeBooks(m_dir.filePath(u"date/rhymebooks.db"_s));
        const QList<prosody::PoemCheck> checks =
            prosody::checkAs(
                books,
                u"空山新雨后，天气晚来秋。明月松间照，清泉石上流。竹喧归浣女，莲动下渔舟。随意春芳歇，王孙自可留。"_s,
                {}, pairs.get())
                .value();
        QVERIFY(checks.first().couplets.at(1).parallel);
        QCOMPARE(checks.first().couplets.at(1).units.first().count, 2);

        // The same poem as printed in traditional characters: its units are found as the standard
        // characters they stand for, and shown as written.
        QCOMPARE(pairs->pairCount(u"間照"_s, u"上流"_s), 2);
        const prosody::PoemCheck printed =
            prosody::checkAs(
                books,
                u"空山新雨後，天氣晚來秋。明月松間照，清泉石上流。竹喧歸浣女，蓮動下漁舟。隨意春芳歇，王孫自可留。"_s,
                {}, pairs.get())
                ->first();
        QCOMPARE(printed.summary(), checks.first().summary());
        QVERIFY(printed.couplets.at(1).parallel && printed.couplets.at(2).parallel);
        QStringList units;
        for (const prosody::CoupletUnit &u : printed.couplets.at(2).units)
            units << u.upper + u'/' + u.lower + u':' + QString::number(u.count);
        QCOMPARE(units.join(u' '), u"竹喧/蓮動:2 歸浣/下漁:2 女/舟:2"_s);
    }

    // Couplets a poet reads at a glance, judged on the file the set-up builds (none of them is a middle
    // couplet of a 律诗 of the file, so none is judged on its own pairs): the cut both lines are read in,
    // and parallel or plain. 五岭逶迤腾细浪 is cut as a poet reads it, but the file has no evidence for
    // its pairs (腾 and 走 never meet; 乌蒙, 磅礴 and 泥丸 stand in no middle couplet): its verdict is
    // left open.
    void famousCouplets_data()
    {
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("cut");
        QTest::addColumn<QString>("verdict"); // 对, 散, or empty
        const auto row = [](const char16_t *u, const char16_t *l, const char16_t *cut,
                            const char16_t *verdict) {
            QTest::newRow(qPrintable(QString::fromUtf16(u)))
                << QString::fromUtf16(u) << QString::fromUtf16(l) << QString::fromUtf16(cut)
                << QString::fromUtf16(verdict);
        };
        row(u"五岭逶迤腾细浪", u"乌蒙磅礴走泥丸", u"五岭|逶迤|腾|细浪", u"");
        row(u"此情可待成追忆", u"只是当时已惘然", u"", u"散");
        row(u"日暮乡关何处是", u"烟波江上使人愁", u"", u"散");
        row(u"借问酒家何处有", u"牧童遥指杏花村", u"", u"散");
        row(u"江山代有才人出", u"各领风骚数百年", u"", u"散");
        row(u"床前明月光", u"疑是地上霜", u"", u"散");
        row(u"两个黄鹂鸣翠柳", u"一行白鹭上青天", u"两个|黄鹂|鸣|翠柳", u"对");
        row(u"白日依山尽", u"黄河入海流", u"白日|依山|尽", u"对");
        row(u"海阔凭鱼跃", u"天高任鸟飞", u"海阔|凭|鱼跃", u"对");
        row(u"春风送暖千家乐", u"瑞雪迎寒万户欢", u"", u"对");
        row(u"墙上芦苇头重脚轻根底浅", u"山间竹笋嘴尖皮厚腹中空", u"", u"对");
    }
    void famousCouplets()
    {
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QFETCH(QString, cut);
        QFETCH(QString, verdict);
        std::unique_ptr<classics::CoupletPairs> pairs;
        try {
            pairs = classics::CoupletPairs::open(qEnvironmentVariable("SHIHAI_SOURCE_DIR") +
                                                 u"/date/classics.db"_s);
        } catch (const classics::ClassicsError &e) {
            QSKIP(qPrintable(e.message()));
        }
        const prosody::Couplet c = prosody::judgeCouplet(chars(upper), chars(lower), *pairs);
        QStringList units;
        for (const prosody::CoupletUnit &u : c.units)
            units << u.upper;
        if (!cut.isEmpty())
            QCOMPARE(units.join(u'|'), cut);
        if (!verdict.isEmpty())
            QVERIFY2(c.parallel == (verdict == u"对"),
                     qPrintable(u"%1: evidence %2"_s.arg(units.join(u'|')).arg(c.evidence)));
    }

    // A file of the version before the pairs still serves the 例句; the pairs say how to rebuild it.
    void anOlderFileIsNamedWithTheCommandThatRebuildsIt()
    {
        const QString old = m_dir.filePath(u"old.db"_s);
        QVERIFY(QFile::copy(m_file, old));
        SqliteFile(old, SqliteFile::Mode::ReadWrite).exec("DROP TABLE 对仗");
        QVERIFY(classics::Classics::open(old));
        try {
            classics::CoupletPairs::open(old);
            QFAIL("an older file opened");
        } catch (const classics::ClassicsError &e) {
            QVERIFY2(e.message().contains(u"旧版本"_s) &&
                         e.message().contains(u"shihai-builddb --classics"_s),
                     qPrintable(e.message()));
        }
    }

    // The file the set-up builds, when it is there: the pairs a poet knows, and the famous middle
    // couplets judged parallel.
    void theRealFile()
    {
        const QString path = qEnvironmentVariable("SHIHAI_SOURCE_DIR") + u"/date/classics.db"_s;
        std::unique_ptr<classics::CoupletPairs> pairs;
        try {
            pairs = classics::CoupletPairs::open(path);
        } catch (const classics::ClassicsError &e) {
            QSKIP(qPrintable(e.message()));
        }
        QVERIFY(pairs->totals().poems > 15000);
        QStringList best;
        for (const classics::Partner &p : pairs->partners(u"天"_s, 3))
            best << p.text;
        QVERIFY2(best.contains(u"地"_s) && best.contains(u"日"_s), qPrintable(best.join(u' ')));
        QCOMPARE(pairs->partners(u"红"_s, 1).value(0).text, u"绿"_s);
        QVERIFY(pairs->pairCount(u"明月"_s, u"白云"_s) > 10);
        QVERIFY(pairs->groupOf(u"山"_s) > 0);

        const auto books =
            prosody::loadRhymeBooks(qEnvironmentVariable("SHIHAI_SOURCE_DIR") + u"/date/rhymebooks.db"_s);
        const QString dufu = u"风急天高猿啸哀，渚清沙白鸟飞回。无边落木萧萧下，不尽长江滚滚来。"
                             "万里悲秋常作客，百年多病独登台。艰难苦恨繁霜鬓，潦倒新停浊酒杯。"_s;
        const prosody::PoemCheck check = prosody::checkAs(books, dufu, {}, pairs.get()).value().first();
        QVERIFY(check.ok());
        QVERIFY(check.couplets.at(1).parallel && check.couplets.at(2).parallel);
        QCOMPARE(check.couplets.at(1).units.at(2).upper, u"萧萧"_s); // 叠字 against 叠字
        QCOMPARE(check.couplets.at(1).units.at(2).judgement, prosody::Parallel::Strict);

        // As 唐诗三百首 prints it, the same: the pairs of 萬里 and 百年 are found as 万里 and 百年.
        const QString printed = u"風急天高猿嘯哀，渚清沙白鳥飛回。無邊落木蕭蕭下，不盡長江滾滾來。"
                                "萬里悲秋常作客，百年多病獨登臺。艱難苦恨繁霜鬢，潦倒新停濁酒杯。"_s;
        const prosody::PoemCheck traditional =
            prosody::checkAs(books, printed, {}, pairs.get()).value().first();
        QVERIFY(traditional.ok());
        QVERIFY(traditional.couplets.at(1).parallel && traditional.couplets.at(2).parallel);
        QCOMPARE(traditional.couplets.at(2).units.first().upper, u"萬里"_s);
        QCOMPARE(traditional.couplets.at(2).units.first().count, check.couplets.at(2).units.first().count);
    }
};

SHIHAI_TEST_MAIN(CoupletPairsTest)
#include "tst_coupletpairs.moc"
