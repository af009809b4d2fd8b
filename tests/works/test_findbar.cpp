// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/works/findbar.h"
#include "tests/testmain.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>

// A search over three titles, remembering what it was asked for.
class StubFind : public WorksFindModel {
public:
    QList<FoundWork> works;
    mutable QStringList asked;
    StubFind()
    {
        qint64 rowid = 0;
        for (const char *title : {"关山月", "月下独酌", "咏月"}) {
            FoundWork w;
            w.rowid = ++rowid;
            w.title = QString::fromUtf8(title);
            works << w;
        }
    }

protected:
    QList<FoundWork> search(const QString &text) const override
    {
        asked << text;
        QList<FoundWork> out;
        for (const FoundWork &w : works)
            if (w.title.contains(text))
                out << w;
        return out;
    }
};

// The find bar over a stub search: each keystroke finds; Down and Up pick a line, Return or a click
// chooses it, nothing is chosen when nothing was found; Escape closes the bar.
class TestFindBar : public QObject {
    Q_OBJECT

    void type(QWidget *edit, const QString &text)
    {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

private slots:
    void keysAndClicksChooseAWork()
    {
        QWidget page;
        page.resize(784, 518);
        StubFind model;
        WorksFindBar bar(&model, new QFrame(&page), &page);
        page.show();
        QVERIFY(!bar.isVisible());
        QSignalSpy chosen(&bar, &WorksFindBar::workChosen);
        QSignalSpy closed(&bar, &WorksFindBar::closed);
        bar.open();
        QLineEdit *edit = bar.edit();
        type(edit, QStringLiteral("月下"));
        QCOMPARE(model.asked, QStringList({QStringLiteral("月"), QStringLiteral("月下")}));
        QCOMPARE(bar.results()->findChild<QLabel *>()->text(), QStringLiteral("找到 1 篇"));
        type(edit, QStringLiteral("雪"));
        QVERIFY(!bar.list()->isVisible());
        QCOMPARE(bar.results()->findChild<QLabel *>()->text(), WorksFindModel::nothingFound);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(chosen.size(), 0);

        edit->clear();
        type(edit, QStringLiteral("月"));
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return})
            QTest::keyClick(edit, key);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.takeFirst().at(0).value<FoundWork>(), model.works[1]);
        QVERIFY(!bar.results()->isVisible());
        QTest::keyClick(edit, Qt::Key_Down);
        QListView *list = bar.list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(model.index(2)).center());
        QCOMPARE(chosen.takeFirst().at(0).value<FoundWork>(), model.works[2]);

        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!bar.isVisible());
        QCOMPARE(closed.size(), 1);
    }
};

SHIHAI_TEST_MAIN(TestFindBar)
#include "test_findbar.moc"
