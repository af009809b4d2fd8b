// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Text as a terminal shows it, where a Chinese character takes two columns: widths and lines
// broken to fit, between any two Chinese characters or at a space, never before a closing mark
// nor after an opening one.
namespace columns {

int width(QStringView text);
// The lines of `text` at most `limit` columns wide (a word longer than that stands alone).
QStringList wrap(QStringView text, int limit);

} // namespace columns
