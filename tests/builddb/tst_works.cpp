// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/builddb/fixtures.h"
#include "tests/testmain.h"
#include "tools/common/builderror.h"
#include "tools/dictionary/works.h"

#include <QTemporaryDir>

using namespace builddb;
using namespace Qt::StringLiterals;

class WorksTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_dist;
    std::unique_ptr<Converter> m_t2s;

    static const Work *byTitle(const QList<Work> &works, const QString &title)
    {
        for (const Work &w : works)
            if (w.title == title)
                return &w;
        return nullptr;
    }

    static QStringList titles(const QList<Work> &works)
    {
        QStringList out;
        for (const Work &w : works)
            out << w.title;
        return out;
    }

private slots:
    void initTestCase()
    {
        fixtures::writeSources(m_dir.path());
        m_dist = fixtures::poetryDist(m_dir.path());
        m_t2s = std::make_unique<Converter>();
    }

    void convertsTraditionalToSimplified()
    {
        QCOMPARE((*m_t2s)(u"風起雲飛過舊鄉"_s), u"风起云飞过旧乡"_s);
        // Characters that are also simplified forms stay as they are.
        QCOMPARE((*m_t2s)(u"乾坤"_s), u"乾坤"_s);
        QVERIFY_THROWS_EXCEPTION(BuildError, Converter(u"no-such-config.json"_s));
    }

    void marksGlyphsWithoutACodePoint()
    {
        // A private-use character shows as a different glyph in every font, or as nothing.
        QCOMPARE((*m_t2s)(u"念昔\ue829遊"_s), u"念昔□游"_s);
        QCOMPARE((*m_t2s)(QString::fromUcs4(U"\U000F0001𬘩")), u"□𬘩"_s);
    }

    void pairsEachCategoryWithItsMark()
    {
        QCOMPARE(markOf(u"甲类"_s), QString(QChar(0x300E)) + QChar(0x300F));
        QCOMPARE(markOf(u"乙类"_s), QString(QChar(0xFFE1)));
        QCOMPARE(markOf(u"丙类"_s), QString(QChar(0x00A7)));
        QCOMPARE(markOf(u"丁类"_s), QString(QChar(0xFFE0)));
        QCOMPARE(markOf(u"戊类"_s), QString(QChar(0x203B)));
        QCOMPARE(markOf(u"草稿"_s), QString());
    }

    void groupsSeriesOfThePrimerPoets()
    {
        const QSet<QString> poets = tangPoets(m_dist, *m_t2s);
        QCOMPARE(poets, (QSet<QString>{u"王维"_s, u"李白"_s})); // 佚名 is no poet

        const QList<Work> series = seriesWorks(m_dist, poets, *m_t2s);
        // 独坐三首 spans two files; 闲居二首 is by a poet not in the primer.
        QCOMPARE(titles(series), (QStringList{u"秋兴二首"_s, u"独坐三首"_s}));
        const Work &autumn = series.first();
        QCOMPARE(autumn.category, u"甲类"_s);
        QCOMPARE(autumn.author, u"王维"_s);
        QCOMPARE(autumn.source, u"全唐诗"_s);
        QCOMPARE(autumn.count, 2); // the same poem under a longer title counts once
        QCOMPARE(autumn.content, u"其一\n秋风吹落叶，\n\n其二\n寒雁过长空，"_s);
        QCOMPARE(autumn.remarks, u"唐\n其二：一本无此首。"_s);
        QCOMPARE(series.last().count, 2); // a copy with a variant character (彊/强) counts once
        QVERIFY(series.last().content.contains(u"孤云去不还"_s));
    }

    void keepsRegulatedVerseOnceWithItsNotes()
    {
        const QList<Work> works = regulatedVerse(m_dist, *m_t2s);
        QCOMPARE(titles(works), (QStringList{u"山居"_s, u"无题"_s, u"春日二首·其一"_s, u"春日二首·其二"_s}));
        const Work &poem = works.first();
        QCOMPARE(poem.category, u"乙类"_s);
        QCOMPARE(poem.source, u"唐诗三百首"_s); // the 千家诗 copy is dropped
        QCOMPARE(poem.author, u"王维"_s);
        QCOMPARE(poem.content, u"风起云飞过旧乡，归来独坐听钟声。\n长亭草色连天远，落日江边送客行。"_s);
        QCOMPARE(poem.remarks, u"唐·七言绝句\n又题：秋山居\n旧 一作：故"_s);
        const Work *spring = byTitle(works, u"春日二首·其二"_s);
        QVERIFY(spring);
        QCOMPARE(spring->author, u"程颢"_s);
        QCOMPARE(spring->source, u"千家诗"_s);
        QVERIFY(spring->remarks.startsWith(u"宋·"_s));
    }

    void namesCiByTitleOrByTuneAndFirstLine()
    {
        const QList<Work> works = ciWorks(m_dist, *m_t2s);
        QCOMPARE(titles(works), (QStringList{u"凤栖梧·小楼昨夜听风雨"_s, u"菩萨蛮·其一"_s, u"望江南·闲梦远"_s,
                                             u"长相思·山一重"_s}));
        for (const Work &w : works)
            QCOMPARE(w.category, u"丙类"_s);
        QCOMPARE(works[0].remarks, u"宋\n词牌：蝶恋花"_s);
        QCOMPARE(works[0].content, u"小楼昨夜听风雨，\n一夜花开落。"_s);
        QCOMPARE(works[1].source, u"花间集"_s);
        QCOMPARE(works[1].remarks, u"五代\n1.画楼--彩绘的楼。"_s);
        QCOMPARE(works[3].source, u"纳兰性德诗集"_s);
    }

    void joinsTheTunesOfASuite()
    {
        const QList<Work> works = sanquWorks(m_dist, *m_t2s);
        QCOMPARE(works.size(), 1); // the play's aria is no 散曲
        QCOMPARE(works[0].title, u"双调·新水令"_s);
        QCOMPARE(works[0].category, u"丁类"_s);
        QCOMPARE(works[0].content, u"春来花满院。\n〔驻马听〕柳外青山，水边红杏。\n风吹过。"_s);
    }

    void gathersAncientVerse()
    {
        const QList<Work> works = ancientVerse(m_dist, *m_t2s);
        QCOMPARE(titles(works), (QStringList{u"鹿鸣"_s, u"远游"_s, u"思古"_s, u"古意"_s}));
        QCOMPARE(works[0].source, u"诗经·国风·周南"_s);
        QCOMPARE(works[1].source, u"楚辞"_s);
        QCOMPARE(works[1].remarks, u"战国"_s);
        QCOMPARE(works[2].source, u"楚辞·九叹"_s);
        QCOMPARE(works[2].remarks, u"汉"_s);
        QCOMPARE(works[3].remarks, u"唐·五言古诗"_s);
        for (const Work &w : works) {
            QCOMPARE(w.category, u"戊类"_s);
            QCOMPARE(w.count, 1);
        }
    }
};

SHIHAI_TEST_MAIN(WorksTest)
#include "tst_works.moc"
