// SPDX-License-Identifier: GPL-3.0-or-later
// The searches of the classics file measured for docs/CLASSICS.md.
#include "tools/evaluate/classicsfile.h"

#include "classics/classics.h"
#include "db/sqlite.h"

#include <QElapsedTimer>
#include <QList>

#include <memory>

using namespace Qt::StringLiterals;

// Ten searches of date/classics.db against a plain scan of the same lines with SQLite's instr(), and
// the rhyme words most used in a few groups.
int classicsFile(const QString &path, QTextStream &out)
{
    const std::unique_ptr<classics::Classics> c = classics::Classics::open(path);
    const classics::Totals t = c->totals();
    out << "## The classics file\n\n"
        << QStringLiteral(
               "- %1 poems, %2 lines, %3 characters; %4 poems of regulated verse with counted rhyme "
               "words\n\n")
               .arg(t.poems)
               .arg(t.lines)
               .arg(t.characters)
               .arg(t.regulated);

    const SqliteFile file(path, SqliteFile::Mode::ReadOnly);
    Statement scan(file, QByteArrayLiteral("SELECT count(*) FROM 句 WHERE instr(文, ?1) > 0"));
    out << "| text | index | scan | index ms (count + 200 lines) | scan ms |\n|---|---:|---:|---:|---:|\n";
    int differing = 0;
    for (const QString &text : {u"山"_s, u"月"_s, u"明月"_s, u"春风"_s, u"不知"_s, u"江南"_s, u"白日依山"_s,
                                u"相思"_s, u"归去来"_s, u"人生如梦"_s}) {
        QElapsedTimer clock;
        clock.start();
        const int indexed = c->count(text).lines;
        c->lines(text, 0, 200);
        const double indexMs = clock.nsecsElapsed() / 1e6;
        clock.restart();
        scan.bindText(1, text);
        const int scanned = scan.step() ? scan.int32(0) : 0;
        scan.reset();
        const double scanMs = clock.nsecsElapsed() / 1e6;
        differing += indexed != scanned;
        out << QStringLiteral("| %1 | %2 | %3 | %4 | %5 |\n")
                   .arg(text)
                   .arg(indexed)
                   .arg(scanned)
                   .arg(indexMs, 0, 'f', 1)
                   .arg(scanMs, 0, 'f', 1);
    }
    out << QStringLiteral("\n%1 of 10 counts differ from the scan.\n\n").arg(differing);

    out << "| 平水韵 group | most rhymed on |\n|---|---|\n";
    for (const QString &group :
         {u"上平一东"_s, u"上平十一真"_s, u"下平一先"_s, u"下平七阳"_s, u"下平十一尤"_s}) {
        QStringList words;
        for (const classics::RhymeWord &w : c->rhymeWords(prosody::Book::Pingshui, group).mid(0, 12))
            words << QStringLiteral("%1 %2").arg(w.hanzi).arg(w.count);
        out << "| " << group << " | " << words.join(QStringLiteral(" · ")) << " |\n";
    }
    out << Qt::endl;
    return differing == 0 ? 0 : 1;
}
