// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dictionary/pinyin.h"

#include <QHash>

namespace builddb {

namespace {

constexpr char16_t kUmlautU = u'\u00FC';
constexpr char16_t kCircumflexE = u'\u00EA';

int toneOfMark(char16_t c)
{
    switch (c) {
    case u'\u0304': // macron
        return 1;
    case u'\u0301': // acute
        return 2;
    case u'\u030C': // caron
        return 3;
    case u'\u0300': // grave
        return 4;
    default:
        return 0;
    }
}

bool isPinyinLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || c == kUmlautU || c == kCircumflexE;
}

// Finals reached through a spelling rule rather than written out after an initial.
const QHash<QString, QString> &wholeSyllables()
{
    static const QHash<QString, QString> table = {
        // Zero-initial spellings.
        {QStringLiteral("yi"), QStringLiteral("i")},
        {QStringLiteral("ya"), QStringLiteral("ia")},
        {QStringLiteral("ye"), QStringLiteral("ie")},
        {QStringLiteral("yao"), QStringLiteral("iao")},
        {QStringLiteral("yan"), QStringLiteral("ian")},
        {QStringLiteral("yin"), QStringLiteral("in")},
        {QStringLiteral("yang"), QStringLiteral("iang")},
        {QStringLiteral("ying"), QStringLiteral("ing")},
        {QStringLiteral("you"), QStringLiteral("ou")},
        {QStringLiteral("yong"), QStringLiteral("ong")},
        {QStringLiteral("yo"), QStringLiteral("o")},
        {QStringLiteral("yu"), QStringLiteral("ü")},
        {QStringLiteral("yue"), QStringLiteral("üe")},
        {QStringLiteral("yuan"), QStringLiteral("ian")},
        {QStringLiteral("yun"), QStringLiteral("in")},
        {QStringLiteral("wu"), QStringLiteral("u")},
        {QStringLiteral("wa"), QStringLiteral("ua")},
        {QStringLiteral("wo"), QStringLiteral("uo")},
        {QStringLiteral("wai"), QStringLiteral("uai")},
        {QStringLiteral("wan"), QStringLiteral("uan")},
        {QStringLiteral("wang"), QStringLiteral("uang")},
        {QStringLiteral("wei"), QStringLiteral("ui")},
        {QStringLiteral("wen"), QStringLiteral("un")},
        {QStringLiteral("weng"), QStringLiteral("eng")},
        // Syllables that rhyme with another final than their spelling suggests.
        {QStringLiteral("er"), QStringLiteral("i")},
        {QStringLiteral("ê"), QStringLiteral("ie")},
        {QStringLiteral("lo"), QStringLiteral("o")},
    };
    return table;
}

// Longest first, so that "zh" wins over "z".
const QStringList &initials()
{
    static const QStringList list = {
        QStringLiteral("zh"), QStringLiteral("ch"), QStringLiteral("sh"), QStringLiteral("b"),
        QStringLiteral("p"),  QStringLiteral("m"),  QStringLiteral("f"),  QStringLiteral("d"),
        QStringLiteral("t"),  QStringLiteral("n"),  QStringLiteral("l"),  QStringLiteral("g"),
        QStringLiteral("k"),  QStringLiteral("h"),  QStringLiteral("j"),  QStringLiteral("q"),
        QStringLiteral("x"),  QStringLiteral("r"),  QStringLiteral("z"),  QStringLiteral("c"),
        QStringLiteral("s"),
    };
    return list;
}

} // namespace

std::optional<Reading> parseReading(QStringView text)
{
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D);
    QString bare;
    bare.reserve(decomposed.size());
    int tone = 0;
    for (QChar c : decomposed) {
        if (const int t = toneOfMark(c.unicode())) {
            if (tone != 0)
                return std::nullopt;
            tone = t;
        } else {
            bare.append(c);
        }
    }
    // Recomposing turns u + diaeresis back into ü and e + circumflex into ê.
    Reading reading{bare.normalized(QString::NormalizationForm_C), tone};
    if (reading.syllable.isEmpty())
        return std::nullopt;
    for (QChar c : reading.syllable)
        if (!isPinyinLetter(c))
            return std::nullopt;
    return reading;
}

QString Reading::marked() const
{
    static const char16_t marks[] = {0, u'\u0304', u'\u0301', u'\u030C', u'\u0300'};
    if (tone < 1 || tone > 4)
        return syllable;
    // The mark goes on a or e, on the o of ou, else on the last vowel.
    qsizetype at = syllable.indexOf(u'a');
    if (at < 0)
        at = syllable.indexOf(u'e');
    if (at < 0)
        at = syllable.indexOf(kCircumflexE);
    if (at < 0)
        at = syllable.indexOf(QStringLiteral("ou"));
    for (qsizetype i = syllable.size() - 1; at < 0 && i >= 0; --i)
        if (hasVowel(QStringView(syllable).sliced(i, 1)))
            at = i;
    if (at < 0)
        return syllable;
    QString out = syllable.normalized(QString::NormalizationForm_D);
    // Decomposing ü and ê adds a combining mark after the letter: the tone goes after it.
    qsizetype pos = 0;
    for (qsizetype i = 0; i <= at; ++i) {
        ++pos;
        while (pos < out.size() && out.at(pos).isMark())
            ++pos;
    }
    out.insert(pos, QChar(marks[tone]));
    return out.normalized(QString::NormalizationForm_C);
}

bool hasVowel(QStringView syllable)
{
    for (QChar c : syllable)
        if (c == u'a' || c == u'e' || c == u'i' || c == u'o' || c == u'u' || c == kUmlautU ||
            c == kCircumflexE)
            return true;
    return false;
}

const QStringList &finals()
{
    static const QStringList list = {
        QStringLiteral("a"),    QStringLiteral("ai"),   QStringLiteral("ao"),  QStringLiteral("an"),
        QStringLiteral("ang"),  QStringLiteral("e"),    QStringLiteral("ei"),  QStringLiteral("en"),
        QStringLiteral("eng"),  QStringLiteral("i"),    QStringLiteral("ia"),  QStringLiteral("iao"),
        QStringLiteral("ian"),  QStringLiteral("iang"), QStringLiteral("ie"),  QStringLiteral("in"),
        QStringLiteral("ing"),  QStringLiteral("o"),    QStringLiteral("ou"),  QStringLiteral("ong"),
        QStringLiteral("u"),    QStringLiteral("ua"),   QStringLiteral("uai"), QStringLiteral("uan"),
        QStringLiteral("uang"), QStringLiteral("ui"),   QStringLiteral("un"),  QStringLiteral("uo"),
        QStringLiteral("ü"),    QStringLiteral("üe"),
    };
    return list;
}

QString finalOf(const QString &syllable)
{
    if (const auto it = wholeSyllables().constFind(syllable); it != wholeSyllables().constEnd())
        return *it;
    if (syllable.startsWith(u'y') || syllable.startsWith(u'w'))
        return {};

    QString initial;
    for (const QString &candidate : initials()) {
        if (syllable.startsWith(candidate)) {
            initial = candidate;
            break;
        }
    }
    QString rest = syllable.mid(initial.size());

    // After j, q and x pinyin writes ü as u.
    const bool palatal = initial == u"j" || initial == u"q" || initial == u"x";
    if (palatal) {
        if (rest == u"u")
            rest = QStringLiteral("ü");
        else if (rest == u"ue")
            rest = QStringLiteral("üe");
        else if (rest == u"uan")
            rest = QStringLiteral("ian");
        else if (rest == u"un")
            rest = QStringLiteral("in");
    }
    if (rest == u"iu")
        rest = QStringLiteral("ou");
    else if (rest == u"iong")
        rest = QStringLiteral("ong");

    return finals().contains(rest) ? rest : QString();
}

bool isRetroflex(QStringView syllable)
{
    return syllable.startsWith(u"zh") || syllable.startsWith(u"ch") || syllable.startsWith(u"sh") ||
           syllable.startsWith(u'r');
}

QString toneName(int tone)
{
    switch (tone) {
    case 1:
        return QStringLiteral("阴平");
    case 2:
        return QStringLiteral("阳平");
    case 3:
        return QStringLiteral("上声");
    case 4:
        return QStringLiteral("去声");
    default:
        return {};
    }
}

} // namespace builddb
