// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/statusbar.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <qdrawutil.h>

const QString StatusBar::updateDate = QStringLiteral("更新日期：2007-03-31");

namespace {
constexpr int panelWidths[2] = {330, 330}; // panel 2 takes the rest
constexpr int gap = 2;

// One painted panel as a screen reader sees it: static text at its place on the screen.
class PanelAccessible : public QAccessibleInterface {
public:
    PanelAccessible(StatusBar *bar, int panel)
        : m_bar(bar)
        , m_panel(panel)
    {
    }
    bool isValid() const override { return m_bar != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_bar->window()->windowHandle(); }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_bar); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name || t == QAccessible::Value ? m_bar->panelText(m_panel) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        const QRect r = m_bar->panelRect(m_panel);
        return QRect(m_bar->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        s.invisible = !m_bar->isVisible();
        return s;
    }

private:
    QPointer<StatusBar> m_bar;
    int m_panel;
};

// The bar with its three panels as children, since it paints them instead of holding widgets.
class StatusBarAccessible : public QAccessibleWidget {
public:
    explicit StatusBarAccessible(StatusBar *bar)
        : QAccessibleWidget(bar, QAccessible::StatusBar)
    {
        for (int i = 0; i < 3; ++i)
            m_panels[i] = QAccessible::registerAccessibleInterface(new PanelAccessible(bar, i));
    }
    ~StatusBarAccessible() override
    {
        for (QAccessible::Id id : m_panels)
            QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override { return 3; }
    QAccessibleInterface *child(int index) const override
    {
        return index >= 0 && index < 3 ? QAccessible::accessibleInterface(m_panels[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < 3; ++i)
            if (QAccessible::accessibleInterface(m_panels[i]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < 3; ++i)
            if (child(i)->rect().contains(x, y))
                return child(i);
        return nullptr;
    }

private:
    QAccessible::Id m_panels[3];
};

QAccessibleInterface *statusBarAccessible(const QString &, QObject *object)
{
    auto *bar = qobject_cast<StatusBar *>(object);
    return bar ? new StatusBarAccessible(bar) : nullptr;
}

} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("W_StatusBar"));
    setSizeGripEnabled(false);
    setFixedHeight(20);
    m_texts[2] = updateDate;
    for (int panel = 0; panel < 2; ++panel) {
        QTimer *timer = m_briefs[panel].timer = new QTimer(this);
        timer->setObjectName(QStringLiteral("W_StatusBar_brief%1").arg(panel));
        timer->setSingleShot(true);
        timer->setInterval(briefMs);
        connect(timer, &QTimer::timeout, this, [this, panel] { briefOver(panel); });
    }
    static const bool installed = [] {
        QAccessible::installFactory(statusBarAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    Q_ASSERT(panel == 0 || panel == 1); // panel 2 keeps the update date
    if (m_texts[panel] == text)
        return;
    m_texts[panel] = text;
    update(panelRect(panel));
    if (QAccessible::isActive()) {
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(this);
        QAccessibleEvent changed(bar->child(panel), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void StatusBar::showBriefly(int panel, const QString &text)
{
    Brief &brief = m_briefs[panel];
    // Shown again while still shown: the moment starts anew, and what it replaced stays the same.
    if (!brief.timer->isActive() || m_texts[panel] != brief.text)
        brief.replaced = m_texts[panel];
    brief.text = text;
    setPanelText(panel, text);
    brief.timer->start();
}

void StatusBar::briefOver(int panel)
{
    if (m_texts[panel] == m_briefs[panel].text)
        setPanelText(panel, m_briefs[panel].replaced);
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
