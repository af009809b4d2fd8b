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
        // 沈 written for 沉, to sink
        {QStringLiteral("沈鱼"), QStringLiteral("chén yú")},
        {QStringLiteral("浮沈"), QStringLiteral("fú chén")},
        {QStringLiteral("沈沈"), QStringLiteral("chén chén")},
        {QStringLiteral("消沈"), QStringLiteral("xiāo chén")},
        {QStringLiteral("销沈"), QStringLiteral("xiāo chén")},
        {QStringLiteral("沈吟"), QStringLiteral("chén yín")},
        {QStringLiteral("陆沈"), QStringLiteral("lù chén")},
    };
    return words.value(word);
}

bool readBothWaysInVerse(const QString &word)
{
    // 称重: chèn, to suit (称重阳), as often as chēng, to weigh.
    static const QSet<QString> words = {QStringLiteral("不应"), QStringLiteral("称重")};
    return words.contains(word);
}

} // namespace prosody
