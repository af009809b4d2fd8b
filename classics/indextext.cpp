// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/indextext.h"

#include "db/classicsschema.h"
#include "prosody/text/reader.h"

namespace classics {

namespace {

// Calls visit(c, utf16) for each code point of text, surrogate pairs as one.
template <typename Visit> void eachCodePoint(const QString &text, Visit visit)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(text.at(i), text.at(i + 1)), QStringView(text).mid(i, 2));
            ++i;
        } else {
            visit(char32_t(text.at(i).unicode()), QStringView(text).mid(i, 1));
        }
    }
}

} // namespace

QString indexedText(const QString &line)
{
    QString out;
    out.reserve(line.size() * 2);
    bool gap = false;
    eachCodePoint(line, [&](char32_t c, QStringView utf16) {
        const bool verse = prosody::isVerseChar(c);
        if (!verse && gap)
            return;
        if (!out.isEmpty())
            out += u' ';
        if (verse)
            out += utf16;
        else
            out += classicsschema::gapToken;
        gap = !verse;
    });
    return out;
}

QStringList searchRuns(const QString &text)
{
    QStringList runs;
    QString run;
    eachCodePoint(text, [&](char32_t c, QStringView utf16) {
        if (prosody::isVerseChar(c)) {
            run += utf16;
        } else if (!run.isEmpty()) {
            runs << run;
            run.clear();
        }
    });
    if (!run.isEmpty())
        runs << run;
    return runs;
}

QString matchExpression(const QStringList &runs)
{
    QStringList phrases;
    for (const QString &run : runs)
        phrases << u'"' + indexedText(run) + u'"'; // only Chinese characters: nothing to escape
    return phrases.join(u' ');
}

} // namespace classics
