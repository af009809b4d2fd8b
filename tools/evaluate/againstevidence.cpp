// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/againstevidence.h"

#include "prosody/check.h"
#include "prosody/ci/evidence.h"
#include "prosody/reading/classes.h"
#include "tools/evaluate/classicscorpus.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>

using namespace prosody;

namespace {

struct Tally {
    int places = 0, with = 0, free = 0, against = 0;
};

// A word that read a character against the place, with how often and its first line.
struct Against {
    int times = 0;
    QString where;
};

struct Count {
    Tally all;
    QMap<QString, Tally> byChar;
    QHash<QString, Against> byWord; // "字 word reading"

    // faulted: whether the check faults the place; a reading it accepts there (拗救) counts as free.
    void add(const RhymeBooks &books, Book book, const Line &line, qsizetype i, ToneClass want,
             ToneClass read, bool faulted, const QString &where)
    {
        const QString c = line.text(i, 1);
        Tally &t = byChar[c];
        ++all.places, ++t.places;
        if (read == want) {
            ++all.with, ++t.with;
            return;
        }
        if ((read != ToneClass::Ping && read != ToneClass::Ze) || !faulted) {
            ++all.free, ++t.free;
            return;
        }
        ++all.against, ++t.against;
        const Reading r = readingAt(books, line, i, book);
        Against &a = byWord[QStringLiteral("%1 | 「%2」%3 | %4").arg(c, r.word, r.pinyin, className(read))];
        if (a.times++ == 0)
            a.where = QStringLiteral("%1 %2").arg(where, line.text());
    }

    void write(const QString &name, QTextStream &out) const
    {
        const auto percent = [&](int n) { return 100.0 * n / std::max(1, all.places); };
        out << QStringLiteral("### %1\n\n- places: %2; read with the place %3 (%4%), left 中 or accepted "
                              "there %5 (%6%), read against it by the word and faulted %7 (%8%)\n\n")
                   .arg(name)
                   .arg(all.places)
                   .arg(all.with)
                   .arg(percent(all.with), 0, 'f', 1)
                   .arg(all.free)
                   .arg(percent(all.free), 0, 'f', 1)
                   .arg(all.against)
                   .arg(percent(all.against), 0, 'f', 2);
        QList<std::pair<int, QString>> chars;
        for (auto it = byChar.constBegin(); it != byChar.constEnd(); ++it)
            if (it->against > 0)
                chars.append({it->against, it.key()});
        std::sort(chars.begin(), chars.end(), std::greater<>());
        out << "| 字 | places | with | 中 | against |\n|---|---:|---:|---:|---:|\n";
        for (const auto &[n, c] : chars) {
            const Tally &t = byChar.value(c);
            out << "| " << c << " | " << t.places << " | " << t.with << " | " << t.free << " | " << t.against
                << " |\n";
        }
        QList<std::pair<int, QString>> words;
        for (auto it = byWord.constBegin(); it != byWord.constEnd(); ++it)
            words.append({it->times, it.key()});
        std::sort(words.begin(), words.end(), std::greater<>());
        out << "\n| 字 | word | read | times | first line |\n|---|---|---|---:|---|\n";
        for (const auto &[n, key] : words)
            out << "| " << key << " | " << n << " | " << byWord.value(key).where << " |\n";
        out << "\n";
    }
};

// The faults a regulated poem may have and still count: as the audit of rhymes (readings.cpp).
constexpr int kFewestFaults = 2;

// The places the check faults, as (line, character), both 1-based.
QSet<std::pair<int, int>> faultedPlaces(const PoemCheck &check)
{
    QSet<std::pair<int, int>> out;
    for (const Finding &f : check.findings)
        if (f.isFault())
            out.insert({f.line, f.pos});
    return out;
}

ToneClass classOfMark(QChar mark)
{
    return mark == u'平' ? ToneClass::Ping : mark == u'仄' ? ToneClass::Ze : ToneClass::Unknown;
}

} // namespace

int polyphonesAgainstEvidence(const std::shared_ptr<const RhymeBooks> &books, const QString &classicsPath,
                              QTextStream &out)
{
    const ClassicsCorpus corpus = readClassicsCorpus(classicsPath);
    Count shi, ci;
    int shiPoems = 0;
    const auto onShi = [&](const QString &where, const PoemCheck &check) {
        // A poem of many faults keeps no template: its places say nothing of a character's class.
        const bool length = std::any_of(check.findings.begin(), check.findings.end(),
                                        [](const Finding &f) { return f.kind == FindingKind::Length; });
        if (check.form.isEmpty() || check.inProgress() || length || check.faultCount() > kFewestFaults)
            return;
        ++shiPoems;
        const QSet<std::pair<int, int>> faulted = faultedPlaces(check);
        for (int n = 0; n < check.lines.size(); ++n) {
            const LineCheck &l = check.lines.at(n);
            for (qsizetype i = 0; i < l.line.size() && i < l.pattern.size() && i < l.tones.size(); ++i) {
                const ToneClass want = classOfMark(l.pattern.at(i));
                if (want != ToneClass::Unknown &&
                    books->toneClass(check.book, l.line.chars.at(i)) == ToneClass::Both)
                    shi.add(*books, check.book, l.line, i, want, l.tones.at(i),
                            faulted.contains({n + 1, int(i) + 1}), where);
            }
        }
    };
    const auto onCi = [&](const QString &where, const PoemCheck &check) {
        if (!check.ciForm || check.ciForm->poems < evidence::kRulePoems)
            return;
        const QSet<std::pair<int, int>> faulted = faultedPlaces(check);
        for (int n = 0; n < check.lines.size(); ++n) {
            const LineCheck &l = check.lines.at(n);
            if (l.formLine < 0)
                continue;
            const QList<CiPosition> &places = check.ciForm->lines.at(l.formLine).positions;
            if (places.size() != l.line.size())
                continue; // a line the form aligns otherwise: no place is sure
            for (qsizetype i = 0; i < l.line.size() && i < l.tones.size(); ++i) {
                const CiPosition &p = places.at(i);
                if (p.percent() < evidence::kFaultPercent ||
                    books->toneClass(check.book, l.line.chars.at(i)) != ToneClass::Both)
                    continue;
                ci.add(*books, check.book, l.line, i, p.leaning(), l.tones.at(i),
                       faulted.contains({n + 1, int(i) + 1}), where);
            }
        }
    };
    const int ciPoems = checkCorpus(books, corpus, onShi, onCi).ci;
    out << "## Characters of both classes at places beyond doubt\n\n"
        << QStringLiteral("Classics file: %1 (%2). Rhyme books: %3. %4 regulated poems, %5 词 checked "
                          "against their 词牌.\n\n")
               .arg(classicsPath, corpus.version, books->dataVersion())
               .arg(shiPoems)
               .arg(ciPoems);
    ci.write(QStringLiteral("词: places where %1% of ten or more poems agree").arg(evidence::kFaultPercent),
             out);
    shi.write(
        QStringLiteral(
            "Regulated verse: the 平 and 仄 places of the template (平水韵), poems of at most two faults"),
        out);
    out << Qt::endl;
    return 0;
}
