// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/gelvdesk.h"

#include "db/classicsschema.h"
#include "db/rhymebookschema.h"
#include "pages/gelv/editorfollower.h"
#include "pages/gelv/gelvwindow.h"
#include "pages/gelv/zoom.h"

#include <QLineEdit>
#include <QShortcut>
#include <QTextEdit>

GelvDesk::GelvDesk(QTextEdit *draft, QTextEdit *work, QLineEdit *workTitle, QWidget *mainWindow)
    : QObject(mainWindow)
    , m_draft(draft)
    , m_work(work)
    , m_workTitle(workTitle)
    , m_mainWindow(mainWindow)
{
    zoomEditor(draft, QStringLiteral("draft"));
    zoomEditor(work, QStringLiteral("work"));
    auto *f9 = new QShortcut(QKeySequence(Qt::Key_F9), mainWindow);
    f9->setObjectName(QStringLiteral("W_gelv_Shortcut"));
    connect(f9, &QShortcut::activated, this, [this] { window()->open(); });
}

GelvWindow *GelvDesk::window()
{
    if (m_window)
        return m_window;
    m_window =
        new GelvWindow(m_draft, rhymebookschema::defaultPath, classicsschema::defaultPath, m_mainWindow);
    EditorFollower *editors = m_window->editors();
    editors->add(m_work, EditorTarget::Kind::Work);
    const auto title = [this, editors] { editors->setTitle(m_work, m_workTitle->text()); };
    title();
    connect(m_workTitle, &QLineEdit::textChanged, editors, title);
    return m_window;
}

void GelvDesk::checkIn(QTextEdit *editor, const QString &hanzi)
{
    window()->editors()->follow(editor);
    if (hanzi.isEmpty())
        m_window->open();
    else
        m_window->lookUp(hanzi);
}
