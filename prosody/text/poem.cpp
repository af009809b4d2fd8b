// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/text/poem.h"

namespace prosody {

bool isLineBreak(char32_t c)
{
    switch (c) {
    case u'，':
    case u'。':
    case u'！':
    case u'？':
    case u'；':
    case u'：':
    case u'、':
    case u',':
    case u'.':
    case u'!':
    case u'?':
    case u';':
    case u':':
    case u' ':
    case u'\t':
    case u'\u3000':
        return true;
    default:
        return false;
    }
}

bool isVerseChar(char32_t c)
{
    return QChar::script(c) == QChar::Script_Han && QChar::isLetter(c);
}

bool isLostChar(char32_t c)
{
    return c == U'□' || c == U'〓';
}

QString Line::text() const
{
    return QString::fromUcs4(chars.constData(), chars.size());
}

QString Line::text(qsizetype from, qsizetype count) const
{
    return QString::fromUcs4(chars.constData() + from, count);
}

} // namespace prosody
