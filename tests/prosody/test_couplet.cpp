// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/couplet/judge.h"
#include "prosody/report.h"
#include "tests/support/booksfixture.h"
#include "tests/support/checknamed.h"

#include <QHash>
#include <QTemporaryDir>
#include <QTest>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

// The pairs and groups a test sets, as the classics file would give them.
class FixturePairs : public PairSource {
public:
    FixturePairs &pair(const QString &a, const QString &b, int count)
    {
        m_counts.insert(a + u'\t' + b, count);
        m_counts.insert(b + u'\t' + a, count);
        return *this;
    }
    FixturePairs &outer(const QString &a, const QString &b, int count)
    {
        m_outer.insert(a + u'\t' + b, count);
        m_outer.insert(b + u'\t' + a, count);
        return *this;
    }
    FixturePairs &group(const QString &units, int group)
    {
        for (const QString &u : units.split(u' '))
            m_groups.insert(u, group);
        return *this;
    }
    // Groups a and b set against each other: ln(observed ÷ expected).
    FixturePairs &affinity(int a, int b, double value)
    {
        m_affinity.insert(std::pair(a, b), value);
        m_affinity.insert(std::pair(b, a), value);
        return *this;
    }
    // How often each of units stands in a middle couplet; the units of the file come to total.
    FixturePairs &units(const QString &units, int count, qint64 total)
    {
        for (const QString &u : units.split(u' '))
            m_units.insert(u, count);
        m_total = total;
        return *this;
    }
    int pairCount(const QString &a, const QString &b) const override { return m_counts.value(a + u'\t' + b); }
    int groupOf(const QString &unit) const override { return m_groups.value(unit); }
    int outerCount(const QString &a, const QString &b) const override { return m_outer.value(a + u'\t' + b); }
    int unitCount(const QString &unit) const override { return m_units.value(unit); }
    qint64 characterCount() const override { return m_total; }
    double groupAffinity(int a, int b) const override { return m_affinity.value(std::pair(a, b)); }

private:
    QHash<QString, int> m_counts;
    QHash<QString, int> m_outer;
    QHash<QString, int> m_groups;
    QHash<std::pair<int, int>, double> m_affinity;
    QHash<QString, int> m_units;
    qint64 m_total = 0;
};

QList<char32_t> chars(const QString &text)
{
    QList<char32_t> out;
    for (const uint c : text.toUcs4())
        out.append(c);
    return out;
}

// Findings as "~对仗@6:0" (warning) or "+对仗@2:0" (accepted); faults without a mark.
QString describe(const PoemCheck &check)
{
    QStringList out;
    for (const Finding &f : check.findings)
        out << (f.isFault()                       ? QString()
                : f.severity == Severity::Warning ? u"~"_s
                                                  : u"+"_s) +
                   u"%1@%2:%3"_s.arg(kindName(f.kind)).arg(f.line).arg(f.pos);
    return out.join(u' ');
}

// 王维《山居秋暝》, a regulated 五律 whose 颔联 and 颈联 are famous pairs.
const QString kShanju = u"空山新雨后，天气晚来秋。明月松间照，清泉石上流。\n"
                        "竹喧归浣女，莲动下渔舟。随意春芳歇，王孙自可留。"_s;

} // namespace

class CoupletTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<const RhymeBooks> m_books;
    FixturePairs m_pairs;

    PoemCheck checkOne(const QString &text, const QString &form, const PairSource *pairs) const
    {
        return checkNamed(m_books, text, form, std::nullopt, pairs).value().value(0);
    }

private slots:
    void initTestCase()
    {
        BooksFixture books(m_dir.filePath(u"date/rhymebooks.db"_s));
        books.add(u"平水韵"_s, u"下平十一尤"_s, u"平"_s, u"秋流舟留"_s)
            .add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"空山新天来明松间清泉喧归莲渔随春芳王孙风家欢寒迎"_s)
            .add(u"平水韵"_s, u"去声七遇"_s, u"去"_s, u"雨后气晚照石上浣女动下意自可送暖户喜瑞月"_s)
            .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"竹歇乐雪"_s)
            .add(u"平水韵"_s, u"下平一先"_s, u"平"_s, u"千"_s)
            .add(u"平水韵"_s, u"去声十四愿"_s, u"去"_s, u"万"_s);
        m_books = loadRhymeBooks(books.path());
        // 松 and 石 are of groups that stand against each other, 松 and 梅 of one that seldom meets itself
        // (groups of 平 words stand against groups of 仄 words); 人, 不, 山, 风, 云, 花 and 鸟 are common.
        m_pairs.pair(u"明月"_s, u"清泉"_s, 3)
            .pair(u"间"_s, u"上"_s, 1)
            .pair(u"间照"_s, u"上流"_s, 2)
            .pair(u"人"_s, u"山"_s, 3)
            .pair(u"风"_s, u"云"_s, 40)
            .pair(u"花"_s, u"鸟"_s, 40)
            .pair(u"吴"_s, u"楚"_s, 59)
            .outer(u"花"_s, u"鸟"_s, 200)
            .group(u"松 梅"_s, 4)
            .group(u"石"_s, 5)
            .affinity(4, 5, 1.2)
            .affinity(4, 4, -2)
            .units(u"人 不 山 风 云 花 鸟"_s, 1000, 100000);
    }

    // Each kind of judgement of one aligned unit, and the evidence each rests on: a unit is 宽 or 工
    // only on evidence, and two common characters the classics never set against each other count
    // against the couplet.
    void unitsAreJudgedOnEvidence_data()
    {
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<Parallel>("judgement");
        QTest::addColumn<double>("evidence");
        const auto row = [](const char16_t *a, const char16_t *b, Parallel p, double e) {
            QTest::addRow("%s/%s", qPrintable(QString::fromUtf16(a)), qPrintable(QString::fromUtf16(b)))
                << QString::fromUtf16(a) << QString::fromUtf16(b) << p << e;
        };
        row(u"明月", u"清泉", Parallel::Strict, 2); // attested whole
        row(u"风", u"云", Parallel::Strict, 1);     // 40 times where chance gives 10
        row(u"花", u"鸟", Parallel::Loose, 0.5);    // as often, but mostly in plain lines
        row(u"人", u"山", Parallel::None, 0);       // attested, below chance
        row(u"人", u"不", Parallel::None, -1);      // common, never set against each other
        row(u"松", u"石", Parallel::Loose, 0.25);   // unattested, of groups that pair
        row(u"松", u"梅", Parallel::None, -0.5);    // one group is no evidence: this one seldom pairs
        row(u"松", u"流", Parallel::None, 0);       // nothing known either way
        row(u"月", u"月", Parallel::None, -1);      // 同字
        row(u"三", u"万", Parallel::Strict, 1);     // our lists: numbers, colours
        row(u"红", u"碧", Parallel::Strict, 1);
        row(u"萧萧", u"滚滚", Parallel::Strict, 2);   // 叠字 against 叠字
        row(u"三红", u"万碧", Parallel::Strict, 2);   // each character 工
        row(u"松间", u"石上", Parallel::Loose, 0.75); // 宽 and rarely attested
        row(u"松间", u"松上", Parallel::None, -0.5);  // the same character in place
        row(u"风花", u"云鸟", Parallel::Strict, 1.5); // 工 and 宽 make a 工 word
        // 并列 words against 并列 words, each character at least 0.25: by the classics (吴楚) or by our
        // lists, also where the poems keep the two characters together and never set them against each
        // other (乾坤, 日夜).
        row(u"吴楚", u"乾坤", Parallel::Loose, 0.5);
        row(u"东南", u"日夜", Parallel::Loose, 0.5);
    }
    void unitsAreJudgedOnEvidence()
    {
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QFETCH(Parallel, judgement);
        QFETCH(double, evidence);
        const UnitJudgement j = judgeUnit(chars(upper), chars(lower), m_pairs);
        QCOMPARE(j.judgement, judgement);
        QCOMPARE(j.evidence, evidence);
    }

    // Both lines are read in the cut under which they pair best (2|1|2 here, its last unit attested
    // whole); a couplet is parallel when its evidence comes to a quarter of its characters.
    void aCoupletIsReadInTheRhythmThatFitsIt()
    {
        const Couplet c = judgeCouplet(chars(u"明月松间照"_s), chars(u"清泉石上流"_s), m_pairs);
        QStringList units;
        for (const CoupletUnit &u : c.units)
            units << u"%1/%2 %3 %4"_s.arg(u.upper, u.lower, parallelName(u.judgement)).arg(u.count);
        QCOMPARE(units, (QStringList{u"明月/清泉 工对 3"_s, u"松/石 宽对 0"_s, u"间照/上流 工对 2"_s}));
        QVERIFY(c.parallel);
        QVERIFY(c.sameChar.isEmpty());
        QVERIFY(!c.alike);

        QVERIFY(judgeCouplet(chars(u"明月照松"_s), chars(u"清泉流石"_s), m_pairs).parallel);  // 2.25 of 4
        QVERIFY(!judgeCouplet(chars(u"松石照月"_s), chars(u"石松流泉"_s), m_pairs).parallel); // 0.5 of 4
        QVERIFY(!judgeCouplet(chars(u"竹喧归浣女"_s), chars(u"莲动下渔舟"_s), m_pairs).parallel);
        // Common characters never paired weigh against what else is attested.
        QVERIFY(!judgeCouplet(chars(u"风人照松"_s), chars(u"云不流梅"_s), m_pairs).parallel);
        // Lines that run on as one sentence need twice the evidence (1.5 of 5 here), unless the lower
        // answers the upper's opening word with one of its own.
        QVERIFY(!judgeCouplet(chars(u"借问风花照"_s), chars(u"遥看云鸟流"_s), m_pairs).parallel);
        QVERIFY(judgeCouplet(chars(u"借问风花照"_s), chars(u"谁知云鸟流"_s), m_pairs).parallel);
    }

    void sameCharactersAndAlikeLinesAreNamed()
    {
        const Couplet same = judgeCouplet(chars(u"明月松间照"_s), chars(u"明月石上流"_s), m_pairs);
        QCOMPARE(same.sameChar, (QList<int>{0, 1}));
        // Every unit near-synonymous: the lines say the same thing twice.
        const Couplet alike = judgeCouplet(chars(u"归来见旧路"_s), chars(u"回到看昔途"_s), m_pairs);
        QVERIFY(alike.alike);
        QVERIFY(alike.sameChar.isEmpty());
    }

    // In a 律诗 the couplets advise and inform; the metre's verdict is left as it was.
    void aRegulatedPoemIsAdvisedOnItsMiddleCouplets()
    {
        const PoemCheck plain = checkOne(kShanju, u"自动"_s, nullptr);
        QCOMPARE(plain.form, u"五言律诗"_s);
        QVERIFY(plain.ok());
        QVERIFY(plain.couplets.isEmpty());

        const PoemCheck check = checkOne(kShanju, u"自动"_s, &m_pairs);
        QVERIFY(check.ok());
        QCOMPARE(check.couplets.size(), 4);
        QCOMPARE(check.couplets.at(1).name, u"颔联"_s);
        QVERIFY(check.couplets.at(1).middle && check.couplets.at(1).parallel);
        QVERIFY(!check.couplets.at(2).parallel);
        // Only the 颈联 is advised on; the outer couplets, not parallel, go unnamed.
        QCOMPARE(describe(check), u"~对仗@6:0"_s);
        const Finding advice = check.findings.first();
        QVERIFY(advice.text.startsWith(u"颈联未成对仗："_s));
        QVERIFY(advice.text.contains(u"「竹喧」"_s) && advice.text.endsWith(u"少有先例"_s));

        // A parallel 首联 is shown as information; 同字相对 in a middle couplet as a warning.
        FixturePairs more = m_pairs;
        more.pair(u"空山"_s, u"天气"_s, 2).pair(u"新"_s, u"晚"_s, 5).pair(u"雨后"_s, u"来秋"_s, 1);
        const PoemCheck repeated =
            checkOne(QString(kShanju).replace(u"清泉石上流"_s, u"明泉石上流"_s), u"五律"_s, &more);
        QVERIFY(describe(repeated).contains(u"+对仗@2:0"_s));
        QVERIFY(describe(repeated).contains(u"~同字相对@4:1"_s));
        QVERIFY(!describe(repeated).contains(u"@8:"_s));

        // One rule for every couplet: an outer one is parallel as it would be in the middle.
        FixturePairs slack = m_pairs;
        slack.pair(u"空山"_s, u"天气"_s, 2).pair(u"新"_s, u"晚"_s, 5);
        const Couplet first = checkOne(kShanju, u"五律"_s, &slack).couplets.first();
        QCOMPARE(first.count(Parallel::None), 1);
        QVERIFY(first.parallel);
        QCOMPARE(first.parallel,
                 judgeCouplet(chars(u"空山新雨后"_s), chars(u"天气晚来秋"_s), slack).parallel);
    }

    // While a 律诗 is being written its whole couplets are judged already, named by the form's place.
    void aPoemInProgressHasItsWrittenCoupletsJudged()
    {
        const QString sixLines = kShanju.left(kShanju.indexOf(u"随意"_s));
        const PoemCheck six = checkOne(sixLines, u"自动"_s, &m_pairs);
        QCOMPARE(six.form, u"五言律诗"_s);
        QCOMPARE(six.couplets.size(), 3);
        QCOMPARE(six.couplets.at(1).name, u"颔联"_s);
        QVERIFY(six.couplets.at(1).parallel);
        QVERIFY(describe(six).contains(u"~对仗@6:0"_s)); // the 颈联, unpaired in the fixture

        // The 颈联's lower line half typed: it waits; a line of another length keeps only its own couplet
        // out.
        const PoemCheck typing = checkOne(sixLines.left(sixLines.size() - 4), u"自动"_s, &m_pairs);
        QCOMPARE(typing.couplets.size(), 2);
        QVERIFY(!describe(typing).contains(u"对仗@6"_s));
        const PoemCheck slip =
            checkOne(QString(kShanju).replace(u"王孙自可留"_s, u"王孙自可久留"_s), u"自动"_s, &m_pairs);
        QCOMPARE(slip.couplets.size(), 3);
        QCOMPARE(slip.couplets.at(1).name, u"颔联"_s);
    }

    // 对联: the 上联 ends 仄, the 下联 平, and the rhythm points are opposed.
    void aDuilianKeepsItsTones()
    {
        const PoemCheck good = checkOne(u"春风送暖千家乐\n瑞雪迎寒万户欢"_s, u"对联"_s, &m_pairs);
        QCOMPARE(good.form, u"对联"_s);
        QCOMPARE(good.variant, u"七字联"_s);
        QVERIFY(good.ok());
        QCOMPARE(good.couplets.size(), 1);
        const QList<CoupletUnit> &units = good.couplets.first().units;
        QVERIFY(std::any_of(units.begin(), units.end(), [](const CoupletUnit &u) {
            return u.upper.startsWith(u'千') && u.judgement != Parallel::None; // numbers: no pair needed
        }));

        const PoemCheck swapped = checkOne(u"瑞雪迎寒万户欢\n春风送暖千家乐"_s, u"对联"_s, &m_pairs);
        QCOMPARE(describe(swapped).split(u' ').filter(u"平仄"_s),
                 (QStringList{u"平仄@1:7"_s, u"平仄@2:7"_s}));

        const PoemCheck unopposed = checkOne(u"春风送暖千家乐\n瑞雪添喜万户欢"_s, u"对联"_s, &m_pairs);
        QVERIFY(describe(unopposed).contains(u"失对@2:4"_s));
        QVERIFY(!unopposed.ok());

        QCOMPARE(describe(checkOne(u"春风送暖千家乐\n瑞雪迎寒万户"_s, u"对联"_s, &m_pairs)), u"字数@0:0"_s);
        // 宽 units too thin to carry the couplet are named as such.
        const QList<Finding> thin = checkOne(u"松照梅照\n石流石流"_s, u"对联"_s, &m_pairs).findings;
        QVERIFY(std::any_of(thin.begin(), thin.end(), [](const Finding &f) {
            return f.text == u"对联未成对仗：「松照」「梅照」对「石流」「石流」只是宽对，依据不足"_s;
        }));
        // Without the classics only the tones are checked, and the check says so.
        const PoemCheck bare = checkOne(u"春风送暖千家乐\n瑞雪迎寒万户欢"_s, u"对联"_s, nullptr);
        QVERIFY(bare.couplets.isEmpty());
        QCOMPARE(describe(bare), u"~对仗@0:0"_s);
    }

    void jsonGivesTheCoupletsInTheirPlace()
    {
        const QString json = QString::fromUtf8(toJson(checkOne(kShanju, u"自动"_s, &m_pairs)));
        QStringList keys;
        for (const char *k : {"\"ok\":", "\"lines\":[", "\"couplets\":[", "\"findings\":["})
            keys << QString::number(json.indexOf(QLatin1String(k)));
        QVERIFY2(keys.at(0).toInt() < keys.at(1).toInt() && keys.at(1).toInt() < keys.at(2).toInt() &&
                     keys.at(2).toInt() < keys.at(3).toInt(),
                 qPrintable(json));
        QVERIFY2(json.contains(u"{\"lines\":[3,4],\"parallel\":true,\"units\":[{\"text\":[\"明月\",\"清泉\"],"
                               "\"judgement\":\"工对\",\"count\":3}"_s),
                 qPrintable(json));
        const QString duilian =
            QString::fromUtf8(toJson(checkOne(u"春风送暖千家乐\n瑞雪迎寒万户欢"_s, u"对联"_s, &m_pairs)));
        QVERIFY2(duilian.contains(u"\"couplets\":[{\"lines\":[1,2],"_s), qPrintable(duilian));
        // A poem of no couplet form has no key.
        QVERIFY(!QString::fromUtf8(toJson(checkOne(u"空山新雨后，天气晚来秋。"_s, u"自动"_s, &m_pairs)))
                     .contains(u"couplets"_s));
    }
};

QTEST_GUILESS_MAIN(CoupletTest)
#include "test_couplet.moc"
