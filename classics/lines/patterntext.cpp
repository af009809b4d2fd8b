// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/lines/patterntext.h"

#include "db/linetonesschema.h"
#include "prosody/text/reader.h"

#include <QRegularExpression>

namespace classics {

ParsedPattern parsePattern(const QString &text)
{
    ParsedPattern out;
    for (const char32_t c : text.toUcs4()) {
        if (QChar::isSpace(c))
            continue;
        if (c == U'平' || c == U'○')
            out.pattern.append(prosody::ToneClass::Ping);
        else if (c == U'仄' || c == U'●')
            out.pattern.append(prosody::ToneClass::Ze);
        else if (c == U'中' || c == U'◎')
            out.pattern.append(prosody::ToneClass::Both);
        else
            return {{},
                    QStringLiteral("平仄格式中的「%1」不认识：每个字位写 平、仄 或 中（也可写 ○ ● ◎）")
                        .arg(QString::fromUcs4(&c, 1))};
    }
    if (out.pattern.size() > linetonesschema::maxLength)
        return {{}, QStringLiteral("平仄格式最多 %1 个字位").arg(linetonesschema::maxLength)};
    return out;
}

ParsedPlaces parsePlaces(const QString &text)
{
    ParsedPlaces out;
    static const QRegularExpression separators(QStringLiteral("[\\s,，、;；]+"));
    static const QRegularExpression one(QStringLiteral("^(\\d+)[=＝:：](.+)$"));
    for (const QString &part : text.split(separators, Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = one.match(part);
        const QList<uint> chars = m.hasMatch() ? m.captured(2).toUcs4() : QList<uint>();
        const int place = m.captured(1).toInt();
        if (!m.hasMatch() || chars.size() != 1 || !prosody::isVerseChar(chars.first()))
            return {{}, QStringLiteral("「%1」看不懂：字位写成 位=字，如 5=月（第五字为月）").arg(part)};
        if (place < 1 || place > linetonesschema::maxLength)
            return {
                {},
                QStringLiteral("「%1」的字位应在 1 到 %2 之间").arg(part).arg(linetonesschema::maxLength)};
        const CharAt at{place - 1, char32_t(chars.first())};
        for (const CharAt &before : out.at)
            if (before.place == at.place && before.hanzi != at.hanzi)
                return {{}, QStringLiteral("第 %1 字不能既是一个字又是另一个字").arg(place)};
        if (!out.at.contains(at))
            out.at.append(at);
    }
    return out;
}

QString patternText(const QList<prosody::ToneClass> &pattern)
{
    QString out;
    for (const prosody::ToneClass c : pattern)
        out += c == prosody::ToneClass::Ping ? u'平' : c == prosody::ToneClass::Ze ? u'仄' : u'中';
    return out;
}

} // namespace classics
