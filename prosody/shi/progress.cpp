// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/progress.h"

namespace prosody {

void addPendingLines(ShiPoem &poem)
{
    if (poem.formLines <= poem.lineCount() || poem.types.isEmpty())
        return;
    const int n = poem.length();
    const Variant variant{templateOf(poem.types.first(), n).at(1) == u'平', isRhymedType(poem.types.first())};
    const QList<LineType> types = lineTypes(variant, poem.formLines, n);
    const QList<int> fixed = fixedPositions(n);
    for (int l = poem.lineCount(); l < poem.formLines; ++l) {
        // The second line of a couplet begun answers the line written (after a 折腰 third line too):
        // 仄仄平平仄 and 仄仄仄平平 take 平平仄仄平, the others 仄仄仄平平, at five characters or seven.
        LineType type = types.at(l);
        if (l % 2 == 1 && l - 1 < poem.types.size()) {
            const LineType written = poem.types.at(l - 1);
            type = written == LineType::A || written == LineType::D ? LineType::B : LineType::D;
        }
        QString pattern = templateOf(type, n);
        for (int p = 1; p <= n; ++p)
            if (!fixed.contains(p))
                pattern[p - 1] = u'中';
        poem.out().pending.append({pattern, isRhymedType(type)});
    }
}

} // namespace prosody
