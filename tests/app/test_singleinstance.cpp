// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/instance/singleinstance.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QFileInfo>

#include <chrono>
#include <future>

using namespace std::chrono_literals;

// One copy per database, through the check's own API: a later start on the same database, by any
// path to it, brings the first copy's window forward; one that cannot reach the first says so; the
// lock goes with its copy.
class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void laterStartBringsTheFirstCopyForward()
    {
        Fixture fx;
        SingleInstance first(fx.path());
        QVERIFY(first.isFirst());
        QWidget window;
        first.raiseOnRequest(&window);
        window.showMinimized();
        QVERIFY(window.isMinimized());

        // The later start runs beside the first copy's event loop, as another process would.
        WorkingDirectory cwd(fx.dir());
        auto later = std::async(std::launch::async, [] {
            SingleInstance second(QStringLiteral("date/W.mdb"));
            return second.isFirst() ? -1 : int(second.askFirstToShow());
        });
        QTRY_VERIFY(later.wait_for(0s) == std::future_status::ready);
        QCOMPARE(later.get(), 1);
        QVERIFY(!window.isMinimized());
        QTRY_VERIFY(window.isActiveWindow());

        Fixture other;
        QVERIFY(SingleInstance(other.path()).isFirst());
    }

    // The first copy's event loop does not run: the later one says the program is running.
    void unreachableFirstCopyIsSaid()
    {
        Fixture fx;
        SingleInstance first(fx.path());
        ScriptedDialogs dialogs;
        SingleInstance second(fx.path());
        QVERIFY(!second.isFirst());
        QCOMPARE(second.handOver(200), 1);
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].text, QStringLiteral("诗海拾贝已在运行"));
    }

    void lockGoesWithItsCopy()
    {
        Fixture fx;
        const QString lock = SingleInstance::lockFileFor(fx.path());
        QCOMPARE(lock, fx.path() + QStringLiteral(".lock"));
        {
            SingleInstance first(fx.path());
            QVERIFY(QFileInfo::exists(lock));
        }
        QVERIFY(!QFileInfo::exists(lock));
        SingleInstance next(fx.path());
        QVERIFY(next.isFirst());
    }
};

SHIHAI_TEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
