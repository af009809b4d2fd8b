// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QColor>
#include <QRect>

class QPainter;

// The class marks of the marked poem drawn as shapes rather than glyphs, so that ○ 平, ● 仄 and
// ◎ 中 stay apart at any size and in any font: a ring, a disc, a ring round a dot. Any other mark
// (？) is drawn as text in the painter's font.
namespace marks {

void paint(QPainter &painter, const QRect &cell, QChar mark, int diameter, const QColor &color);

} // namespace marks
