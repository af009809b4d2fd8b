// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/windowfixture.h"

#include "pages/shared/statusbar.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>

WindowFixture::WindowFixture()
    : m_cwd(dir())
{
}

WindowFixture::WindowFixture(const Fixture &prepared)
    : Fixture(prepared)
    , m_cwd(dir())
{
}

TW *WindowFixture::open()
{
    m_window.reset();
    m_started = false;
    m_window = std::make_unique<TW>();
    QObject::connect(m_window.get(), &TW::started, m_window.get(), [this] { m_started = true; });
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    if (!QTest::qWaitForWindowActive(m_window.get()))
        QTest::qFail("the window did not become active", __FILE__, __LINE__);
    else if (!QTest::qWaitFor([this] { return m_started; }))
        QTest::qFail("the window's start did not run", __FILE__, __LINE__);
    return m_window.get();
}

void WindowFixture::showPage(int index) const
{
    child<QTabWidget>(QStringLiteral("W_PageControl"))->setCurrentIndex(index);
}

QString WindowFixture::panel(int index) const
{
    return m_window->statusPanels()->panelText(index);
}
