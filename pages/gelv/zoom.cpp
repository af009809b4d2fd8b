// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/zoom.h"

#include "presentation/gelv/gelvsettings.h"

#include <QShortcut>
#include <QTextEdit>
#include <QWheelEvent>

Zoom::Zoom(QWidget *widget, const QString &name, int min, int max, std::function<void(int)> apply)
    : QObject(widget)
    , m_name(name)
    , m_min(min)
    , m_max(max)
    , m_apply(std::move(apply))
{
    const auto keys = [&](const QList<QKeySequence> &sequences, auto step) {
        for (const QKeySequence &sequence : sequences) {
            auto *shortcut = new QShortcut(sequence, widget);
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            connect(shortcut, &QShortcut::activated, this, step);
        }
    };
    keys({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)},
         [this] { setLevel(m_level + 1); });
    keys({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { setLevel(m_level - 1); });
    keys({QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { setLevel(0); });
    watchWheel(widget);
    m_level = std::clamp(gelvsettings::zoom(m_name), m_min, m_max);
    if (m_level != 0)
        m_apply(m_level);
}

void Zoom::setLevel(int level)
{
    level = std::clamp(level, m_min, m_max);
    if (level == m_level)
        return;
    m_level = level;
    m_apply(level);
    gelvsettings::setZoom(m_name, level);
}

void Zoom::watchWheel(QWidget *area)
{
    area->installEventFilter(this);
}

bool Zoom::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            m_wheel += wheel->angleDelta().y();
            const int steps = m_wheel / QWheelEvent::DefaultDeltasPerStep;
            m_wheel -= steps * QWheelEvent::DefaultDeltasPerStep;
            if (steps != 0)
                setLevel(m_level + steps);
            return true; // never a scroll as well
        }
    }
    return QObject::eventFilter(watched, event);
}

Zoom *zoomEditor(QTextEdit *editor, const QString &name)
{
    const QFont made = editor->font();
    auto *zoom = new Zoom(editor, name, -2, 12, [editor, made](int level) {
        QFont font = made;
        if (made.pixelSize() > 0)
            font.setPixelSize(made.pixelSize() + 2 * level);
        else
            font.setPointSizeF(made.pointSizeF() * (1 + level / 6.0));
        editor->setFont(font);
    });
    zoom->watchWheel(editor->viewport());
    return zoom;
}
