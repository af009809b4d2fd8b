// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/bookexamples.h"

#include "prosody/check.h"
#include "prosody/ci/cipu.h"
#include "tools/common/converter.h"
#include "tools/rhymebooks/cipubook/cipubook.h"
#include "tools/rhymebooks/cipumerge/bookchars.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMap>

using namespace prosody;

namespace {

// The example as a poet would paste it: each 句 ending in ， or 。 (at a rhyme), a line per 段.
QString pasted(const cipubook::BookExample &example, const cipumerge::BookCharacters &chars)
{
    QStringList stanzas;
    for (const cipubook::BookStanza &s : example.stanzas) {
        QString text;
        for (const cipubook::BookLine &l : s.lines)
            text += chars(l.text) + (l.rhymed() ? u'。' : u'，');
        stanzas << text;
    }
    return stanzas.join(u'\n');
}

QString faultsOf(const PoemCheck &check)
{
    QStringList out;
    for (const Finding &f : check.findings)
        if (f.isFault())
            out << f.text;
    return out.join(QStringLiteral("；"));
}

} // namespace

int cipubookExamples(const std::shared_ptr<const RhymeBooks> &books, const QString &dir, QTextStream &out)
{
    const cipubook::CipuBook book = cipubook::readCipuBook(dir);
    const builddb::Converter t2s;
    const cipumerge::BookCharacters chars(t2s);
    QHash<int, const CiTune *> byOrder; // the book's place of a 调 → its 词牌
    for (const CiTune &tune : books->cipu().tunes())
        if (tune.bookOrder > 0)
            byOrder.insert(tune.bookOrder, &tune);

    int examples = 0, matched = 0, named = 0, missing = 0;
    QMap<QString, int> faultKinds;
    QStringList notMatched, notNamed;
    QElapsedTimer clock;
    clock.start();
    for (const cipubook::BookTune &bookTune : book.tunes) {
        if (bookTune.appendix)
            continue; // 卷四十's 大曲 and 转踏: sets of pieces, not one 词 to type
        const CiTune *tune = byOrder.value(bookTune.order);
        for (const cipubook::BookForm &form : bookTune.forms) {
            ++examples;
            if (!tune) {
                ++missing;
                continue;
            }
            const QString text = pasted(form.example, chars);
            const QString where =
                QStringLiteral("%1 第%2体（%3）").arg(tune->name).arg(form.number).arg(chars(form.author));
            const QList<PoemCheck> own =
                checkAs(books, text, CheckRequest{CiFormRef{tune->name, form.number}, std::nullopt})
                    .value_or(QList<PoemCheck>());
            if (own.size() == 1 && own.first().ok()) {
                ++matched;
            } else {
                for (const PoemCheck &c : own)
                    for (const Finding &f : c.findings)
                        if (f.isFault())
                            ++faultKinds[kindName(f.kind)];
                notMatched << QStringLiteral("- %1：%2")
                                  .arg(where, own.size() == 1 ? faultsOf(own.first())
                                                              : QStringLiteral("读作 %1 首").arg(own.size()));
            }
            const QList<PoemCheck> automatic =
                checkAs(books, text, CheckRequest{AutoForm{}, std::nullopt}).value_or(QList<PoemCheck>());
            const bool isNamed =
                automatic.size() == 1 && automatic.first().isCi() && automatic.first().form == tune->name;
            named += isNamed;
            if (!isNamed)
                notNamed << QStringLiteral("- %1 → %2")
                                .arg(where, automatic.isEmpty() ? QStringLiteral("（无）")
                                                                : automatic.first().summary());
        }
    }
    const auto share = [&](int n) {
        return QStringLiteral("%1 (%2%)").arg(n).arg(100.0 * n / std::max(1, examples), 0, 'f', 1);
    };
    out << "## The examples of 御定词谱 against the 词谱\n\n| item | count |\n|---|---:|\n"
        << "| examples (卷一–卷三十九) | " << examples << " |\n"
        << "| 调 not in the 词谱 | " << missing << " |\n"
        << "| 合谱 against their own 体 | " << share(matched) << " |\n"
        << "| named as their 调 in 自动, without title | " << share(named) << " |\n"
        << "| seconds | " << clock.elapsed() / 1000.0 << " |\n\n";
    out << "Faults by kind:";
    for (auto it = faultKinds.cbegin(); it != faultKinds.cend(); ++it)
        out << " " << it.key() << " " << it.value() << ";";
    out << "\n\n### Not 合谱 against their own 体\n\n"
        << notMatched.join(u'\n') << "\n\n### Not named in 自动\n\n"
        << notNamed.join(u'\n') << "\n";
    return 0;
}
