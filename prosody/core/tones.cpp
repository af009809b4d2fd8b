// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/core/tones.h"

namespace prosody {

QString bookName(Book book)
{
    switch (book) {
    case Book::Pingshui:
        return QStringLiteral("平水韵");
    case Book::Cilin:
        return QStringLiteral("词林正韵");
    case Book::Xinyun:
        return QStringLiteral("中华新韵");
    case Book::Tongyun:
        break;
    }
    return QStringLiteral("中华通韵");
}

std::optional<Book> bookFromName(const QString &name)
{
    for (Book b : allBooks)
        if (bookName(b) == name)
            return b;
    return std::nullopt;
}

QChar className(ToneClass c)
{
    switch (c) {
    case ToneClass::Ping:
        return u'平';
    case ToneClass::Ze:
        return u'仄';
    case ToneClass::Both:
        return u'中';
    case ToneClass::Unknown:
        break;
    }
    return u'？';
}

QChar classMark(ToneClass c)
{
    switch (c) {
    case ToneClass::Ping:
        return u'○';
    case ToneClass::Ze:
        return u'●';
    case ToneClass::Both:
        return u'◎';
    case ToneClass::Unknown:
        break;
    }
    return u'？';
}

QChar toneName(Tone tone)
{
    switch (tone) {
    case Tone::Ping:
        return u'平';
    case Tone::Shang:
        return u'上';
    case Tone::Qu:
        return u'去';
    case Tone::Ru:
        break;
    }
    return u'入';
}

ToneClass modernClass(const QString &marked)
{
    for (QChar c : marked.normalized(QString::NormalizationForm_D)) {
        if (c == u'\u0304' || c == u'\u0301')
            return ToneClass::Ping;
        if (c == u'\u030C' || c == u'\u0300')
            return ToneClass::Ze;
    }
    return ToneClass::Unknown;
}

} // namespace prosody
