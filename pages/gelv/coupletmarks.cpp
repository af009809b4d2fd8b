// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/coupletmarks.h"

#include "pages/shared/look.h"

#include <QPainter>

#include <cmath>

namespace coupletmarks {

namespace {

QColor colourOf(prosody::Parallel p)
{
    switch (p) {
    case prosody::Parallel::Strict:
        return QColor(0, 120, 60);
    case prosody::Parallel::Loose:
        return QColor(160, 100, 0);
    case prosody::Parallel::None:
        break;
    }
    return QColor(200, 0, 0);
}

} // namespace

int height(double scale)
{
    return int(std::lround(16 * scale));
}

void paint(QPainter &painter, const MarkedRow &row, int left, int top, int cell, double scale)
{
    QFont font = look::songFont();
    font.setPixelSize(int(std::lround(11 * scale)));
    painter.setFont(font);
    for (const CoupletMark &u : row.units) {
        const QRect span(left + u.from * cell + 3, top, u.length * cell - 6, height(scale));
        painter.setPen(colourOf(u.judgement));
        painter.drawLine(span.left(), span.top() + 1, span.right(), span.top() + 1);
        painter.drawText(span.adjusted(0, 2, 0, 0), Qt::AlignCenter, u.mark);
    }
}

} // namespace coupletmarks
