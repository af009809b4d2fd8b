// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/polyphones.h"

#include "prosody/reading/classes.h"
#include "tools/dictionary/primers.h"
#include "tools/evaluate/strains.h"

#include <QMap>

using namespace prosody;

int polyphones(const std::shared_ptr<const RhymeBooks> &books, const QString &dist, QTextStream &out)
{
    const builddb::Converter t2s;
    const QHash<QString, QStringList> byKey = tangStrains(t2s);
    struct Tally {
        int both = 0, moved = 0, agree = 0, disagree = 0;
    };
    QMap<QString, Tally> byChar;
    Tally all;
    QStringList samples;
    for (const builddb::PrimerPoem &poem :
         builddb::readPrimer(builddb::tangPrimerPath(dist), QStringLiteral("唐"), t2s)) {
        if (poem.lines.isEmpty())
            continue;
        const QStringList strains = byKey.value(keyOf(poem.author, poem.lines.first()));
        const QString pattern = strains.join(QString());
        const QList<Poem> read = readPoems(poem.lines.join(u'\n'));
        if (read.size() != 1)
            continue;
        // The strings mark the text with its punctuation, line after line.
        const bool sameEdition = pattern.size() == poem.lines.join(QString()).size();
        for (const Line &line : read.first().lines) {
            for (qsizetype i = 0; i < line.size(); ++i) {
                if (books->toneClass(Book::Pingshui, line.chars.at(i)) != ToneClass::Both)
                    continue;
                const QString c = line.text(i, 1);
                ++all.both, ++byChar[c].both;
                const Reading r = readingAt(*books, line, i, Book::Pingshui);
                if (r.word.isEmpty())
                    continue;
                ++all.moved, ++byChar[c].moved;
                const qsizetype where = line.offsets.at(i) - line.sourceLine; // without the line breaks
                const QChar theirs = sameEdition && where < pattern.size() ? pattern.at(where) : QChar();
                const bool known = theirs == u'平' || theirs == u'仄';
                if (known && theirs == className(r.cls))
                    ++all.agree, ++byChar[c].agree;
                else if (known)
                    ++all.disagree, ++byChar[c].disagree;
                if (samples.size() < 400)
                    samples << QStringLiteral("| %1 | %2 | 「%3」%4 | %5 | %6 |")
                                   .arg(line.text(), c, r.word, r.pinyin, QString(className(r.cls)),
                                        known ? QString(theirs) : QStringLiteral("—"));
            }
        }
    }
    out << "## Polyphones decided by their word (平水韵, 唐诗三百首)\n\n"
        << QStringLiteral(
               "- positions of characters of both classes: %1; decided by a word: %2; of these, agreeing "
               "with the 平仄 strings: %3, disagreeing: %4\n\n")
               .arg(all.both)
               .arg(all.moved)
               .arg(all.agree)
               .arg(all.disagree);
    out << "| character | both | decided | agree | disagree |\n|---|---:|---:|---:|---:|\n";
    for (auto it = byChar.constBegin(); it != byChar.constEnd(); ++it)
        if (it->moved > 0)
            out << "| " << it.key() << " | " << it->both << " | " << it->moved << " | " << it->agree << " | "
                << it->disagree << " |\n";
    out << "\n| line | character | word | ours | strains |\n|---|---|---|---|---|\n"
        << samples.join(u'\n') << "\n"
        << Qt::endl;
    return 0;
}
