// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/unihanentries.h"

#include "tools/common/builderror.h"

#include <optional>

namespace builddb {

std::optional<char32_t> unihanCodePoint(QByteArrayView text)
{
    bool ok = text.startsWith("U+");
    const char32_t cp = ok ? text.sliced(2).toByteArray().toUInt(&ok, 16) : 0;
    return ok ? std::optional<char32_t>(cp) : std::nullopt;
}

void forEachUnihanEntry(const QByteArray &text, const QString &file,
                        const std::function<void(char32_t, QByteArrayView, QByteArrayView)> &visit)
{
    qsizetype lineNo = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView line(text.constData() + start, end - start);
        start = end + 1;
        ++lineNo;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab1 = line.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
        const std::optional<char32_t> cp = tab1 < 0 ? std::nullopt : unihanCodePoint(line.first(tab1));
        if (tab2 < 0 || !cp)
            throw BuildError(
                file, QStringLiteral("line %1: expected a code point and two more tab-separated fields")
                          .arg(lineNo));
        visit(*cp, line.sliced(tab1 + 1, tab2 - tab1 - 1), line.sliced(tab2 + 1).trimmed());
    }
}

} // namespace builddb
