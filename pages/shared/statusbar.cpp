#include "statusbar.h"

#include <QPainter>

const QString StatusBar::updateDate = QStringLiteral("更新日期：2007-03-31");

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("W_StatusBar"));
    setSizeGripEnabled(false);
    setFixedHeight(20);
    const int widths[3] = {330, 330, 100};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new StatusPanel(this);
        m_panels[i]->setObjectName(QStringLiteral("W_StatusBar_Panel%1").arg(i));
        // The last panel also takes the rest of the bar, so the whole date shows.
        if (i < 2)
            m_panels[i]->setFixedWidth(widths[i]);
        else
            m_panels[i]->setMinimumWidth(widths[i]);
        addWidget(m_panels[i], i == 2 ? 1 : 0);
    }
    m_panels[2]->setText(updateDate);
}

QString StatusBar::panelText(int panel) const
{
    return m_panels[panel]->text();
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    Q_ASSERT(panel == 0 || panel == 1); // panel 2 keeps the update date
    m_panels[panel]->setText(text);
}

StatusPanel::StatusPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

void StatusPanel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

QSize StatusPanel::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(m_text) + 8, fontMetrics().height() + 4};
}

void StatusPanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(3, 0, -2, 0);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(m_text, Qt::ElideRight, area.width()));
}
