// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipuwriter.h"

#include "db/rhymebookschema.h"
#include "db/sqlite.h"

namespace builddb {

namespace rb = rhymebookschema;

namespace {

// 第一部 … 第十九部, as the 词林正韵 names its 部.
QString sectionName(int section)
{
    static const QStringList digits = QStringLiteral("一 二 三 四 五 六 七 八 九 十").split(u' ');
    const QString tens = section >= 20   ? digits[section / 10 - 1] + digits[9]
                         : section >= 10 ? digits[9]
                                         : QString();
    return QStringLiteral("第%1%2部").arg(tens, section % 10 ? digits[section % 10 - 1] : QString());
}

// The counts of a line's positions as the loader reads them from 词句.位.
QByteArray packedPositions(const DerivedLine &line)
{
    QList<rb::PositionCounts> counts;
    for (const DerivedPosition &p : line.positions)
        counts.append({.ping = p.ping, .ze = p.ze, .both = p.both, .unknown = p.unknown});
    return rb::packPositions(counts);
}

QString sourceName(FormSource source)
{
    switch (source) {
    case FormSource::Book:
        return rb::sourceBook;
    case FormSource::Both:
        return rb::sourceBoth;
    case FormSource::Corpus:
        break;
    }
    return rb::sourceCorpus;
}

} // namespace

void writeCipu(ReferenceWriter &writer, const DerivedCipu &cipu)
{
    writer.insert(rb::tableTunes, [&](Statement &stmt) {
        for (qsizetype i = 0; i < cipu.tunes.size(); ++i) {
            const DerivedTune &t = cipu.tunes[i];
            insertRow(stmt, t.name, i + 1, t.poems, t.inForms, t.bookName, t.juan, t.bookOrder, t.origin);
        }
    });
    writer.insert(rb::tableTuneNames, [&](Statement &stmt) {
        for (const DerivedTune &t : cipu.tunes) {
            for (const DerivedName &n : t.names) {
                insertRow(stmt, n.name, t.name, n.poems, n.basis);
            }
        }
    });
    writer.insert(rb::tableCiForms, [&](Statement &stmt) {
        for (const DerivedTune &t : cipu.tunes) {
            for (const DerivedForm &f : t.forms) {
                QStringList lengths, stanzas;
                for (int n : f.lengths())
                    lengths << QString::number(n);
                for (int n : f.stanzaStarts)
                    stanzas << QString::number(n + 1);
                insertRow(stmt, t.name, f.number, f.poems, lengths.join(u','), f.stanzaBreak, f.scheme,
                          f.example, f.authors, sourceName(f.source), f.bookNumber, f.author, f.juan, f.note,
                          f.bookText, f.compared ? 1 : 0, stanzas.join(u','));
            }
        }
    });
    writer.insert(rb::tableCiLines, [&](Statement &stmt) {
        for (const DerivedTune &t : cipu.tunes) {
            for (const DerivedForm &f : t.forms) {
                for (qsizetype l = 0; l < f.lines.size(); ++l) {
                    const DerivedLine &line = f.lines[l];
                    QStringList dou;
                    for (int d : line.dou)
                        dou << QString::number(d);
                    QString book;
                    for (const DerivedPosition &p : line.positions)
                        if (!p.book.isNull())
                            book += p.book;
                    insertRow(stmt, t.name, f.number, l + 1, line.length, line.rhymeRun,
                              line.rhymeRun ? QString(line.rhymeTone) : QString(), line.rhymed,
                              packedPositions(line), dou.join(u','), line.mark, book);
                }
            }
        }
    });
    writer.insert(rb::tableCiPositions, [&](Statement &stmt) {
        for (const DerivedTune &t : cipu.tunes) {
            for (const DerivedForm &f : t.forms) {
                for (qsizetype l = 0; l < f.lines.size(); ++l) {
                    for (qsizetype i = 0; i < f.lines[l].positions.size(); ++i) {
                        const DerivedPosition &p = f.lines[l].positions[i];
                        insertRow(stmt, t.name, f.number, l + 1, i + 1, QString(p.tone), p.ping, p.ze, p.both,
                                  p.unknown, p.book.isNull() ? QString() : QString(p.book));
                    }
                }
            }
        }
    });
    writer.insert(rb::tableSharedRhymes, [&](Statement &stmt) {
        for (auto it = cipu.sharing.pairs.cbegin(); it != cipu.sharing.pairs.cend(); ++it) {
            insertRow(stmt, sectionName(it.key().first), sectionName(it.key().second), it.value(),
                      cipu.sharing.runs.value(it.key().first));
        }
    });
    writer.insert(rb::tableCipuCounts, [&](Statement &stmt) {
        const CipuCounts &c = cipu.counts;
        qsizetype forms = 0;
        for (const DerivedTune &t : cipu.tunes)
            forms += t.forms.size();
        const QList<std::pair<const char16_t *, qsizetype>> rows = {
            {u"词", c.poems},
            {u"残缺", c.damaged},
            {u"失调名", c.untitled},
            {u"词牌仅一首", c.smallTunes},
            {u"无体", c.noForm},
            {u"入体", c.inForms},
            {u"词牌", cipu.tunes.size()},
            {u"词体", forms},
        };
        for (const auto &[item, count] : rows) {
            insertRow(stmt, QString::fromUtf16(item), count);
        }
    });
}

// The count and the first few of a long list, for one line of the log: "365: a; b; c; d; e …".
QString firstOf(const QStringList &items)
{
    constexpr int kShown = 5;
    QString out =
        QStringLiteral("%1: %2").arg(items.size()).arg(items.mid(0, kShown).join(QStringLiteral("; ")));
    if (items.size() > kShown)
        out += QStringLiteral(" …");
    return out;
}

void logCipu(const DerivedCipu &cipu, Progress &progress)
{
    const CipuCounts &c = cipu.counts;
    qsizetype forms = 0;
    for (const DerivedTune &t : cipu.tunes)
        forms += t.forms.size();
    progress.stage(QStringLiteral("词谱"),
                   QStringLiteral("%1 词: %2 词牌 with %3 forms hold %4; left out: %5 damaged, %6 without a "
                                  "tune name, %7 under a name of one poem, %8 in no form")
                       .arg(c.poems)
                       .arg(cipu.tunes.size())
                       .arg(forms)
                       .arg(c.inForms)
                       .arg(c.damaged)
                       .arg(c.untitled)
                       .arg(c.smallTunes)
                       .arg(c.noForm));
    progress.stage(QStringLiteral("词牌 names joined"), firstOf(cipu.joined));
    progress.stage(QStringLiteral("词牌 names kept apart, forms differ"), firstOf(cipu.refused));
}

void logMerge(const cipumerge::MergeReport &r, Progress &progress)
{
    progress.stage(
        QStringLiteral("御定词谱 merged"),
        QStringLiteral("调: %1 with poems of the corpus, %2 of the book alone, %3 词牌 of the corpus "
                       "alone; 体: %4 of both, %5 of the book alone, %6 of the corpus alone")
            .arg(r.tunesBoth)
            .arg(r.tunesBook)
            .arg(r.tunesCorpus)
            .arg(r.formsBoth)
            .arg(r.formsBook)
            .arg(r.formsCorpus));
    progress.stage(QStringLiteral("词牌 joined to a 调 of another name"), firstOf(r.byAlias));
    progress.stage(QStringLiteral("调 of one name told apart"), firstOf(r.renamed));
    progress.stage(QStringLiteral("corpus forms moved to the 调 they fit"), firstOf(r.moved));
}

} // namespace builddb
