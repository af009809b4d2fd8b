// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/songci300.h"

#include "prosody/check.h"
#include "prosody/ci/cipu.h"
#include "tools/common/converter.h"
#include "tools/common/sources.h"
#include "tools/evaluate/corpora.h"
#include "tools/evaluate/restore.h"
#include "tools/rhymebooks/cicorpus.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>

#include <algorithm>

using namespace prosody;

namespace evaluate {

int songci300(const std::shared_ptr<const RhymeBooks> &books, const QString &dist, int judged, bool restore)
{
    QTextStream out(stdout);
    const builddb::Converter t2s;
    const QJsonArray poems =
        builddb::readJsonArray(QDir(dist).filePath(QStringLiteral("songci/宋词三百首.json")));
    std::optional<Restorer> restorer;
    if (restore)
        restorer.emplace(builddb::readSongCi(dist, t2s));
    int named = 0, passed = 0, known = 0, asCi = 0, onlyShort = 0;
    QMap<QString, int> kinds, warnings;
    QMap<QString, int> texts; // fault texts without their place, for the commonest
    QStringList examples, unnamed, restoredList;
    QElapsedTimer clock;
    clock.start();
    for (const QJsonValue &v : poems) {
        const QJsonObject o = v.toObject();
        const QString tuneName = t2s(o.value(QStringLiteral("rhythmic")).toString()).trimmed();
        QStringList lines;
        for (const QJsonValue &p : o.value(QStringLiteral("paragraphs")).toArray())
            lines << t2s(p.toString());
        if (restorer) {
            if (std::optional<QStringList> whole =
                    restorer->restored(t2s(o.value(QStringLiteral("author")).toString()), lines)) {
                restoredList << QStringLiteral("%1《%2》%3")
                                    .arg(o.value(QStringLiteral("author")).toString(), tuneName,
                                         Restorer::added(lines, *whole));
                lines = *whole;
            }
        }
        const QList<PoemCheck> checks =
            checkAs(books, lines.join(u'\n'), CheckRequest{}).value_or(QList<PoemCheck>());
        const QList<const CiTune *> tunes = tunesOfName(books->cipu(), tuneName);
        known += !tunes.isEmpty();
        if (checks.size() != 1)
            continue;
        const PoemCheck &check = checks.first();
        asCi += check.isCi();
        const bool isNamed = check.isCi() && std::any_of(tunes.begin(), tunes.end(), [&](const CiTune *t) {
                                 return check.form == t->name;
                             });
        named += isNamed;
        if (!isNamed)
            unnamed << QStringLiteral("- %1《%2》→ %3")
                           .arg(o.value(QStringLiteral("author")).toString(), tuneName, check.summary());
        passed += check.ok();
        QStringList faults;
        for (const Finding &f : check.findings) {
            if (!f.isFault()) {
                ++warnings[kindName(f.kind)];
                continue;
            }
            ++kinds[kindName(f.kind)];
            faults << f.text;
            const qsizetype colon = f.text.indexOf(u'：');
            ++texts[kindName(f.kind) + u' ' + (colon >= 0 ? f.text.mid(colon + 1) : f.text)];
        }
        // The texts of this file lose rare characters (鄜州 written 州, 颙望 written 望): a 词 whose only
        // faults are lines one character short is counted apart.
        if (!check.ok() && isNamed &&
            std::all_of(faults.begin(), faults.end(), [](const QString &f) { return f.contains(u"少一字"); }))
            ++onlyShort;
        if (!check.ok() && isNamed && examples.size() < judged)
            examples << QStringLiteral("- %1《%2》%3：%4")
                            .arg(o.value(QStringLiteral("author")).toString(), tuneName, check.summary(),
                                 faults.join(QStringLiteral("；")));
    }
    const qint64 ms = clock.elapsed();
    const int n = int(poems.size());
    out << "## 宋词三百首 in 自动, without titles" << (restore ? ", lost characters restored" : "")
        << "\n\n| item | count |\n|---|---:|\n"
        << "| 词 | " << n << " |\n";
    if (restore)
        out << "| restored from the main 宋词 files | " << restoredList.size() << " |\n";
    out << "| whose 词牌 the 词谱 knows | " << known << " |\n| checked as 词 | " << asCi
        << " |\n| named as their 词牌 | " << named
        << QStringLiteral(" (%1%)").arg(100.0 * named / n, 0, 'f', 1) << " |\n| 合谱 | " << passed
        << QStringLiteral(" (%1%)").arg(100.0 * passed / n, 0, 'f', 1)
        << " |\n| named, not 合谱 only for lines one character short | " << onlyShort << " |\n\n"
        << "Faults among all: ";
    for (auto it = kinds.constBegin(); it != kinds.constEnd(); ++it)
        out << it.key() << " " << it.value() << "; ";
    out << "\n\nWarnings among all: ";
    for (auto it = warnings.constBegin(); it != warnings.constEnd(); ++it)
        out << it.key() << " " << it.value() << "; ";
    QList<std::pair<int, QString>> common;
    for (auto it = texts.constBegin(); it != texts.constEnd(); ++it)
        common.append({it.value(), it.key()});
    std::stable_sort(common.begin(), common.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    out << "\n\nThe commonest fault texts:\n\n";
    for (qsizetype i = 0; i < std::min<qsizetype>(15, common.size()); ++i)
        out << "- " << common[i].second << " (" << common[i].first << ")\n";
    out << "\nNamed 词 that do not pass (the first " << judged << "):\n\n"
        << examples.join(u'\n') << "\n\nNot named as their 词牌:\n\n"
        << unnamed.join(u'\n') << "\n\n";
    if (restore)
        out << "Restored (the characters added): " << restoredList.join(QStringLiteral("；")) << "\n\n";
    out << "(" << ms << " ms for the 280 checks)\n" << Qt::endl;
    return 0;
}

} // namespace evaluate
