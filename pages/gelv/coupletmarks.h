// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/markedrows.h"

class QPainter;

// How the marked poem draws a couplet's row: under each unit of the rhythm its mark, 工 in green, 宽
// in the colour of advice, 未对 in red, with a thin bracket over the unit's characters.
namespace coupletmarks {

// The row's height at the view's zoom (1 at the usual size).
int height(double scale);

// row is of kind Couplet; left is where the line's first character starts, cell a character's width.
void paint(QPainter &painter, const MarkedRow &row, int left, int top, int cell, double scale);

} // namespace coupletmarks
