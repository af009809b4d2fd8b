// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/testmain.h"
#include "tools/rhymebooks/cipubook/bookerror.h"
#include "tools/rhymebooks/cipubook/cipubook.h"
#include "tools/rhymebooks/cipubook/selfcheck.h"

#include <QDir>

using namespace cipubook;
using namespace Qt::StringLiterals;

namespace {

// A 卷 in the files' format: its table of contents, then its body.
QString juan(const QString &contents, const QString &body)
{
    return QStringLiteral("#+PROPERTY: JUAN 卷一目録\n<pb:KR4j0086_WYG_001-1a>¶\n") + contents +
           QStringLiteral("#+PROPERTY: JUAN 卷一\n<pb:KR4j0086_WYG_001-4a>¶\n") + body;
}

// An example as "惹恨還添恨句|牽腸即斷腸韻 / …": 读 as 、, 和声 in brackets, each 句's mark after it
// (韻 with 換 and the tone its mark names), " / " between 段.
QString shape(const BookExample &example)
{
    QStringList stanzas;
    for (const BookStanza &s : example.stanzas) {
        QStringList lines;
        for (const BookLine &l : s.lines) {
            const QList<uint> chars = l.text.toUcs4();
            QString text;
            for (qsizetype i = 0; i <= chars.size(); ++i) {
                if (i > 0 && i < chars.size() && l.dou.contains(int(i)))
                    text += u'、';
                for (const Harmony &h : l.harmonies)
                    if (h.after == i)
                        text += u'[' + h.text + u']';
                if (i < chars.size())
                    text += QString::fromUcs4(reinterpret_cast<const char32_t *>(&chars[i]), 1);
            }
            static const char16_t *const marks[] = {u"句", u"韻", u"叶", u"疊", u"重", u"？"};
            text += QString::fromUtf16(marks[int(l.end)]);
            if (l.end == LineEnd::Rhyme)
                text += (l.rhymeChange ? QStringLiteral("換") : QString()) +
                        (l.rhymeTone.isNull() ? QString() : QString(l.rhymeTone));
            lines << text;
        }
        stanzas << lines.join(u'|');
    }
    return stanzas.join(QStringLiteral(" / "));
}

// Free positions as "1.6.1玉平荷": 段, 句 and character (1-based), the example's character, the tone
// and character of the other poem.
QString freed(const BookForm &form)
{
    QStringList out;
    for (const FreePosition &f : form.free)
        out << QStringLiteral("%1.%2.%3%4%5%6")
                   .arg(f.stanza + 1)
                   .arg(f.line + 1)
                   .arg(f.index + 1)
                   .arg(f.character,
                        f.variant == Tone::Ping ? u"平"_s
                        : f.variant == Tone::Ze ? u"仄"_s
                                                : u"入"_s,
                        f.variantCharacter);
    return out.join(u' ');
}

const BookForm &onlyForm(const CipuBook &book, int number)
{
    return book.tunes.first().forms.at(number - 1);
}

} // namespace

class TestCipuBook : public QObject {
    Q_OBJECT

private slots:
    // Examples as the book prints them, read into 段 and 句 and checked against their headings.
    void readsExamples_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<bool>("agrees");

        const QString zhuzhi =
            QStringLiteral("　竹枝(唐教坊曲名/)¶\n"
                           "　　　竹枝(單調十四字/兩句兩平韻)　　　　　　　皇甫松¶\n"
                           "　芙蓉並蔕(竹/枝)一心連(女兒/韻)花侵槅子(竹/枝)眼應穿(女兒/韻)¶\n"
                           "　　(尊前集載皇甫松竹枝詞六首皆兩句體平韻者五/仄韻者一)¶\n"
                           "　　　又一體(單調二十八字/四句三平韻)　　　　　孫光憲¶\n"
                           "門前春水(竹/枝)白蘋花(女兒/韻)㟁上無人(竹/枝)小艇斜(女兒/韻)商¶\n"
                           "女經過(竹/枝)江欲暮(女兒/句)散抛殘食(竹/枝)飼神鴉(女兒/韻)¶\n"
                           "　(此詞較皇甫松詞多兩句/)¶\n");
        QTest::newRow("和声 kept apart, (女兒/句) a 句 without rhyme")
            << zhuzhi << 2
            << u"門前春水[竹枝]白蘋花[女兒]韻|㟁上無人[竹枝]小艇斜[女兒]韻|商女經過[竹枝]江欲暮[女兒]句|"
               u"散抛殘食[竹枝]飼神鴉[女兒]韻"_s
            << true;
        QTest::newRow("a 段 gap inside a column; a short column ending in verse is no 段 end")
            << QStringLiteral("　南歌子(唐教坊曲名/)¶\n"
                              "　　南歌子(雙調五十二字前後/段各四句三平韻)　　　毛熙震¶\n"
                              "惹恨還添恨(句/)牽腸即斷腸(韻/)凝情不語一枝芳(韻/)獨¶\n"
                              "映畫簾閒立(讀/)繡衣香(韻/)　暗想為雲女(句/)應憐傅¶\n"
                              "粉郎(韻/)晚來輕步出閨房(韻/)髻慢釵横無力(讀/)縱猖狂(韻/)¶\n")
            << 1
            << u"惹恨還添恨句|牽腸即斷腸韻|凝情不語一枝芳韻|獨映畫簾閒立、繡衣香韻 / "
               u"暗想為雲女句|應憐傅粉郎韻|晚來輕步出閨房韻|髻慢釵横無力、縱猖狂韻"_s
            << true;
        QTest::newRow("a 段 ending with its column, 疊 counted where the heading counts 疊韻")
            << QStringLiteral("　醉春風(調見陽春白雪/)¶\n"
                              "　　醉春風(雙調六十四字前後段/各七句四仄韻兩疊韻)　　趙徳仁¶\n"
                              "陌上清明近(韻/)行人難借問(韻/)風流何處不歸來(句/)悶¶\n"
                              "(韻/)悶(疊/)悶(疊/)回鴈峰前(句/)戲魚波上(句/)試尋芳信(韻/)¶\n"
                              "夜永蘭膏燼(韻/)春睡何曾穩(韻/)枕邊珠淚㡬時乾(句/)恨¶\n"
                              "(韻/)恨(疊/)恨(疊/)惟有窗前(句/)過來明月(句/)照人方寸(韻/)¶\n")
            << 1
            << u"陌上清明近韻|行人難借問韻|風流何處不歸來句|悶韻|悶疊|悶疊|回鴈峰前句|戲魚波上句|試尋芳信韻 "
               u"/ "
               u"夜永蘭膏燼韻|春睡何曾穩韻|枕邊珠淚㡬時乾句|恨韻|恨疊|恨疊|惟有窗前句|過來明月句|照人方寸韻"_s
            << true;
        QTest::newRow("rhymes of a named tone, (換/仄) split from its (韻/) by the column")
            << QStringLiteral("　河傳(隋煬帝將幸江都時所製/)¶\n"
                              "　　河傳(雙調五十四字前後段/各七句三仄韻四平韻)　　孫光憲¶\n"
                              "花落(仄/韻)烟薄(韻/)謝家池閣(韻/)寂寞春深(平/韻)翠蛾輕斂意沈吟(韻/)¶\n"
                              "沾襟(韻/)無人知此心(韻/)　玉鑪香斷霜灰冷(換/仄)¶\n"
                              "(韻/)簾鋪影(韻/)梁燕歸紅杏(韻/)晩來天(換平/韻)空悄然(韻/)孤眠(韻/)枕¶\n"
                              "檀雲髻偏(韻/)¶\n")
            << 1
            << u"花落韻仄|烟薄韻|謝家池閣韻|寂寞春深韻平|翠蛾輕斂意沈吟韻|沾襟韻|無人知此心韻 / "
               u"玉鑪香斷霜灰冷韻換仄|簾鋪影韻|梁燕歸紅杏韻|晩來天韻換平|空悄然韻|孤眠韻|枕檀雲髻偏韻"_s
            << true;
        QTest::newRow("a mark printed full size among the verse, read as the heading confirms")
            << QStringLiteral("　雪花飛(調見山谷詞/)¶\n"
                              "　　雪花飛(雙調四十二字前後/段各四句兩平韻)　　　黄庭堅¶\n"
                              "携手青雲路稳(句/)天聲迤邐傳呼(韻/)袍笏恩章乍賜(句/)¶\n"
                              "<pb:KR4j0086_WYG_004-23a>¶\n"
                              "春滿皇都(韻/)　何處難忘酒(句/)瓊花照玉壺韻歸嫋絲¶\n"
                              "鞘競醉(句/)雪舞街衢(韻/)¶\n")
            << 1
            << u"携手青雲路稳句|天聲迤邐傳呼韻|袍笏恩章乍賜句|春滿皇都韻 / "
               u"何處難忘酒句|瓊花照玉壺韻|歸嫋絲鞘競醉句|雪舞街衢韻"_s
            << true;
    }

    void readsExamples()
    {
        QFETCH(QString, body);
        QFETCH(int, form);
        const CipuBook book = readCipuJuan(juan(QString(), body), 1);
        QCOMPARE(book.tunes.size(), 1);
        const BookForm &f = onlyForm(book, form);
        QTEST(shape(f.example), "shape");
        QTEST(formAgrees(f), "agrees");
        QCOMPARE(f.number, form);
    }

    // The notes' evidence laid over the example: a quoted 句 at a named place, the place left out and
    // taken from the sentence before, both 結 at once, the example's own character by its place.
    void notesFreeCharacters_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("free");
        QTest::addColumn<int>("unplaced");
        QTest::addColumn<bool>("strict");

        const QString nian = QStringLiteral(
            "　念奴嬌(碧雞漫志云大石調/)¶\n"
            "　　念奴嬌(雙調一百字前後/段各十句四仄韻)　　　　蘇　軾¶\n"
            "憑空眺逺(句/)見長空萬里(句/)雲無留迹(韻/)桂魄飛來光¶\n"
            "射處(句/)冷浸一天秋碧(韻/)玉宇瓊樓(句/)乗鸞來去(句/)人¶\n"
            "在清凉國(韻/)江山如畫(句/)望中烟樹歴歴(韻/)　我醉拍¶\n"
            "手狂歌(句/)舉杯邀月(句/)對影成三客(韻/)起舞徘徊風露¶\n"
            "下(句/)今夕不知何夕(韻/)便欲乗風(句/)翻然歸去(句/)何用¶\n"
            "騎鵬翼(韻/)水晶宫裏(句/)一聲吹斷横笛(韻/)¶\n"
            "　(按辛棄疾詞前段/)¶\n"
            "　(第二三句問阿誰堪比太真顔色阿字太字俱仄聲/張元幹詞第六句荷芰波生荷字平聲趙師俠詞後)¶\n"
            "　(段第四句回首重城天様逺回字平聲第五句獨擁/閒衾展轉獨字仄聲吳詞第二句雪消蕙草雷字仄聲)¶\n");
        QTest::newRow("念奴嬌: places carried from sentence to sentence; a quote of another length")
            << nian << u"1.2.2長仄阿 1.3.1雲仄太 1.6.1玉平荷 2.4.1起平回 2.5.1今仄獨"_s << 1 << false;
        QTest::newRow("歸字謡: another poem at the same place, 别首")
            << QStringLiteral(
                   "　歸字謡(蔡伸詞名蒼梧謡/)¶\n"
                   "　　歸字謡(單調十六字/四句三平韻)　　　　　　張孝祥¶\n"
                   "歸(韻/)獵獵薰風颭繡旗(韻/)闌敎住(句/)重舉送行杯(韻/)¶\n"
                   "　(按張詞别首第二句/十萬人家兒様啼兒字平聲  蔡)¶\n"
                   "　(伸詞第二句休使圓蟾照客眠休字平聲第四句桂影自/嬋娟桂字仄聲譜内可平可仄據此)¶\n")
            << u"1.2.5颭平兒 1.2.1獵平休 1.4.1重仄桂"_s << 0 << false;
        QTest::newRow("兩結 quoted together; the example's own character by its place")
            << QStringLiteral("　南歌子(唐教坊曲名/)¶\n"
                              "　　南歌子(雙調五十二字前後/段各四句三平韻)　　　毛熙震¶\n"
                              "惹恨還添恨(句/)牽腸即斷腸(韻/)凝情不語一枝芳(韻/)獨¶\n"
                              "映畫簾閒立(讀/)繡衣香(韻/)　暗想為雲女(句/)應憐傅¶\n"
                              "粉郎(韻/)晚來輕步出閨房(韻/)髻慢釵横無力(讀/)縱猖狂(韻/)¶\n"
                              "　(賀鑄詞前後兩結句何處飛來白鷺立移時睡起芭蕉/"
                              "葉上自題詩白字葉字俱仄聲此詞後段起句第四字可平)¶\n")
            << u"1.4.5閒仄白 2.4.5無仄葉 2.1.4雲平雲"_s << 0 << false;
        QTest::newRow("no other poem to compare: the example's tones stand")
            << QStringLiteral("　醉妝詞(唐孫光憲北夢瑣言/)¶\n"
                              "　　醉妝詞(單調二十二字六/句三仄韻三疊韻)　　　(蜀/)王　衍¶\n"
                              "者邊走(韻/)那邊走(疊/)只是尋花栁(韻/)那邊走(疊/)者邊走¶\n"
                              "(疊/)莫厭金杯酒(韻/)¶\n"
                              "　(此調無别首可校/)¶\n")
            << QString() << 0 << true;
        QTest::newRow("有無名氏詞可校 is not 無…可校")
            << QStringLiteral("　醉妝詞(唐孫光憲北夢瑣言/)¶\n"
                              "　　醉妝詞(單調二十二字六/句三仄韻三疊韻)　　　(蜀/)王　衍¶\n"
                              "者邊走(韻/)那邊走(疊/)只是尋花栁(韻/)那邊走(疊/)者邊走¶\n"
                              "(疊/)莫厭金杯酒(韻/)¶\n"
                              "　(此調有無名氏詞可校/)¶\n")
            << QString() << 0 << false;
    }

    void notesFreeCharacters()
    {
        QFETCH(QString, body);
        const CipuBook book = readCipuJuan(juan(QString(), body), 1);
        const BookForm &form = onlyForm(book, 1);
        QVERIFY(formAgrees(form));
        QTEST(freed(form), "free");
        QTEST(int(form.unplaced.size()), "unplaced");
        QTEST(form.strict, "strict");
    }

    // A table of contents' list of other names, read column by column with its origin note's help.
    void contentsOtherNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("憶江南: a lone character of the left column printed in the right")
            << juan(
                   QStringLiteral("　　憶江南三體(又名謝秋孃江江南好江春去也江/望江南  夢  南  夢  口  望)¶\n"
                                  "　　　(梅蓬安陽好塞夢仙遊/望  萊  歸  北)　(步虛聲/)　(壺山好/)¶\n"),
                   QStringLiteral("　憶江南(唐段安節樂府雜録云此曲名謝秋孃又名望江南/"
                                  "白居易詞名江南好劉禹錫詞名春去也)¶\n"
                                  "　　　(温庭筠詞名夢江南又名夢江口皇甫松詞名望江梅又名安陽好又名夢仙遊/"
                                  "又名望蓬萊又名歸塞北又名步虛聲又名壺山好)¶\n"
                                  "　　憶江南(單調二十七字/五句三平韻)　　　　　白居易¶\n"
                                  "江南好(韻/)風景舊曽諳(韻/)日出江花紅勝火(句/)春來江¶\n"
                                  "水緑如藍(韻/)能不憶江南(韻/)¶\n"))
            << QStringList{u"謝秋孃"_s, u"江南好"_s, u"春去也"_s, u"望江南"_s, u"夢江南"_s,
                           u"夢江口"_s, u"望江梅"_s, u"安陽好"_s, u"夢仙遊"_s, u"步虛聲"_s,
                           u"壺山好"_s, u"望蓬萊"_s, u"歸塞北"_s};
        QTest::newRow("卜算子: the right columns of a line first, then the left")
            << juan(QStringLiteral("　　　卜算子七體(又名缺月挂疎桐/遥  睂峰碧)　(百尺樓/)　(楚天/)¶\n"),
                    QStringLiteral(
                        "　卜算子(蘇軾詞有缺月挂疎桐/句名缺月挂踈桐秦湛詞有極目煙中百尺)¶\n"
                        "　　　(樓句名百尺樓僧皎詞有目斷楚天遥句名楚/天遥無名氏詞有蹙破睂峯碧句名睂峯碧)¶\n"
                        "　　卜算子(雙調四十四字前後/段各四句兩仄韻)　　　蘇　軾¶\n"
                        "缺月挂疎桐(句/)漏斷人初靜(韻/)¶\n"))
            << QStringList{u"缺月挂疎桐"_s, u"百尺樓"_s, u"楚天遥"_s, u"睂峰碧"_s};
    }

    void contentsOtherNames()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        const CipuBook book = readCipuJuan(text, 1);
        QCOMPARE(book.contents.size(), 1);
        QCOMPARE(book.contents.first().aliases, names);
        QCOMPARE(book.tunes.first().contents, 0);
    }

    // The self-check names what disagrees: a form count, a 调 the text lacks, a 字数.
    void selfCheckNamesDisagreements()
    {
        const CipuBook book = readCipuJuan(
            juan(QStringLiteral("　　　竹枝三體¶\n　　　閒中好二體¶\n"),
                 QStringLiteral("　竹枝(唐教坊曲名/)¶\n"
                                "　　　竹枝(單調十五字/兩句兩平韻)　　　　　　　皇甫松¶\n"
                                "　芙蓉並蔕(竹/枝)一心連(女兒/韻)花侵槅子(竹/枝)眼應穿(女兒/韻)¶\n"
                                "　　(此首用/平韻)¶\n")),
            1);
        QStringList found;
        for (const Finding &f : selfCheck(book))
            found << kindName(f.kind) + u' ' + f.tune + u' ' + f.reason;
        QCOMPARE(found,
                 (QStringList{u"体数 竹枝 目录 3 体，正文 1 体"_s, u"字数 竹枝 标题 15 字，例词 14 字"_s,
                              u"目录有正文无 閒中好 目录有此调，正文未见"_s}));
    }

    // The committed text: the tables of contents' 调 all found, the totals, what the self-check passes.
    void readsTheWholeBook()
    {
        const QString dir = qEnvironmentVariable("SHIHAI_SOURCE_DIR") + QStringLiteral("/data/yuding-cipu");
        const CipuBook book = readCipuBook(dir);
        int tunes = 0, forms = 0, agree = 0;
        for (const BookTune &t : book.tunes)
            if (!t.appendix) {
                ++tunes;
                forms += int(t.forms.size());
                agree += int(std::count_if(t.forms.begin(), t.forms.end(), formAgrees));
            }
        QVERIFY2(tunes >= 815, qPrintable(QString::number(tunes)));
        QVERIFY2(forms >= 2290, qPrintable(QString::number(forms)));
        QVERIFY2(agree >= forms * 95 / 100, qPrintable(QStringLiteral("%1 of %2").arg(agree).arg(forms)));
        const QList<Finding> findings = selfCheck(book);
        QVERIFY(std::none_of(findings.begin(), findings.end(),
                             [](const Finding &f) { return f.kind == FindingKind::MissingTune; }));

        const auto tune = std::find_if(book.tunes.begin(), book.tunes.end(),
                                       [](const BookTune &t) { return t.name == u"念奴嬌"; });
        QVERIFY(tune != book.tunes.end());
        QCOMPARE(tune->forms.size(), 12);
        QVERIFY(freed(tune->forms.first()).contains(u"1.6.1玉平荷"));
        QStringList aliases;
        for (const Alias &a : tune->aliases)
            aliases << a.name;
        for (const QString &name : {u"大江東去"_s, u"酹江月"_s, u"百字令"_s, u"壺中天慢"_s, u"大江西上曲"_s})
            QVERIFY2(aliases.contains(name), qPrintable(name));
    }

    void aMissingFileIsAnError()
    {
        QTemporaryDir empty;
        QVERIFY_THROWS_EXCEPTION(BookError, readCipuBook(empty.path()));
    }
};

SHIHAI_TEST_MAIN(TestCipuBook)
#include "test_cipubook.moc"
