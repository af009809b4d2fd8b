// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/reading/classes.h"
#include "tests/support/booksfixture.h"
#include "tests/support/checknamed.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

QString faultKinds(const PoemCheck &check)
{
    QStringList out;
    for (const Finding &f : check.sortedFindings())
        out << (f.isFault()                       ? QString()
                : f.severity == Severity::Warning ? u"~"_s
                                                  : u"+"_s) +
                   kindName(f.kind) + u"@%1:%2"_s.arg(f.line).arg(f.pos);
    return out.join(u' ');
}

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run gelv(const QStringList &args, const QByteArray &input)
{
    QProcess p;
    p.start(QStringLiteral(SHIHAI_GELV_EXE), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

// Famous poems whose verdicts are known, on the real rhyme books the set-up builds; and the
// command on a small book of the test's own.
class ClassicsTest : public QObject {
    Q_OBJECT

private:
    std::shared_ptr<const RhymeBooks> m_books;

private slots:
    void initTestCase()
    {
        const QString path = qEnvironmentVariable("SHIHAI_SOURCE_DIR") + u"/date/rhymebooks.db"_s;
        if (QFileInfo::exists(path))
            m_books = loadRhymeBooks(path);
    }

    void famousPoems_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("poem");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("findings");
        QTest::newRow("登鹳雀楼") << u"平水韵"_s << u"白日依山尽，黄河入海流。欲穷千里目，更上一层楼。"_s
                                  << u"五言绝句 · 仄起首句不入韵 · 下平十一尤 · 合律"_s << QString();
        QTest::newRow("枫桥夜泊") << u"平水韵"_s
                                  << u"月落乌啼霜满天，江枫渔火对愁眠。姑苏城外寒山寺，夜半钟声到客船。"_s
                                  << u"七言绝句 · 仄起首句入韵 · 下平一先 · 合律"_s << QString();
        QTest::newRow("登高") << u"平水韵"_s
                              << u"风急天高猿啸哀，渚清沙白鸟飞回。无边落木萧萧下，不尽长江滚滚来。"
                                 "万里悲秋常作客，百年多病独登台。艰难苦恨繁霜鬓，潦倒新停浊酒杯。"_s
                              << u"七言律诗 · 仄起首句入韵 · 上平十灰 · 合律"_s << QString();
        // 不胜 is 平 (shēng): a reading the modern standard has lost.
        QTest::newRow("春望") << u"平水韵"_s
                              << u"国破山河在，城春草木深。感时花溅泪，恨别鸟惊心。"
                                 "烽火连三月，家书抵万金。白头搔更短，浑欲不胜簪。"_s
                              << u"五言律诗 · 仄起首句不入韵 · 下平十二侵 · 合律"_s << QString();
        // 泉声咽危石: 平平仄平仄 for 平平平仄仄.
        QTest::newRow("过香积寺") << u"平水韵"_s
                                  << u"不知香积寺，数里入云峰。古木无人径，深山何处钟。"
                                     "泉声咽危石，日色冷青松。薄暮空潭曲，安禅制毒龙。"_s
                                  << u"五言律诗 · 平起首句不入韵 · 上平二冬 · 合律"_s << u"+本句自救@5:4"_s;
        // 野火烧不尽 (仄仄平仄仄) saved by 春风吹又生 (平平平仄平).
        QTest::newRow("赋得古原草送别")
            << u"平水韵"_s
            << u"离离原上草，一岁一枯荣。野火烧不尽，春风吹又生。远芳侵古道，晴翠接荒城。又送王孙去，萋萋满别情。"_s
            << u"五言律诗 · 平起首句不入韵 · 下平八庚 · 合律"_s << u"+对句相救@3:4"_s;
        QTest::newRow("登乐游原") << u"平水韵"_s << u"向晚意不适，驱车登古原。夕阳无限好，只是近黄昏。"_s
                                  << u"五言绝句 · 仄起首句不入韵 · 上平十三元 · 合律"_s
                                  << u"~三仄尾@1:3 +对句相救@1:4"_s;
        // Regular verse with faults the commentaries name.
        QTest::newRow("静夜思") << u"平水韵"_s << u"床前明月光，疑是地上霜。举头望明月，低头思故乡。"_s
                                << u"五言绝句 · 平起首句入韵 · 下平七阳 · 1处不合"_s
                                << u"平仄@2:4 ~失粘@3:2"_s;
        QTest::newRow("滁州西涧") << u"平水韵"_s
                                  << u"独怜幽草涧边生，上有黄鹂深树鸣。春潮带雨晚来急，野渡无人舟自横。"_s
                                  << u"七言绝句 · 平起首句入韵 · 下平八庚 · 合律"_s << u"~失粘@3:2"_s;
        // 影幢幢: 幢 chuáng, 平, rhymes in 江.
        QTest::newRow("闻乐天授江州司马")
            << u"平水韵"_s << u"残灯无焰影幢幢，此夕闻君谪九江。垂死病中惊坐起，暗风吹雨入寒窗。"_s
            << u"七言绝句 · 平起首句入韵 · 上平三江 · 合律"_s << QString();
        QTest::newRow("行宫") << u"平水韵"_s << u"寥落古行宫，宫花寂寞红。白头宫女在，闲坐说玄宗。"_s
                              << u"五言绝句 · 仄起首句入韵 · 上平一东 · 1处不合"_s << u"出韵@4:5"_s;
        QTest::newRow("回乡偶书") << u"平水韵"_s
                                  << u"少小离家老大回，乡音无改鬓毛衰。儿童相见不相识，笑问客从何处来。"_s
                                  << u"七言绝句 · 仄起首句入韵 · 上平十灰 · 1处不合"_s
                                  << u"出韵@2:7 +孤平拗救@4:5"_s;
        QTest::newRow("凤尾香罗") << u"平水韵"_s
                                  << u"凤尾香罗薄几重，碧文圆顶夜深缝。扇裁月魄羞难掩，车走雷声语未通。"
                                     "曾是寂寥金烬暗，断无消息石榴红。斑骓只系垂杨岸，何处西南待好风。"_s
                                  << u"七言律诗 · 仄起首句入韵 · 上平一东 · 1处不合"_s
                                  << u"出韵@2:7 ~孤雁出群@1:7"_s;
        // As 唐诗三百首 prints it: 衆 is read as 众, 閒 as 闲, 兩 as 两 (厌 is 平 too in 平水韵: no 三仄尾).
        QTest::newRow("独坐敬亭山 繁体")
            << u"平水韵"_s << u"衆鳥高飛盡，孤雲獨去閒。相看兩不厭，只有敬亭山。"_s
            << u"五言绝句 · 仄起首句不入韵 · 上平十五删 · 合律"_s << QString();
        QTest::newRow("鹿柴") << u"平水韵"_s << u"空山不见人，但闻人语响。返景入深林，复照青苔上。"_s
                              << u"古体（仄韵） · 上声二十二养"_s << u"~仄韵@0:0"_s;
        // The same quatrain in a modern book: 白 is 阳平 and 一 阴平 there, so 一层楼 ends in three 平.
        QTest::newRow("登鹳雀楼 中华新韵")
            << u"中华新韵"_s << u"白日依山尽，黄河入海流。欲穷千里目，更上一层楼。"_s
            << u"五言绝句 · 仄起首句不入韵 · 七尤 · 1处不合"_s << u"三平尾@4:3"_s;
    }

    void famousPoems()
    {
        if (!m_books)
            QSKIP("date/rhymebooks.db has not been built (the set-up builds it)");
        QFETCH(QString, book);
        QFETCH(QString, poem);
        QFETCH(QString, summary);
        QFETCH(QString, findings);
        const QList<PoemCheck> checks = Checker(m_books).checkText(poem, *bookFromName(book));
        QCOMPARE(checks.size(), 1);
        QCOMPARE(checks.first().summary(), summary);
        QCOMPARE(faultKinds(checks.first()), findings);
    }

    // Ten famous 词 against their 词牌, rhymes in the 词林正韵.
    void famousCi_data()
    {
        QTest::addColumn<QString>("tune");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("findings");
        QTest::newRow("苏轼 水调歌头")
            << u"水调歌头"_s
            << u"明月几时有，把酒问青天。不知天上宫阙，今夕是何年。我欲乘风归去，又恐琼楼玉宇，高处不胜寒。起舞弄清影，何似在人间。转朱阁，低绮户，照无眠。不应有恨，何事长向别时圆。人有悲欢离合，月有阴晴圆缺，此事古难全。但愿人长久，千里共婵娟。"_s
            << u"水调歌头 · 又一体（苏轼） · 第七部 · 合谱"_s << QString();
        // 壁 is in 第十七部: 苏轼 rhymes 17 and 18 together, which the 词林正韵 keeps apart but the
        // poets did often: 通押, a warning.
        QTest::newRow("苏轼 念奴娇")
            << u"念奴娇"_s
            << u"大江东去，浪淘尽，千古风流人物。故垒西边，人道是，三国周郎赤壁。乱石穿空，惊涛拍岸，卷起千堆雪。江山如画，一时多少豪杰。遥想公瑾当年，小乔初嫁了，雄姿英发。羽扇纶巾，谈笑间，樯橹灰飞烟灭。故国神游，多情应笑我，早生华发。人生如梦，一尊还酹江月。"_s
            << u"念奴娇 · 又一体（苏轼） · 第十八部 · 合谱"_s << u"~通押@6:6"_s;
        // Written 驾长车，踏破贺兰山缺, read as the main form; 激 靖 未 where 87–94% of its poems have 平.
        QTest::newRow("岳飞 满江红")
            << u"满江红"_s
            << u"怒发冲冠，凭栏处，潇潇雨歇。抬望眼，仰天长啸，壮怀激烈。三十功名尘与土，八千里路云和月。莫等闲，白了少年头，空悲切。靖康耻，犹未雪。臣子恨，何时灭。驾长车，踏破贺兰山缺。壮志饥餐胡虏肉，笑谈渴饮匈奴血。待从头，收拾旧山河，朝天阙。"_s
            << u"满江红 · 正体（柳永） · 第十八部 · 合谱"_s << u"~平仄@6:3 ~平仄@12:1 ~平仄@13:2"_s;
        // 来 is of 咍 (第五部), 杯 回 徊 of 灰 (第三部): the 词林正韵 splits 十灰, the poets rhymed across.
        QTest::newRow("晏殊 浣溪沙")
            << u"浣溪沙"_s
            << u"一曲新词酒一杯，去年天气旧亭台。夕阳西下几时回。无可奈何花落去，似曾相识燕归来。小园香径独徘徊。"_s
            << u"浣溪沙 · 正体（韩偓） · 第三部 · 合谱"_s << u"~通押@5:7"_s;
        // 曲 is 入声 (第十五部) rhymed among 鱼虞's 上去 (第四部): 入作三声, as the syllable went once the
        // entering tone was lost; a warning.
        QTest::newRow("晏几道 梁州令")
            << u"梁州令"_s
            << u"莫唱阳关曲，泪湿当年金缕。离歌自古最销魂，于今更在魂销处。南桥杨柳多情绪，不系行人住。人情却似飞絮，悠扬便逐春风去。"_s
            << u"梁州令 · 正体（晏几道） · 第四部 · 合谱"_s << u"~通押@1:5"_s;
        QTest::newRow("辛弃疾 西江月")
            << u"西江月"_s
            << u"明月别枝惊鹊，清风半夜鸣蝉。稻花香里说丰年，听取蛙声一片。七八个星天外，两三点雨山前。旧时茅店社林边，路转溪桥忽见。"_s
            << u"西江月 · 正体（柳永） · 第七部 · 合谱"_s << QString();
        QTest::newRow("苏轼 临江仙")
            << u"临江仙"_s
            << u"夜饮东坡醒复醉，归来仿佛三更。家童鼻息已雷鸣。敲门都不应，倚杖听江声。长恨此身非我有，何时忘却营营。夜阑风静縠纹平。小舟从此逝，江海寄余生。"_s
            << u"临江仙 · 又一体（贺铸） · 第十一部 · 合谱"_s << QString();
        QTest::newRow("晏几道 鹧鸪天")
            << u"鹧鸪天"_s
            << u"彩袖殷勤捧玉钟，当年拚却醉颜红。舞低杨柳楼心月，歌尽桃花扇底风。从别后，忆相逢，几回魂梦与君同。今宵剩把银釭照，犹恐相逢是梦中。"_s
            << u"鹧鸪天 · 正体（晏几道） · 第一部 · 合谱"_s << QString();
        QTest::newRow("柳永 蝶恋花")
            << u"蝶恋花"_s
            << u"伫倚危楼风细细，望极春愁，黯黯生天际。草色烟光残照里，无言谁会凭阑意。拟把疏狂图一醉，对酒当歌，强乐还无味。衣带渐宽终不悔，为伊消得人憔悴。"_s
            << u"蝶恋花 · 正体（冯延巳） · 第三部 · 合谱"_s << QString();
        QTest::newRow("辛弃疾 菩萨蛮")
            << u"菩萨蛮"_s
            << u"郁孤台下清江水，中间多少行人泪。西北望长安，可怜无数山。青山遮不住，毕竟东流去。江晚正愁余，山深闻鹧鸪。"_s
            << u"菩萨蛮 · 正体（李白） · 换韵：第1、2句仄韵第三部，第3、4句平韵第七部，第5、6句仄韵第四部，第7、8句平韵第四部 · 合谱"_s
            << QString();
        // 雷 媒 杯 of 灰 (第三部) among 咍 rhymes (第五部); 形 and 再 where 83% and 91% of the poems differ.
        QTest::newRow("辛弃疾 沁园春")
            << u"沁园春"_s
            << u"杯汝来前，老子今朝，点检形骸。甚长年抱渴，咽如焦釜，于今喜睡，气似奔雷。汝说刘伶，古今达者，醉后何妨死便埋。浑如此，叹汝于知己，真少恩哉。更凭歌舞为媒，算合作人间鸩毒猜。况怨无大小，生于所爱，物无美恶，过则为灾。与汝成言，勿留亟退，吾力犹能肆汝杯。杯再拜，道麾之即去，招则须来。"_s
            << u"沁园春 · 正体（苏轼） · 第五部 · 合谱"_s
            << u"~平仄@3:3 ~通押@7:4 ~通押@14:6 ~通押@22:7 ~平仄@23:2"_s;
    }

    void famousCi()
    {
        if (!m_books)
            QSKIP("date/rhymebooks.db has not been built (the set-up builds it)");
        QFETCH(QString, tune);
        QFETCH(QString, text);
        QFETCH(QString, summary);
        QFETCH(QString, findings);
        const QList<PoemCheck> checks = *checkNamed(m_books, text, tune);
        QCOMPARE(checks.size(), 1);
        QCOMPARE(checks.first().summary(), summary);
        QCOMPARE(faultKinds(checks.first()), findings);
        // 自动 finds the same 词牌 from the lines alone.
        QCOMPARE(checkAs(m_books, text, {})->first().form, tune);
    }

    // Famous poems pasted as books and web pages print them get the verdict of their plain text: titles
    // of verse length, a 词牌 as title, author lines, 片 labels, lines without their final stops.
    void pastedAsPrintedReadsAsPlain_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("form");
        QTest::newRow("独坐敬亭山, title and author")
            << u"众鸟高飞尽，孤云独去闲。相看两不厌，只有敬亭山。"_s
            << u"独坐敬亭山\n（唐）李白\n众鸟高飞尽，孤云独去闲\n相看两不厌，只有敬亭山"_s << u"五言绝句"_s;
        QTest::newRow("次北固山下, a 句 a line")
            << u"客路青山外，行舟绿水前。潮平两岸阔，风正一帆悬。海日生残夜，江春入旧年。乡书何处达，归雁洛阳边。"_s
            << u"次北固山下\n客路青山外\n行舟绿水前\n潮平两岸阔\n风正一帆悬\n海日生残夜\n江春入旧年\n乡书何处达\n归雁洛阳边"_s
            << u"五言律诗"_s;
        QTest::newRow("次北固山下, a 句 a line, its poet's bare name under the title")
            << u"客路青山外，行舟绿水前。潮平两岸阔，风正一帆悬。海日生残夜，江春入旧年。乡书何处达，归雁洛阳边。"_s
            << u"次北固山下\n王湾\n客路青山外\n行舟绿水前\n潮平两岸阔\n风正一帆悬\n海日生残夜\n江春入旧年\n乡书何处达\n归雁洛阳边"_s
            << u"五言律诗"_s;
        QTest::newRow("江南春, a 词牌's name over a 七绝")
            << u"千里莺啼绿映红，水村山郭酒旗风。南朝四百八十寺，多少楼台烟雨中。"_s
            << u"江南春\n唐·杜牧\n千里莺啼绿映红，水村山郭酒旗风。\n南朝四百八十寺，多少楼台烟雨中。"_s
            << u"七言绝句"_s;
        QTest::newRow("长相思 under its 词牌")
            << u"汴水流，泗水流，流到瓜洲古渡头。吴山点点愁。思悠悠，恨悠悠，恨到归时方始休。月明人倚楼。"_s
            << u"长相思\n汴水流，泗水流，流到瓜洲古渡头，吴山点点愁\n思悠悠，恨悠悠，恨到归时方始休，月明人倚楼"_s
            << u"长相思"_s;
        QTest::newRow("念奴娇·赤壁怀古, author, 上阕 and 下阕")
            << u"大江东去，浪淘尽，千古风流人物。故垒西边，人道是，三国周郎赤壁。乱石穿空，惊涛拍岸，卷起千堆雪。江山如画，一时多少豪杰。遥想公瑾当年，小乔初嫁了，雄姿英发。羽扇纶巾，谈笑间，樯橹灰飞烟灭。故国神游，多情应笑我，早生华发。人生如梦，一尊还酹江月。"_s
            << u"念奴娇·赤壁怀古\n宋·苏轼\n上阕\n大江东去，浪淘尽，千古风流人物\n故垒西边，人道是，三国周郎赤壁\n乱石穿空，惊涛拍岸，卷起千堆雪\n江山如画，一时多少豪杰\n下阕\n遥想公瑾当年，小乔初嫁了，雄姿英发\n羽扇纶巾，谈笑间，樯橹灰飞烟灭\n故国神游，多情应笑我，早生华发\n人生如梦，一尊还酹江月"_s
            << u"念奴娇"_s;
        QTest::newRow("临江仙, a 句 a line")
            << u"夜饮东坡醒复醉，归来仿佛三更。家童鼻息已雷鸣。敲门都不应，倚杖听江声。长恨此身非我有，何时忘却营营。夜阑风静縠纹平。小舟从此逝，江海寄余生。"_s
            << u"夜饮东坡醒复醉\n归来仿佛三更\n家童鼻息已雷鸣\n敲门都不应\n倚杖听江声\n长恨此身非我有\n何时忘却营营\n夜阑风静縠纹平\n小舟从此逝\n江海寄余生"_s
            << u"临江仙"_s;
    }

    void pastedAsPrintedReadsAsPlain()
    {
        if (!m_books)
            QSKIP("date/rhymebooks.db has not been built (the set-up builds it)");
        QFETCH(QString, plain);
        QFETCH(QString, pasted);
        QFETCH(QString, form);
        const QList<PoemCheck> expected = *checkAs(m_books, plain, {}), got = *checkAs(m_books, pasted, {});
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.first().form, form);
        QCOMPARE(got.first().summary(), expected.first().summary());
        QCOMPARE(faultKinds(got.first()), faultKinds(expected.first()));
    }

    void theTuneSelectorOnTheRealPatterns()
    {
        if (!m_books)
            QSKIP("date/rhymebooks.db has not been built (the set-up builds it)");
        const Cipu &cipu = m_books->cipu();
        QCOMPARE(cipu.tunes().first().name, u"浣溪沙"_s);
        QCOMPARE(cipu.find(u"大江东去"_s)->name, u"念奴娇"_s);
        QCOMPARE(cipu.find(u"凤栖梧"_s)->name, u"蝶恋花"_s);
        QStringList names;
        for (const CiTune *tune : cipu.search(u"江"_s))
            names << tune->name;
        // Names that begin with the text, then those that hold it, the most written first in each (the
        // book's 调 no poem follows among the first).
        QCOMPARE(names.mid(0, 2), (QStringList{u"江城子"_s, u"江城梅花引"_s}));
        const qsizetype holders =
            std::find_if(names.begin(), names.end(), [](const QString &n) { return !n.startsWith(u'江'); }) -
            names.begin();
        QVERIFY(holders > 2 && names.mid(holders, 4).contains(u"满江红"_s) &&
                names.mid(holders, 4).contains(u"临江仙"_s));
        QVERIFY(std::none_of(names.begin() + holders, names.end(),
                             [](const QString &n) { return n.startsWith(u'江'); }));
        // The handbook's names the corpus attests, however the corpus writes them.
        for (const auto &[name, tune] :
             {std::pair(u"雨霖铃"_s, u"雨霖铃"_s), std::pair(u"一翦梅"_s, u"一剪梅"_s),
              std::pair(u"苍梧谣"_s, u"归字谣"_s), std::pair(u"十六字令"_s, u"归字谣"_s)}) {
            QVERIFY2(cipu.find(name), qPrintable(name));
            QCOMPARE(cipu.find(name)->name, tune);
        }
        // The book decides a form of fewer than ten poems, the corpus's evidence beside it.
        QCOMPARE(cipu.find(u"十六字令"_s)->forms.first().evidence(), u"据谱（例词及注） · 词作 6 首，3 家"_s);
        const CiTune *huanxisha = cipu.find(u"浣溪沙"_s);
        QCOMPARE(huanxisha->forms.first().structure(), u"7,7,7|7,7,7"_s);
        QCOMPARE(huanxisha->forms.first().lines.first().marks(), u"◎●○○●●○"_s);
    }

    // A character as written is looked up as the standard one it stands for, which takes the readings
    // of the character verse means by it; where the classics rhyme a character otherwise than the
    // 廣韻 and the modern reading say, the books follow the classics.
    void charactersAsWrittenAndAsTheClassicsRhymeThem_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("groups"); // in 平水韵
        QTest::newRow("衆 as 众") << u"衆"_s << u"去声一送"_s;
        QTest::newRow("樣 as 样") << u"樣"_s << u"去声二十三漾"_s;
        QTest::newRow("样 is 樣, 去 only") << u"样"_s << u"去声二十三漾"_s;
        QTest::newRow("栁, an old form of 柳") << u"栁"_s << u"上声二十五有"_s;
        QTest::newRow("玊, an old form of 玉") << u"玊"_s << u"入声二沃"_s;
        QTest::newRow("乾 stays 乾, not 干") << u"乾"_s << u"上平十四寒 下平一先"_s;
        // 徵 of 宫商角徵羽 and 徵召; a converted text writes it for 征 too (孤蓬萬里徵).
        QTest::newRow("徵 also for 征") << u"徵"_s << u"上声四纸 下平八庚 下平十蒸"_s;
        QTest::newRow("筒 平 in 一东") << u"筒"_s << u"上平一东 去声一送"_s;
        QTest::newRow("娆 of 妖娆, 平") << u"娆"_s << u"下平二萧"_s;
        QTest::newRow("嬈 as 娆") << u"嬈"_s << u"下平二萧"_s;
    }

    void charactersAsWrittenAndAsTheClassicsRhymeThem()
    {
        if (!m_books)
            QSKIP("date/rhymebooks.db has not been built (the set-up builds it)");
        QFETCH(QString, written);
        QFETCH(QString, groups);
        QStringList found;
        for (const RhymeBooks::Membership &m : m_books->memberships(Book::Pingshui, written.toUcs4().first()))
            found << m_books->groups(Book::Pingshui).at(m.group).name;
        found.sort();
        QCOMPARE(found.join(u' '), groups);
    }

    void polyphonesOfTheModernBooksFollowTheirWords()
    {
        if (!m_books)
            QSKIP("date/rhymebooks.db has not been built (the set-up builds it)");
        const Line line = readPoems(u"长安一片月"_s).first().lines.first();
        QCOMPARE(classAt(*m_books, line, 0, Book::Xinyun), ToneClass::Ping);
        QCOMPARE(classAt(*m_books, line, 0, Book::Pingshui), ToneClass::Ping); // 长安: cháng, 平
        const Line grown = readPoems(u"儿童长大了"_s).first().lines.first();
        QCOMPARE(classAt(*m_books, grown, 2, Book::Tongyun), ToneClass::Ze);
        // 一 is 入 (仄) in the classical books and 阴平 (平) in the modern ones.
        QCOMPARE(classAt(*m_books, line, 2, Book::Pingshui), ToneClass::Ze);
        QCOMPARE(classAt(*m_books, line, 2, Book::Xinyun), ToneClass::Ping);
        // A word as written is read as in standard characters (長安 as 长安); 沧浪 is 平 in verse.
        QCOMPARE(classAt(*m_books, readPoems(u"長安一片月"_s).first().lines.first(), 0, Book::Pingshui),
                 ToneClass::Ping);
        QCOMPARE(classAt(*m_books, readPoems(u"沧浪之水清"_s).first().lines.first(), 1, Book::Pingshui),
                 ToneClass::Ping);
    }

    void theCommandPrintsChecksAndTellsByItsStatus()
    {
        QTemporaryDir dir;
        BooksFixture books(dir.filePath(u"rb.db"_s));
        books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东风红天"_s)
            .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木"_s);
        const QStringList db = {u"--db"_s, books.path()};
        const QByteArray good = u"木木天天木，天天木木东。天天天木木，木木木天风。"_s.toUtf8();
        const QByteArray bad = u"木木天天木，天天木木东。天天天天木，木木木天风。"_s.toUtf8();

        Run run = gelv(db, good);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains(u"●●○○●"_s), qPrintable(run.out));
        QVERIFY(run.out.contains(u"【平水韵】五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s));

        run = gelv(db, bad);
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.contains(u"第3句第4字「天」：此处应仄，用了平声"_s));

        // A text that stops short is checked as far as it goes and says what it lacks.
        run = gelv(db, u"木木天天木，天天木木东。"_s.toUtf8());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(u"✗ 尚缺2句\n"_s), qPrintable(run.out));
        run = gelv(db, u"木木天天木，天天木木东。天天天"_s.toUtf8());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(u"✗ 第3句尚缺2字，其后尚缺1句\n"_s), qPrintable(run.out));

        // JSON: one object per poem, on its own line.
        run = gelv(db + QStringList{u"--json"_s}, good + "\n\n" + bad);
        QCOMPARE(run.status, 1);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.first().startsWith(
            u"{\"form\":\"五言绝句\",\"variant\":\"仄起首句不入韵\",\"book\":\"平水韵\""_s));
        const QJsonObject second = QJsonDocument::fromJson(lines.at(1).toUtf8()).object();
        QCOMPARE(second.value(u"ok"_s).toBool(), false);
        QCOMPARE(second.value(u"rhyme"_s).toString(), u"上平一东"_s);
        const QJsonObject line3 = second.value(u"lines"_s).toArray().at(2).toObject();
        QCOMPARE(line3.value(u"tones"_s).toString(), u"平平平平仄"_s);
        QCOMPARE(line3.value(u"pattern"_s).toString(), u"中平中仄仄"_s);
        const QJsonObject finding = second.value(u"findings"_s).toArray().at(0).toObject();
        QCOMPARE(finding.value(u"line"_s).toInt(), 3);
        QCOMPARE(finding.value(u"pos"_s).toInt(), 4);
        QCOMPARE(finding.value(u"char"_s).toString(), u"天"_s);
        QCOMPARE(finding.value(u"kind"_s).toString(), u"平仄"_s);
        QCOMPARE(finding.value(u"fault"_s).toBool(), true);

        // A chosen form and book.
        run = gelv(db + QStringList{u"--form"_s, u"七绝"_s}, good);
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.contains(u"字数"_s) || run.out.contains(u"每句"_s));

        // A 词 against its 词牌, by name or alias, and one recognised by its lines.
        books.add(u"词林正韵"_s, u"第一部"_s, u"平"_s, u"东风红天"_s)
            .add(u"词林正韵"_s, u"第十五部"_s, u"入"_s, u"木"_s)
            .tune(u"测试调"_s, 20, {u"别调"_s})
            .ciForm(u"测试调"_s, 1, 20, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"中仄平平/1"_s}, 2);
        const QByteArray ci = u"天天木木，木木天东。\n\n木木天风。"_s.toUtf8();
        run = gelv(db + QStringList{u"--form"_s, u"别调"_s}, ci);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains(u"【词林正韵】测试调 · 正体 · 第一部 · 合谱"_s), qPrintable(run.out));
        QVERIFY(run.out.contains(u"●●○○ 韵\n"_s));
        run = gelv(db + QStringList{u"--json"_s}, ci);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(u"{\"form\":\"测试调\",\"variant\":\"正体\",\"book\":\"词林正韵\""_s),
                 qPrintable(run.out));
        run = gelv(db + QStringList{u"--form"_s, u"测试调"_s, u"--book"_s, u"平水韵"_s},
                   u"天天木木，天木天东。木木天风。"_s.toUtf8());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(u"第2句第1字「天」：此处应仄（谱中95%用仄），用了平声"_s),
                 qPrintable(run.out));
        QVERIFY(run.out.contains(u"【平水韵】测试调"_s));
        run = gelv(db + QStringList{u"--form"_s, u"测试"_s}, ci);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(u"不认识的体裁或词牌「测试」"_s) && run.err.contains(u"测试调"_s),
                 qPrintable(run.err));
        // A form the 词牌 lacks is no form at all, not the one that fits best.
        run = gelv(db + QStringList{u"--form"_s, u"别调:40"_s}, ci);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, u"shihai-gelv: 没有「别调:40」这一体：测试调共 1 体（测试调:1 为正体）\n"_s);
        QVERIFY(run.out.isEmpty());

        // Bad input: nothing to check, not UTF-8, no reference file, an unknown book.
        for (const auto &[args, input, message] :
             {std::tuple(db, QByteArray("  \n"), u"没有诗句"_s),
              std::tuple(db, QByteArray("\xff\xfe\xfd"), u"UTF-8"_s),
              std::tuple(QStringList{u"--db"_s, dir.filePath(u"none.db"_s)}, good, u"找不到韵书文件"_s),
              std::tuple(db + QStringList{u"--book"_s, u"广韵"_s}, good, u"不认识的韵书"_s)}) {
            run = gelv(args, input);
            QCOMPARE(run.status, 2);
            QVERIFY2(run.err.contains(message), qPrintable(run.err));
            QVERIFY(run.out.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(ClassicsTest)
#include "test_classics.moc"
