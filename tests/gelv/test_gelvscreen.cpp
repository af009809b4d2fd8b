// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "pages/gelv/gelvwindow.h"
#include "pages/gelv/markedpoemview.h"
#include "pages/shared/boundcontrols.h"
#include "tests/support/booksfixture.h"
#include "tests/support/typing.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QAccessible>
#include <QScreen>
#include <QShortcut>

#include <memory>

using namespace Qt::StringLiterals;

// The 格律 window on a laptop's screen (1366×768, set by the test's platform): it takes its place
// beside the draft without covering it, and says its verdict to assistive tools.
class TestGelvScreen : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;
    TW *w = nullptr;

    DbRichEdit *draft() { return fx->child<DbRichEdit>(u"Edit_DBRichEdit"_s); }
    GelvWindow *openGelv()
    {
        fx->child<QShortcut>(u"W_gelv_Shortcut"_s)->activated();
        GelvWindow *gelv = w->findChild<GelvWindow *>(u"Gelv"_s);
        return gelv && QTest::qWaitForWindowExposed(gelv) ? gelv : nullptr;
    }
    static QRect onScreen(QWidget *widget)
    {
        return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        BooksFixture(prepared.dir() + u"/date/rhymebooks.db"_s)
            .add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东风红天"_s)
            .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木竹"_s);
    }
    void init()
    {
        fx = std::make_unique<WindowFixture>(prepared);
        w = fx->open();
    }
    void cleanup() { fx.reset(); }

    void theWindowNeverCoversTheDraft()
    {
        const QRect screen = w->screen()->availableGeometry();
        QCOMPARE(screen.width(), 1366);
        // The main window opens in the middle of the screen, with no room for the 格律 window beside it.
        QVERIFY(w->frameGeometry().right() + 440 > screen.right());
        GelvWindow *gelv = openGelv();
        QVERIFY(gelv);
        QVERIFY(!gelv->frameGeometry().intersects(onScreen(draft())));
        QVERIFY(!gelv->frameGeometry().intersects(w->frameGeometry())); // the main window moved left
        QVERIFY(screen.contains(w->frameGeometry()));
        QCOMPARE(gelv->frameGeometry().right(), screen.right());
    }

    void theVerdictIsSaidToAssistiveTools()
    {
        GelvWindow *gelv = openGelv();
        QVERIFY(gelv);
        typeText(draft(), u"木木天天木，天天木木东。"_s);
        auto *view = gelv->findChild<MarkedPoemView *>(u"Gelv_View"_s);
        QCOMPARE(view->accessibleName(), u"五言绝句 · 仄起首句不入韵 · 上平一东 · 已写2句，尚缺2句"_s);
        QCOMPARE(view->accessibleDescription().split(u'\n').first(), u"木木天天木 ●●○○●"_s);
        // What the interface assistive tools query reads the same.
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(view);
        QCOMPARE(iface->text(QAccessible::Name), view->accessibleName());
        typeText(draft(), u"天天木木木，"_s);
        QCOMPARE(iface->text(QAccessible::Name),
                 u"五言绝句 · 仄起首句不入韵 · 上平一东 · 已写3句，尚缺1句"_s);
    }
};

SHIHAI_TEST_MAIN(TestGelvScreen)
#include "test_gelvscreen.moc"
