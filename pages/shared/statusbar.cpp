#include "statusbar.h"

#include <QPainter>
#include <qdrawutil.h>

const QString StatusBar::updateDate = QStringLiteral("更新日期：2007-03-31");

namespace {
constexpr int panelWidths[2] = {330, 330}; // panel 2 takes the rest
constexpr int gap = 2;
} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("W_StatusBar"));
    setSizeGripEnabled(false);
    setFixedHeight(20);
    m_texts[2] = updateDate;
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    Q_ASSERT(panel == 0 || panel == 1); // panel 2 keeps the update date
    if (m_texts[panel] == text)
        return;
    m_texts[panel] = text;
    update(panelRect(panel));
}

QRect StatusBar::panelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += panelWidths[i];
    const int right = panel < 2 ? left + panelWidths[panel] : width();
    return QRect(left, gap, right - left - gap, height() - gap);
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int i = 0; i < 3; ++i) {
        const QRect panel = panelRect(i);
        qDrawShadePanel(&painter, panel, palette(), true, 1);
        const QRect text = panel.adjusted(3, 0, -2, 0);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(m_texts[i], Qt::ElideRight, text.width()));
    }
}
