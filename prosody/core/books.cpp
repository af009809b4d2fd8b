#include "prosody/core/books.h"

#include "prosody/reading/wordreadings.h"

namespace prosody {

RhymeBooks::RhymeBooks(std::array<BookData, 4> books, Extras extras)
    : m_books(std::move(books))
    , m_extras(std::move(extras))
{
}

RhymeBooks::Memberships RhymeBooks::memberships(Book book, char32_t hanzi) const
{
    return m_books[int(book)].chars.value(hanzi);
}

QList<RhymeBooks::Member> RhymeBooks::members(Book book, int group) const
{
    return m_books[int(book)].members.value(group);
}

std::optional<RhymeBooks::Ungrouped> RhymeBooks::ungrouped(Book book, char32_t hanzi) const
{
    const auto it = m_books[int(book)].ungrouped.constFind(hanzi);
    if (it == m_books[int(book)].ungrouped.constEnd())
        return std::nullopt;
    return *it;
}

ToneClass RhymeBooks::toneClass(Book book, char32_t hanzi) const
{
    const BookData &data = m_books[int(book)];
    bool level = false, oblique = false;
    if (const auto it = data.chars.constFind(hanzi); it != data.chars.constEnd()) {
        for (const Membership &m : *it)
            (m.tone == Tone::Ping ? level : oblique) = true;
    } else if (const auto u = data.ungrouped.constFind(hanzi); u != data.ungrouped.constEnd()) {
        (u->tone == Tone::Ping ? level : oblique) = true;
    }
    if (level && oblique)
        return ToneClass::Both;
    return level ? ToneClass::Ping : oblique ? ToneClass::Ze : ToneClass::Unknown;
}

QString RhymeBooks::wordReading(const QString &word) const
{
    return m_extras.words ? m_extras.words->reading(word) : QString();
}

} // namespace prosody
