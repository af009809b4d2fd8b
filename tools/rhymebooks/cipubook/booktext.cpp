// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/booktext.h"

namespace cipubook {

namespace {

// Entities take code points of the supplementary private use area, which the text never uses.
constexpr char32_t kEntityBase = 0xF0000;
constexpr int kEntityCount = 10000;

int digit(char32_t c)
{
    switch (c) {
    case U'一':
        return 1;
    case U'二':
    case U'兩':
    case U'两':
        return 2;
    case U'三':
        return 3;
    case U'四':
        return 4;
    case U'五':
        return 5;
    case U'六':
        return 6;
    case U'七':
        return 7;
    case U'八':
        return 8;
    case U'九':
        return 9;
    default:
        return -1;
    }
}

// Below a hundred: 七, 十, 十二, 二十, 二十五.
int tens(TextView t)
{
    if (t.empty())
        return 0;
    const size_t ten = t.find(U'十');
    if (ten == TextView::npos)
        return t.size() == 1 ? digit(t[0]) : -1;
    int value = 10;
    if (ten == 1) {
        const int d = digit(t[0]);
        if (d < 1)
            return -1;
        value = 10 * d;
    } else if (ten != 0) {
        return -1;
    }
    const TextView rest = t.substr(ten + 1);
    if (rest.empty())
        return value;
    const int unit = rest.size() == 1 ? digit(rest[0]) : -1;
    return unit < 1 ? -1 : value + unit;
}

} // namespace

Text toText(QStringView text)
{
    Text out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'&' && text.mid(i).startsWith(u"&KR")) {
            const qsizetype end = text.indexOf(u';', i);
            bool ok = false;
            const int n = end > i ? text.mid(i + 3, end - i - 3).toInt(&ok) : -1;
            if (ok && n >= 0 && n < kEntityCount) {
                out.push_back(kEntityBase + char32_t(n));
                i = end;
                continue;
            }
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.push_back(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
            continue;
        }
        out.push_back(c.unicode());
    }
    return out;
}

QString toQString(TextView text)
{
    QString out;
    out.reserve(qsizetype(text.size()));
    for (const char32_t c : text) {
        if (c >= kEntityBase && c < kEntityBase + kEntityCount)
            out += QStringLiteral("&KR%1;").arg(int(c - kEntityBase), 4, 10, QLatin1Char('0'));
        else
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}

int numeral(TextView t)
{
    if (t.empty())
        return -1;
    const size_t hundred = t.find(U'百');
    if (hundred == TextView::npos)
        return tens(t);
    int value = 100;
    if (hundred == 1) {
        const int d = digit(t[0]);
        if (d < 1)
            return -1;
        value = 100 * d;
    } else if (hundred != 0) {
        return -1;
    }
    const TextView rest = t.substr(hundred + 1);
    // 一百二 is 102: a lone digit after the hundreds counts units.
    if (rest.size() == 1 && digit(rest[0]) > 0)
        return value + digit(rest[0]);
    const int below = tens(rest);
    return below < 0 ? -1 : value + below;
}

bool isNumeralChar(char32_t c)
{
    return digit(c) > 0 || c == U'十' || c == U'百';
}

bool startsWith(TextView text, TextView prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool contains(TextView text, TextView part)
{
    return text.find(part) != TextView::npos;
}

} // namespace cipubook
