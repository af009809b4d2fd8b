// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/textimporter.h"
#include "presentation/works/work.h"

#include <QList>

// What an import would add, shown before anything is written: each poem of the file with its line
// count, and whether it looks like a duplicate of a stored work or of a poem earlier in the file
// (the same text, white space aside; the same title when there is no text).
struct ImportItem {
    Poem poem;
    int lines = 0;
    bool duplicate = false;
};

namespace importplan {

QList<ImportItem> plan(const QList<Poem> &poems, const QList<Work> &stored);
// The poems of the items at `chosen`, in file order.
QList<Poem> chosen(const QList<ImportItem> &items, const QList<int> &chosen);

} // namespace importplan
