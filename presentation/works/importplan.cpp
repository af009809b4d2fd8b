// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/works/importplan.h"

#include <QSet>

#include <algorithm>

namespace {

QString key(const QString &title, const QString &text)
{
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text)
        if (!c.isSpace())
            compact += c;
    // Texts and titles never meet: a text key is never empty, a title key starts with a tab.
    return compact.isEmpty() ? u'\t' + title.trimmed() : compact;
}

} // namespace

namespace importplan {

QList<ImportItem> plan(const QList<Poem> &poems, const QList<Work> &stored)
{
    QSet<QString> seen;
    seen.reserve(stored.size() + poems.size());
    for (const Work &work : stored)
        seen.insert(key(work.title, work.text));
    QList<ImportItem> items;
    items.reserve(poems.size());
    for (const Poem &poem : poems) {
        const QString k = key(poem.title, poem.text);
        const bool duplicate = seen.contains(k);
        seen.insert(k);
        items << ImportItem{poem, poem.lineCount(), duplicate};
    }
    return items;
}

QList<Poem> chosen(const QList<ImportItem> &items, const QList<int> &chosen)
{
    QList<int> order = chosen;
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    QList<Poem> out;
    for (const int i : order)
        if (i >= 0 && i < items.size())
            out << items[i].poem;
    return out;
}

} // namespace importplan
