// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/lines/clauses.h"

#include "prosody/text/reader.h"

#include <QChar>

namespace classics {

namespace {

// Punctuation and blanks end a clause cleanly; anything else that is not a Chinese character (□, a
// letter, a digit) leaves the clause beside it uncertain.
bool separates(char32_t c)
{
    return prosody::isLineBreak(c) || QChar::isPunct(c) || QChar::isSpace(c);
}

} // namespace

QList<Clause> clausesOf(const QString &entry)
{
    QList<Clause> out;
    Clause run;
    bool inRun = false;
    bool clean = true; // the run at hand began after a separator (or at the start)
    int token = 0;
    bool gap = false; // the previous code point was not a verse character
    const auto close = [&](bool endsClean) {
        if (inRun && clean && endsClean)
            out.append(run);
        inRun = false;
    };
    for (qsizetype i = 0; i < entry.size();) {
        const bool pair =
            entry.at(i).isHighSurrogate() && i + 1 < entry.size() && entry.at(i + 1).isLowSurrogate();
        const char32_t c =
            pair ? QChar::surrogateToUcs4(entry.at(i), entry.at(i + 1)) : entry.at(i).unicode();
        const int width = pair ? 2 : 1;
        if (prosody::isVerseChar(c)) {
            if (!inRun) {
                run = {token, int(i), 0, {}};
                inRun = true;
            }
            run.size += width;
            run.chars.append(c);
            ++token;
            gap = false;
        } else {
            const bool cleanBreak = separates(c);
            close(cleanBreak);
            // The next run is clean only when every character between the two is a separator.
            clean = gap ? clean && cleanBreak : cleanBreak;
            if (!gap)
                ++token; // a run of other characters is one token "0" of the index
            gap = true;
        }
        i += width;
    }
    close(true);
    return out;
}

QString clauseAt(const QString &entry, int token)
{
    for (const Clause &c : clausesOf(entry))
        if (c.token == token)
            return entry.mid(c.from, c.size);
    return {};
}

} // namespace classics
