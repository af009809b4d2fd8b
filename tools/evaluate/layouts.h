// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/converter.h"
#include "tools/evaluate/corpora.h"

#include <QList>
#include <QString>

#include <functional>

namespace evaluate {

// A way people paste a poem, dressing its plain text (simplified, a line a couplet or stanza with its stops).
struct Layout {
    QString name;
    std::function<QString(const SourcePoem &, int index)> dress;
    bool pair = false; // a 诗 pasted twice, as 其一 and 其二: two poems of the plain verdict
};

// The layouts of the invariance harness, the plain reading first.
QList<Layout> layouts(const builddb::Converter &s2t);

// Author lines as books and web pages print them: "（唐）李白", "唐·李白", "李白".
QString authorLine(const SourcePoem &poem, int style);

// The poem's lines without the stops at their ends ("a stanza a line", as web pages print).
QStringList withoutFinalStops(const QStringList &lines);

} // namespace evaluate
