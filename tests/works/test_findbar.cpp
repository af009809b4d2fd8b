#include "pages/works/findbar.h"
#include "presentation/worksfindmodel.h"
#include "tests/testmain.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>

#include <memory>

// A search over a fixed list by title, remembering what it was asked for.
class StubFind : public WorksFindModel {
public:
    QList<FoundWork> works = {work(1, "甲类", "关山月"), work(2, "乙类", "月下独酌"),
                              work(3, "戊类", "咏月")};
    mutable QStringList asked;

    static FoundWork work(qint64 rowid, const char *category, const char *title)
    {
        FoundWork w;
        w.rowid = rowid;
        w.category = QString::fromUtf8(category);
        w.title = QString::fromUtf8(title);
        return w;
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

// The find bar over a stub search, on a bare page: Ctrl+F, finding as one types, the keys and the
// click that choose, and closing.
class TestFindBar : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> page;
    std::unique_ptr<StubFind> model;
    WorksFindBar *bar = nullptr;

    void type(const QString &text)
    {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, bar->edit(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    QString summary() const
    {
        return bar->results()->findChild<QLabel *>(QStringLiteral("find_Summary"))->text();
    }

private slots:
    void init()
    {
        page = std::make_unique<QWidget>();
        page->resize(784, 518);
        auto *conditionBar = new QFrame(page.get());
        conditionBar->setGeometry(0, 0, 784, 40);
        model = std::make_unique<StubFind>();
        bar = new WorksFindBar(model.get(), conditionBar, page.get());
        auto *content = new QLineEdit(page.get()); // where the user is when pressing Ctrl+F
        content->setObjectName(QStringLiteral("content"));
        content->setGeometry(0, 40, 400, 400);
        page->show();
        QApplication::setActiveWindow(page.get());
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
    }
    void cleanup()
    {
        page.reset();
        model.reset();
    }

    // Hidden until Ctrl+F; then every keystroke finds, and the list shows what was found.
    void ctrlFOpensItAndEachKeystrokeFinds()
    {
        QVERIFY(!bar->isVisible());
        QVERIFY(!bar->results()->isVisible());
        page->findChild<QLineEdit *>(QStringLiteral("content"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        QVERIFY(bar->edit()->hasFocus());
        type(QStringLiteral("月下"));
        QCOMPARE(model->asked, QStringList({QStringLiteral("月"), QStringLiteral("月下")}));
        QVERIFY(bar->results()->isVisible());
        QCOMPARE(bar->list()->model()->rowCount(), 1);
        QCOMPARE(summary(), QStringLiteral("找到 1 篇"));
        type(QStringLiteral("雪"));
        QVERIFY(!bar->list()->isVisible());
        QCOMPARE(summary(), WorksFindModel::nothingFound);
        QSignalSpy chosen(bar, &WorksFindBar::workChosen);
        QTest::keyClick(bar->edit(), Qt::Key_Return);
        QCOMPARE(chosen.size(), 0);
    }

    // Down and Up pick a line, Return chooses it; a click chooses its line; Escape closes.
    void keysAndClicksChooseAWork()
    {
        QSignalSpy chosen(bar, &WorksFindBar::workChosen);
        QSignalSpy closed(bar, &WorksFindBar::closed);
        bar->open();
        type(QStringLiteral("月"));
        QCOMPARE(bar->list()->model()->rowCount(), 3);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
            QTest::keyClick(bar->edit(), key);
        QTest::keyClick(bar->edit(), Qt::Key_Return);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.takeFirst().at(0).value<FoundWork>(), model->works[1]);
        QVERIFY(!bar->results()->isVisible());
        QVERIFY(bar->isVisible());

        QTest::keyClick(bar->edit(), Qt::Key_Down);
        QVERIFY(bar->results()->isVisible());
        QListView *list = bar->list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(2, 0)).center());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.takeFirst().at(0).value<FoundWork>(), model->works[2]);

        QTest::keyClick(bar->edit(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QCOMPARE(closed.size(), 1);
    }
};

SHIHAI_TEST_MAIN(TestFindBar)
#include "test_findbar.moc"
