// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

namespace builddb {

// The code point a Unihan file writes as "U+6A2A"; nothing for any other text.
std::optional<char32_t> unihanCodePoint(QByteArrayView text);

// Calls visit(code point, field, value) for every entry line of a Unihan file; throws BuildError
// naming the file on a line of another shape.
void forEachUnihanEntry(const QByteArray &text, const QString &file,
                        const std::function<void(char32_t, QByteArrayView, QByteArrayView)> &visit);

} // namespace builddb
