// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/core/books.h"

#include "prosody/reading/wordreadings.h"

namespace prosody {

RhymeBooks::RhymeBooks(std::array<BookData, 4> books, Extras extras)
    : m_books(std::move(books))
    , m_extras(std::move(extras))
{
}

RhymeBooks::Memberships RhymeBooks::bookMemberships(Book book, char32_t hanzi) const
{
    const auto &chars = m_books[int(book)].chars;
    const auto it = find(chars, hanzi);
    return it == chars.constEnd() ? Memberships() : *it;
}

RhymeBooks::Memberships RhymeBooks::memberships(Book book, char32_t hanzi) const
{
    Memberships out = bookMemberships(book, hanzi);
    const auto &also = m_books[int(book)].alsoFor;
    if (const auto it = also.constFind(hanzi); it != also.constEnd())
        out.append(it->constData(), it->size());
    return out;
}

QList<RhymeBooks::Member> RhymeBooks::members(Book book, int group) const
{
    return m_books[int(book)].members.value(group);
}

std::optional<RhymeBooks::Ungrouped> RhymeBooks::ungrouped(Book book, char32_t hanzi) const
{
    const auto &ungrouped = m_books[int(book)].ungrouped;
    const auto it = find(ungrouped, hanzi);
    if (it == ungrouped.constEnd())
        return std::nullopt;
    return *it;
}

ToneClass RhymeBooks::toneClass(Book book, char32_t hanzi) const
{
    const BookData &data = m_books[int(book)];
    bool level = false, oblique = false;
    if (const auto it = find(data.chars, hanzi); it != data.chars.constEnd()) {
        for (const Membership &m : *it)
            (m.tone == Tone::Ping ? level : oblique) = true;
    } else if (const std::optional<Ungrouped> u = ungrouped(book, hanzi)) {
        (u->tone == Tone::Ping ? level : oblique) = true;
    }
    if (level && oblique)
        return ToneClass::Both;
    return level ? ToneClass::Ping : oblique ? ToneClass::Ze : ToneClass::Unknown;
}

QStringList RhymeBooks::readings(char32_t hanzi) const
{
    const auto it = find(m_extras.readings, hanzi);
    return it == m_extras.readings.constEnd() ? QStringList() : *it;
}

QString RhymeBooks::wordReading(const QString &word) const
{
    return m_extras.words ? m_extras.words->reading(m_extras.variants.standard(word)) : QString();
}

} // namespace prosody
