// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/reading/versewords.h"

#include <QHash>
#include <QSet>

namespace prosody {

QString verseReading(const QString &word)
{
    static const QHash<QString, QString> words = {
        {QStringLiteral("多难"), QStringLiteral("duō nàn")},     // many hardships
        {QStringLiteral("百重"), QStringLiteral("bǎi chóng")},   // a hundred layers
        {QStringLiteral("分野"), QStringLiteral("fèn yě")},      // the fields of the stars
        {QStringLiteral("空房"), QStringLiteral("kōng fáng")},   // an empty room
        {QStringLiteral("空余"), QStringLiteral("kōng yú")},     // only left, in vain
        {QStringLiteral("劳旋"), QStringLiteral("lào xuán")},    // to greet the army's return
        {QStringLiteral("两重"), QStringLiteral("liǎng chóng")}, // two layers
        {QStringLiteral("难禁"), QStringLiteral("nán jīn")},     // hard to bear
        {QStringLiteral("不禁"), QStringLiteral("bù jīn")},      // cannot bear
        {QStringLiteral("相觑"), QStringLiteral("xiāng qù")},    // look at each other
        {QStringLiteral("沧浪"), QStringLiteral("cāng láng")},   // the river 沧浪, 平 at every rhyme
        {QStringLiteral("厌厌"), QStringLiteral("yān yān")},     // weary, languid (恹恹)
        {QStringLiteral("纵横"), QStringLiteral("zōng héng")},   // 子容切, 平 in verse
        {QStringLiteral("长相"), QStringLiteral("cháng xiāng")}, // 长相忆, 长相见: long, each other
        {QStringLiteral("金铺"), QStringLiteral("jīn pū")},      // the door's ring-plate, 普胡切
        {QStringLiteral("教长"), QStringLiteral("jiāo cháng")},  // 不教长: let it last long
        {QStringLiteral("重行"), QStringLiteral("chóng xíng")},  // to go again (行行重行行)
        {QStringLiteral("藏香"), QStringLiteral("cáng xiāng")},  // to hide a fragrance
        // 幢幢, flickering (影幢幢), is chuáng: 平 in 江
        {QStringLiteral("幢幢"), QStringLiteral("chuáng chuáng")},
        // 观, a sight or a tower, is 去 (古玩切)
        {QStringLiteral("奇观"), QStringLiteral("qí guàn")},
        {QStringLiteral("壮观"), QStringLiteral("zhuàng guàn")},
        {QStringLiteral("大观"), QStringLiteral("dà guàn")},
        {QStringLiteral("改观"), QStringLiteral("gǎi guàn")},
        // 相 before a verb is xiāng, each other (遥相忆, 苦相仍, 多相背)
        {QStringLiteral("遥相"), QStringLiteral("yáo xiāng")},
        {QStringLiteral("苦相"), QStringLiteral("kǔ xiāng")},
        {QStringLiteral("多相"), QStringLiteral("duō xiāng")},
        // 重, again or layers, is chóng (十二重, 重到, 重听)
        {QStringLiteral("二重"), QStringLiteral("èr chóng")},
        {QStringLiteral("重到"), QStringLiteral("chóng dào")},
        {QStringLiteral("重听"), QStringLiteral("chóng tīng")},
        {QStringLiteral("骠骑"), QStringLiteral("piào jì")},   // 骑, a rider, is 去
        {QStringLiteral("横吹"), QStringLiteral("héng chuì")}, // the 横吹 music, 吹 去
        // 钿 is tián, 平, in the ornaments of verse
        {QStringLiteral("花钿"), QStringLiteral("huā tián")},
        {QStringLiteral("金钿"), QStringLiteral("jīn tián")},
        {QStringLiteral("翠钿"), QStringLiteral("cuì tián")},
    };
    return words.value(word);
}

bool readBothWaysInVerse(const QString &word)
{
    // 称重: chèn, to suit (称重阳), as often as chēng, to weigh. 相如: the name is xiāng in verse as
    // often as xiàng (吴文英's 顿老相如 at a place all poets fill 平). 空相: kōng xiàng, the Buddhist
    // term, or 空 then 相 xiāng, each other (空相觑). 钿车 and 宝钿: diàn, inlaid (史达祖's
    // 钿车不到杜陵路 at a place all poets fill 仄), as often as tián.
    // 不为, 应为, 何为 and the like: 为 wéi, to be, to do, or wèi, for; the word does not say which.
    // 雅称 chèn, to suit; 不分 fèn (不忿); 重数 chóng, how many layers; 那堪 nuó or nǎ. 天将, 镇长, 苦难,
    // 无间 and 中意 are mostly two words in verse (天|将, 镇|长闲, 苦|难双, 有无|间, 歌|中意), and so are
    // 水分, 初传, 里长, 外长 and 下调 (楚|水分, 初|传来, 万|里长, 峡|外长, 下|调哀). 更深 and 更新 are
    // gēng, the night watch, to renew, or gèng, more (水更深); 无分 fēn or fèn, one's lot; 新兴 and
    // 年长 either way; 老相 each other or a minister; 别骑 qí or jì.
    static const QSet<QString> words = {
        QStringLiteral("不应"), QStringLiteral("称重"), QStringLiteral("钿车"), QStringLiteral("宝钿"),
        QStringLiteral("相如"), QStringLiteral("空相"), QStringLiteral("不为"), QStringLiteral("应为"),
        QStringLiteral("何为"), QStringLiteral("肯为"), QStringLiteral("更为"), QStringLiteral("再为"),
        QStringLiteral("且为"), QStringLiteral("只为"), QStringLiteral("雅称"), QStringLiteral("不分"),
        QStringLiteral("重数"), QStringLiteral("那堪"), QStringLiteral("天将"), QStringLiteral("镇长"),
        QStringLiteral("苦难"), QStringLiteral("无间"), QStringLiteral("中意"), QStringLiteral("更深"),
        QStringLiteral("更新"), QStringLiteral("无分"), QStringLiteral("水分"), QStringLiteral("老相"),
        QStringLiteral("别骑"), QStringLiteral("初传"), QStringLiteral("里长"), QStringLiteral("外长"),
        QStringLiteral("年长"), QStringLiteral("下调"), QStringLiteral("新兴"), QStringLiteral("自为"),
        QStringLiteral("所为"), QStringLiteral("若为")};
    return words.contains(word);
}

} // namespace prosody
