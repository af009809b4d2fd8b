#include "prosody/reading/classes.h"

#include <algorithm>

namespace prosody {

ToneClass classAt(const RhymeBooks &books, const Line &line, qsizetype index, Book book)
{
    const ToneClass c = books.toneClass(book, line.chars.at(index));
    if (c != ToneClass::Both || !isModern(book))
        return c;
    // The longest known word around the character decides its reading.
    for (qsizetype len = std::min<qsizetype>(4, line.size()); len >= 2; --len) {
        for (qsizetype start = std::max<qsizetype>(0, index - len + 1);
             start <= index && start + len <= line.size(); ++start) {
            const QString reading = books.wordReading(line.text(start, len));
            if (reading.isEmpty())
                continue;
            const QStringList syllables = reading.split(u' ');
            if (syllables.size() == len) {
                const ToneClass w = modernClass(syllables.at(index - start));
                if (w != ToneClass::Unknown)
                    return w;
            }
        }
    }
    return c;
}

QList<ToneClass> classesOf(const RhymeBooks &books, const Line &line, Book book)
{
    QList<ToneClass> out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i)
        out.append(classAt(books, line, i, book));
    return out;
}

Classes classesOf(const RhymeBooks &books, const Poem &poem, Book book)
{
    Classes out;
    out.reserve(poem.lines.size());
    for (const Line &line : poem.lines)
        out.append(classesOf(books, line, book));
    return out;
}

} // namespace prosody
