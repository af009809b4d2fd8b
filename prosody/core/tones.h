// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace prosody {

// The four rhyme books, in the order the program offers them.
enum class Book { Pingshui, Cilin, Xinyun, Tongyun };
inline constexpr Book allBooks[] = {Book::Pingshui, Book::Cilin, Book::Xinyun, Book::Tongyun};
QString bookName(Book book);
std::optional<Book> bookFromName(const QString &name);
inline bool isModern(Book book)
{
    return book == Book::Xinyun || book == Book::Tongyun;
}

// The 平仄 class of a character: both classes (中) are accepted either way; Unknown has no reading.
enum class ToneClass : quint8 { Ping, Ze, Both, Unknown };
QChar className(ToneClass c); // 平 仄 中 ？
QChar classMark(ToneClass c); // ○ ● ◎ ？
inline bool isDefinite(ToneClass c)
{
    return c == ToneClass::Ping || c == ToneClass::Ze;
}
// Whether a character of a class can be read in the wanted one: its own, or 中.
inline bool maybe(ToneClass c, ToneClass wanted)
{
    return c == wanted || c == ToneClass::Both;
}
// 平 for 平, else 仄: the class a template character (平, 仄) stands for.
inline ToneClass classOfTemplate(QChar c)
{
    return c == u'平' ? ToneClass::Ping : ToneClass::Ze;
}

// The tone of a reading in a group: 平, 上, 去 or 入.
enum class Tone : quint8 { Ping, Shang, Qu, Ru };
QChar toneName(Tone tone);
inline ToneClass classOf(Tone tone)
{
    return tone == Tone::Ping ? ToneClass::Ping : ToneClass::Ze;
}

// The class of one modern reading ("cháng" 平, "zhǎng" 仄); Unknown for a neutral tone.
ToneClass modernClass(const QString &marked);

} // namespace prosody
