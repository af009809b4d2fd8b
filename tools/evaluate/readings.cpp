// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/readings.h"

#include "prosody/check.h"
#include "tools/evaluate/classicscorpus.h"

#include <QHash>

#include <algorithm>

using namespace prosody;

namespace {

// How a character is rhymed: at the level rhymes of regulated verse, at the level and at the oblique
// rhymes of 词, with the first line of each kind.
struct Rhymed {
    int shi = 0, ciLevel = 0, ciOblique = 0;
    QString levelLine, obliqueLine;

    int level() const { return shi + ciLevel; }
};

// A rhyme position of a 词 form: most of its poems rhyme there.
constexpr double kSureRhyme = 0.8;
// A disagreement worth a poet's look: rhymed this often in the class the book lacks, and this share of
// the character's rhymes.
constexpr int kFewest = 3;
constexpr double kShare = 0.1;

bool isWholeRegulated(const PoemCheck &check)
{
    const bool faulty = std::any_of(check.findings.begin(), check.findings.end(), [](const Finding &f) {
        return f.kind == FindingKind::Length || f.kind == FindingKind::ObliqueRhyme;
    });
    return !faulty && !check.inProgress() && !check.form.isEmpty() && !check.rhyme.isEmpty() &&
           check.faultCount() <= 2;
}

QString sample(const QString &where, const Line &line)
{
    return QStringLiteral("%1 %2").arg(where, line.text());
}

QString groupsIn(const RhymeBooks &books, char32_t c)
{
    QStringList names;
    for (const RhymeBooks::Membership &m : books.bookMemberships(Book::Pingshui, c))
        names << books.groups(Book::Pingshui).at(m.group).name;
    names.removeDuplicates();
    return names.isEmpty() ? QStringLiteral("无") : names.join(u'、');
}

} // namespace

int auditReadings(const std::shared_ptr<const RhymeBooks> &books, const QString &classicsPath,
                  QTextStream &out)
{
    const ClassicsCorpus corpus = readClassicsCorpus(classicsPath);
    QHash<char32_t, Rhymed> rhymed;
    int shiPoems = 0;
    const auto onShi = [&](const QString &where, const PoemCheck &check) {
        if (!isWholeRegulated(check))
            return;
        ++shiPoems;
        for (const LineCheck &l : check.lines) {
            if (!l.rhymed || l.line.chars.isEmpty())
                continue;
            Rhymed &r = rhymed[books->variants().standard(l.line.chars.last())];
            ++r.shi;
            if (r.levelLine.isEmpty())
                r.levelLine = sample(where, l.line);
        }
    };
    const auto onCi = [&](const QString &where, const PoemCheck &check) {
        if (!check.ciForm)
            return;
        for (const LineCheck &l : check.lines) {
            if (!l.rhymed || l.formLine < 0 || l.line.chars.isEmpty())
                continue;
            const CiLine &form = check.ciForm->lines.at(l.formLine);
            if (form.rhymed < kSureRhyme * check.ciForm->poems)
                continue;
            Rhymed &r = rhymed[books->variants().standard(l.line.chars.last())];
            const bool level = form.rhymeTone == ToneClass::Ping;
            ++(level ? r.ciLevel : r.ciOblique);
            QString &line = level ? r.levelLine : r.obliqueLine;
            if (line.isEmpty())
                line = sample(where, l.line);
        }
    };
    const CorpusWalk walk = checkCorpus(books, corpus, onShi, onCi);

    struct Row {
        char32_t c;
        ToneClass cls;
        Rhymed r;
        int against; // rhymes in the class the book lacks
    };
    QList<Row> rows;
    for (auto it = rhymed.constBegin(); it != rhymed.constEnd(); ++it) {
        const ToneClass cls = books->toneClass(Book::Pingshui, it.key());
        const int total = it->level() + it->ciOblique;
        const int against = cls == ToneClass::Ze     ? it->level()
                            : cls == ToneClass::Ping ? it->ciOblique
                            : cls == ToneClass::Both ? 0
                                                     : total;
        if (against >= kFewest && against >= kShare * total)
            rows.append({it.key(), cls, *it, against});
    }
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        return a.against != b.against ? a.against > b.against : a.c < b.c;
    });

    out << "## The classes of 平水韵 against the rhymes of the classics\n\n"
        << QStringLiteral("Classics file: %1 (%2). Rhyme books: %3.\n\n")
               .arg(classicsPath, corpus.version, books->dataVersion())
        << QStringLiteral(
               "- %1 poems of regulated verse with a level rhyme and at most two faults; %2 词 "
               "checked against their 词牌 (%3 under a name the 词谱 lacks); %4 characters rhymed.\n"
               "- Listed: characters rhymed at least %5 times, and in at least %6% of their rhymes, "
               "in the class the book does not give them (%7 characters).\n\n")
               .arg(shiPoems)
               .arg(walk.ci)
               .arg(walk.ciUnknown)
               .arg(rhymed.size())
               .arg(kFewest)
               .arg(kShare * 100)
               .arg(rows.size())
        << "| 字 | 平水韵 | 类 | 诗 平 | 词 平 | 词 仄 | 押平之例 | 押仄之例 "
           "|\n|---|---|---|---:|---:|---:|---|---|\n";
    for (const Row &row : rows)
        out << "| " << QString::fromUcs4(&row.c, 1) << " | " << groupsIn(*books, row.c) << " | "
            << className(row.cls) << " | " << row.r.shi << " | " << row.r.ciLevel << " | " << row.r.ciOblique
            << " | " << row.r.levelLine << " | " << row.r.obliqueLine << " |\n";
    out << Qt::endl;
    return 0;
}
