#include "prosody/reading/versewords.h"

#include <QHash>
#include <QSet>

namespace prosody {

QString verseReading(const QString &word)
{
    static const QHash<QString, QString> words = {
        {QStringLiteral("多难"), QStringLiteral("duō nàn")},   // many hardships
        {QStringLiteral("百重"), QStringLiteral("bǎi chóng")}, // a hundred layers
        {QStringLiteral("分野"), QStringLiteral("fèn yě")},    // the fields of the stars
        {QStringLiteral("更深"), QStringLiteral("gēng shēn")}, // the night watch is deep
        {QStringLiteral("空房"), QStringLiteral("kōng fáng")}, // an empty room
        {QStringLiteral("空余"), QStringLiteral("kōng yú")},   // only left, in vain
        {QStringLiteral("劳旋"), QStringLiteral("lào xuán")},  // to greet the army's return
    };
    return words.value(word);
}

bool readBothWaysInVerse(const QString &word)
{
    static const QSet<QString> words = {QStringLiteral("不应")};
    return words.contains(word);
}

} // namespace prosody
