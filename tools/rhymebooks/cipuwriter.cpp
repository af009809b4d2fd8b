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
    writer.insert(rb::tableTunes, 8, [&](Statement &stmt) {
        for (qsizetype i = 0; i < cipu.tunes.size(); ++i) {
            const DerivedTune &t = cipu.tunes[i];
            stmt.bindText(1, t.name);
            stmt.bindInt64(2, i + 1);
            stmt.bindInt64(3, t.poems);
            stmt.bindInt64(4, t.inForms);
            stmt.bindText(5, t.bookName);
            stmt.bindInt64(6, t.juan);
            stmt.bindInt64(7, t.bookOrder);
            stmt.bindText(8, t.origin);
            run(stmt);
        }
    });
    writer.insert(rb::tableTuneNames, 4, [&](Statement &stmt) {
        for (const DerivedTune &t : cipu.tunes) {
            for (const DerivedName &n : t.names) {
                stmt.bindText(1, n.name);
                stmt.bindText(2, t.name);
                stmt.bindInt64(3, n.poems);
                stmt.bindText(4, n.basis);
                run(stmt);
            }
        }
    });
    writer.insert(rb::tableCiForms, 16, [&](Statement &stmt) {
        for (const DerivedTune &t : cipu.tunes) {
            for (const DerivedForm &f : t.forms) {
                QStringList lengths, stanzas;
                for (int n : f.lengths())
                    lengths << QString::number(n);
                for (int n : f.stanzaStarts)
                    stanzas << QString::number(n + 1);
                stmt.bindText(1, t.name);
                stmt.bindInt64(2, f.number);
                stmt.bindInt64(3, f.poems);
                stmt.bindText(4, lengths.join(u','));
                stmt.bindInt64(5, f.stanzaBreak);
                stmt.bindText(6, f.scheme);
                stmt.bindText(7, f.example);
                stmt.bindInt64(8, f.authors);
                stmt.bindText(9, sourceName(f.source));
                stmt.bindInt64(10, f.bookNumber);
                stmt.bindText(11, f.author);
                stmt.bindInt64(12, f.juan);
                stmt.bindText(13, f.note);
                stmt.bindText(14, f.bookText);
                stmt.bindInt64(15, f.compared ? 1 : 0);
                stmt.bindText(16, stanzas.join(u','));
                run(stmt);
            }
        }
    });
    writer.insert(rb::tableCiLines, 11, [&](Statement &stmt) {
        for (const DerivedTune &t : cipu.tunes) {
            for (const DerivedForm &f : t.forms) {
                for (qsizetype l = 0; l < f.lines.size(); ++l) {
                    const DerivedLine &line = f.lines[l];
                    stmt.bindText(1, t.name);
                    stmt.bindInt64(2, f.number);
                    stmt.bindInt64(3, l + 1);
                    stmt.bindInt64(4, line.length);
                    stmt.bindInt64(5, line.rhymeRun);
                    stmt.bindText(6, line.rhymeRun ? QString(line.rhymeTone) : QString());
                    stmt.bindInt64(7, line.rhymed);
                    stmt.bindBlob(8, packedPositions(line));
                    QStringList dou;
                    for (int d : line.dou)
                        dou << QString::number(d);
                    QString book;
                    for (const DerivedPosition &p : line.positions)
                        if (!p.book.isNull())
                            book += p.book;
                    stmt.bindText(9, dou.join(u','));
                    stmt.bindText(10, line.mark);
                    stmt.bindText(11, book);
                    run(stmt);
                }
            }
        }
    });
    writer.insert(rb::tableCiPositions, 10, [&](Statement &stmt) {
        for (const DerivedTune &t : cipu.tunes) {
            for (const DerivedForm &f : t.forms) {
                for (qsizetype l = 0; l < f.lines.size(); ++l) {
                    for (qsizetype i = 0; i < f.lines[l].positions.size(); ++i) {
                        const DerivedPosition &p = f.lines[l].positions[i];
                        stmt.bindText(1, t.name);
                        stmt.bindInt64(2, f.number);
                        stmt.bindInt64(3, l + 1);
                        stmt.bindInt64(4, i + 1);
                        stmt.bindText(5, QString(p.tone));
                        stmt.bindInt64(6, p.ping);
                        stmt.bindInt64(7, p.ze);
                        stmt.bindInt64(8, p.both);
                        stmt.bindInt64(9, p.unknown);
                        stmt.bindText(10, p.book.isNull() ? QString() : QString(p.book));
                        run(stmt);
                    }
                }
            }
        }
    });
    writer.insert(rb::tableSharedRhymes, 4, [&](Statement &stmt) {
        for (auto it = cipu.sharing.pairs.cbegin(); it != cipu.sharing.pairs.cend(); ++it) {
            stmt.bindText(1, sectionName(it.key().first));
            stmt.bindText(2, sectionName(it.key().second));
            stmt.bindInt64(3, it.value());
            stmt.bindInt64(4, cipu.sharing.runs.value(it.key().first));
            run(stmt);
        }
    });
    writer.insert(rb::tableCipuCounts, 2, [&](Statement &stmt) {
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
            stmt.bindText(1, QString::fromUtf16(item));
            stmt.bindInt64(2, count);
            run(stmt);
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
    progress.stage(QStringLiteral("御定词谱 merged"),
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
}

} // namespace builddb
