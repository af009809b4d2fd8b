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
        {QStringLiteral("更深"), QStringLiteral("gēng shēn")},   // the night watch is deep
        {QStringLiteral("空房"), QStringLiteral("kōng fáng")},   // an empty room
        {QStringLiteral("空余"), QStringLiteral("kōng yú")},     // only left, in vain
        {QStringLiteral("劳旋"), QStringLiteral("lào xuán")},    // to greet the army's return
        {QStringLiteral("两重"), QStringLiteral("liǎng chóng")}, // two layers
        {QStringLiteral("难禁"), QStringLiteral("nán jīn")},     // hard to bear
        {QStringLiteral("不禁"), QStringLiteral("bù jīn")},      // cannot bear
        {QStringLiteral("相觑"), QStringLiteral("xiāng qù")},    // look at each other
        {QStringLiteral("沧浪"), QStringLiteral("cāng láng")},   // the river 沧浪, 平 at every rhyme
        {QStringLiteral("厌厌"), QStringLiteral("yān yān")},     // weary, languid (恹恹)
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
    static const QSet<QString> words = {QStringLiteral("不应"), QStringLiteral("称重"),
                                        QStringLiteral("钿车"), QStringLiteral("宝钿"),
                                        QStringLiteral("相如"), QStringLiteral("空相")};
    return words.contains(word);
}

} // namespace prosody
