// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/pasted.h"

#include "prosody/check.h"
#include "tools/common/converter.h"
#include "tools/evaluate/printed.h"

#include <QMap>
#include <QRegularExpression>

using namespace prosody;

int pastedAnthology(const std::shared_ptr<const RhymeBooks> &books, const QString &dist, PastedAs as,
                    QTextStream &out)
{
    const builddb::Converter t2s;
    // A note in brackets, also one that runs over a line break.
    static const QRegularExpression note(QStringLiteral("[（(][^）)]*[）)]"));
    struct Tally {
        int poems = 0, ok = 0;
    };
    QMap<QString, Tally> bySection;
    QMap<QString, int> summaries;
    QStringList failures;
    for (const PrintedPoem &poem : tangshiAsPrinted(dist)) {
        const QString type = t2s(poem.section);
        if (!type.contains(u'律') && !type.contains(u'绝'))
            continue;
        QString text = poem.paragraphs.join(u'\n');
        if (as != PastedAs::Traditional)
            text = t2s(text);
        if (as == PastedAs::Clean)
            text.remove(note);
        const QList<PoemCheck> checks = checkAs(books, text, CheckRequest{}).value_or(QList<PoemCheck>());
        Tally &t = bySection[type];
        ++t.poems;
        const bool ok = checks.size() == 1 && checks.first().ok();
        t.ok += ok;
        if (ok)
            continue;
        QStringList said;
        for (const PoemCheck &c : checks)
            said << c.summary();
        ++summaries[checks.size() == 1 ? checks.first().summary().section(QStringLiteral(" · "), 0, 0)
                                       : QStringLiteral("%1 首").arg(checks.size())];
        failures << QStringLiteral("- %1《%2》：%3")
                        .arg(t2s(poem.author), t2s(poem.title), said.join(QStringLiteral(" / ")));
    }
    out << "## The regulated verse of 唐诗三百首 pasted as printed"
        << (as == PastedAs::Clean         ? " (notes removed)"
            : as == PastedAs::Traditional ? " (traditional characters kept)"
                                          : "")
        << ", checked in 自动\n\n| section | poems | pass |\n|---|---:|---:|\n";
    int poems = 0, ok = 0;
    for (auto it = bySection.constBegin(); it != bySection.constEnd(); ++it) {
        out << "| " << it.key() << " | " << it->poems << " | " << it->ok << " |\n";
        poems += it->poems;
        ok += it->ok;
    }
    out << "| all | " << poems << " | " << ok << " |\n\n| judged as | poems not passing |\n|---|---:|\n";
    for (auto it = summaries.constBegin(); it != summaries.constEnd(); ++it)
        out << "| " << it.key() << " | " << it.value() << " |\n";
    out << "\n" << failures.join(u'\n') << "\n" << Qt::endl;
    return 0;
}
