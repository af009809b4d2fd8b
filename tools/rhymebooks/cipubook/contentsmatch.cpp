// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/contentsmatch.h"

#include "tools/rhymebooks/cipubook/variants.h"

namespace cipubook {

namespace {

// 西子妝慢 and 西子妝: one name is the other with the word for a kind of tune.
bool sameButKind(TextView a, TextView b)
{
    if (a.size() < b.size())
        std::swap(a, b);
    return a.size() == b.size() + 1 && TextView(U"慢令近引").find(a.back()) != TextView::npos &&
           folded(a.substr(0, b.size())) == folded(b);
}

} // namespace

QList<qsizetype> matchContents(const QList<PrintedEntry> &entries, const QList<BookTune> &tunes,
                               qsizetype firstTune, QList<ReadProblem> &problems)
{
    QList<qsizetype> match(entries.size(), -1);
    QList<bool> taken(tunes.size(), false);
    const auto pair = [&](qsizetype e, qsizetype t) {
        match[e] = t;
        taken[t] = true;
    };
    const auto nameOf = [&](qsizetype e) { return toText(entries[e].entry.name); };
    qsizetype from = firstTune;
    for (qsizetype e = 0; e < entries.size(); ++e) {
        const Text name = folded(nameOf(e));
        for (qsizetype t = from; t < tunes.size(); ++t)
            if (!taken[t] && folded(toText(tunes[t].name)) == name) {
                pair(e, t);
                from = t + 1;
                break;
            }
    }
    const auto search = [&](auto same) {
        for (qsizetype e = 0; e < entries.size(); ++e)
            for (qsizetype t = firstTune; t < tunes.size() && match[e] < 0; ++t)
                if (!taken[t] && same(nameOf(e), toText(tunes[t].name)))
                    pair(e, t);
    };
    search([](const Text &a, const Text &b) { return folded(a) == folded(b); });
    search([](const Text &a, const Text &b) { return sameName(a, b) || sameButKind(a, b); });
    // The one 调 left between the 调 of the neighbouring entries: the entry names it in another way.
    for (qsizetype e = 0; e < entries.size(); ++e) {
        if (match[e] >= 0)
            continue;
        qsizetype low = firstTune, high = tunes.size();
        for (qsizetype p = e - 1; p >= 0; --p)
            if (match[p] >= 0) {
                low = match[p] + 1;
                break;
            }
        for (qsizetype n = e + 1; n < entries.size(); ++n)
            if (match[n] >= 0) {
                high = match[n];
                break;
            }
        QList<qsizetype> left;
        for (qsizetype t = low; t < high; ++t)
            if (!taken[t])
                left << t;
        if (left.size() == 1)
            pair(e, left.first());
    }
    for (qsizetype e = 0; e < entries.size(); ++e)
        if (match[e] >= 0 && folded(toText(tunes[match[e]].name)) != folded(nameOf(e)))
            problems.append({entries[e].entry.place, tunes[match[e]].name,
                             QStringLiteral("目录作「%1」").arg(entries[e].entry.name)});
    return match;
}

} // namespace cipubook
