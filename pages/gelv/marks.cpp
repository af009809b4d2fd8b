// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/marks.h"

#include <QPainter>

namespace marks {

void paint(QPainter &painter, const QRect &cell, QChar mark, int diameter, const QColor &color)
{
    if (mark != u'○' && mark != u'●' && mark != u'◎') {
        painter.setPen(color);
        painter.drawText(cell, Qt::AlignCenter, QString(mark));
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = std::max(1.0, diameter / 8.0);
    const QPointF centre = QRectF(cell).center();
    const qreal radius = (diameter - pen) / 2.0;
    painter.setPen(QPen(color, pen));
    painter.setBrush(mark == u'●' ? QBrush(color) : Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    if (mark == u'◎') { // the dot well inside the ring, apart from it even when small
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(centre, radius * 0.45, radius * 0.45);
    }
    painter.restore();
}

} // namespace marks
