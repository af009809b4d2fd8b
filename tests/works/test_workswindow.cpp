// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "db/query.h"
#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/statusbar.h"
#include "tests/support/typing.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QTabWidget>
#include <QToolButton>

#include <memory>

using namespace schema;

// The works page inside the main window: its wiring, the coupling of category and mark as the user
// types and picks, the error boxes, and what closing the window writes.
class TestWorksWindow : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;

    static void addWork(const Fixture &file, const QString &title, const QString &category, int count,
                        const QString &date, const QString &mark = QString())
    {
        file.insert(tableWorks, {colTitle, colCategory, colCount, colDate, colMark},
                    {title, category, count, date, mark});
    }
    // The window shown and active, on the page 经典案例.
    TW *openWorksPage()
    {
        TW *w = fx->open();
        fx->showPage(3);
        return w;
    }
    template <class T> T *find(const QString &name) const { return fx->child<T>(name); }
    QComboBox *box(const QString &name) const { return find<QComboBox>(name); }
    QLineEdit *edit(const QString &name) const { return find<QLineEdit>(name); }
    void click(const QString &button) const { QTest::mouseClick(find<QToolButton>(button), Qt::LeftButton); }
    QStringList panels() const { return {fx->panel(0), fx->panel(1)}; }
    QString stored(const QString &column, const QString &title) const
    {
        return fx->value(QStringLiteral("select %1 from 作品 where 标题='%2'").arg(column, title));
    }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        addWork(prepared, QStringLiteral("秋兴"), QStringLiteral("甲类"), 8, QStringLiteral("2007-03-01"));
        addWork(prepared, QStringLiteral("春望"), QStringLiteral("甲类"), 4, QStringLiteral("2006-05-01"));
        addWork(prepared, QStringLiteral("戊作"), QStringLiteral("戊类"), 1, QStringLiteral("2007-01-01"));
    }
    void init() { fx = std::make_unique<WindowFixture>(prepared); }
    void cleanup() { fx.reset(); }

    void firstVisitShowsTheSeriesOfJia()
    {
        openWorksPage();
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共2个系列"), QStringLiteral("数目：共12首诗词")}));
        QCOMPARE(edit(QStringLiteral("bt_DBEdit"))->text(), QStringLiteral("秋兴"));
        QVERIFY(!find<QToolButton>(QStringLiteral("first_SpeedButton"))->isEnabled());
        QVERIFY(!find<QToolButton>(QStringLiteral("Prior_SpeedButton"))->isEnabled());
        QVERIFY(find<QToolButton>(QStringLiteral("next_SpeedButton"))->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), find<QWidget>(QStringLiteral("nr_DBRichEdit")));
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    void selectorListsOnEveryKeystroke()
    {
        openWorksPage();
        QLineEdit *selector = box(QStringLiteral("Show_ComboBox"))->lineEdit();
        QTest::mouseClick(selector, Qt::LeftButton);
        QTRY_VERIFY(selector->hasFocus());
        selector->selectAll();
        typeText(selector, QStringLiteral("戊"));
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共0条记录"), QString()}));
        typeText(selector, QStringLiteral("类"));
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共1条记录"), QString()}));
        QCOMPARE(edit(QStringLiteral("bt_DBEdit"))->text(), QStringLiteral("戊作"));
        // Another page and back: nothing is reset.
        auto *pages = find<QTabWidget>(QStringLiteral("W_PageControl"));
        pages->setCurrentIndex(0);
        pages->setCurrentIndex(3);
        QCOMPARE(box(QStringLiteral("Show_ComboBox"))->currentText(), QStringLiteral("戊类"));
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共1条记录"), QString()}));
    }

    void categoryAndMarkFollowEachOther()
    {
        openWorksPage();
        QComboBox *category = box(QStringLiteral("lb_DBComboBox"));
        QComboBox *mark = box(QStringLiteral("bj_DBComboBox"));
        typeOver(category->lineEdit(), QStringLiteral("乙类"));
        QCOMPARE(mark->currentText(), QStringLiteral(u"\uFFE1"));
        // The ordinary pound sign is no mark.
        typeOver(mark->lineEdit(), QStringLiteral(u"\u00A3"));
        QCOMPARE(category->currentText(), QStringLiteral("乙类"));
        // Picking ※ with the keyboard.
        mark->setCurrentIndex(3);
        QTest::keyClick(mark, Qt::Key_Down);
        QCOMPARE(mark->currentText(), QStringLiteral(u"\u203B"));
        QCOMPARE(category->currentText(), QStringLiteral("戊类"));
        click(QStringLiteral("ok_SpeedButton"));
        QCOMPARE(stored(colCategory, QStringLiteral("秋兴")), QStringLiteral("戊类"));
        QCOMPARE(stored(colMark, QStringLiteral("秋兴")), QStringLiteral(u"\u203B"));
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    void showingARowDoesNotCouple()
    {
        addWork(*fx, QStringLiteral("错配"), QStringLiteral("甲类"), 1, QStringLiteral("2005-01-01"),
                QStringLiteral("§"));
        TW *w = openWorksPage();
        click(QStringLiteral("last_SpeedButton"));
        QCOMPARE(box(QStringLiteral("lb_DBComboBox"))->currentText(), QStringLiteral("甲类"));
        QCOMPARE(box(QStringLiteral("bj_DBComboBox"))->currentText(), QStringLiteral("§"));
        QCOMPARE(w->database().Show_ADOQuery->state(), Query::State::Browse);
    }

    void addFocusesTheTitleAndCloseWritesTheNewWork()
    {
        TW *w = openWorksPage();
        click(QStringLiteral("add_SpeedButton"));
        QLineEdit *title = edit(QStringLiteral("bt_DBEdit"));
        QTRY_COMPARE(QApplication::focusWidget(), title);
        typeText(title, QStringLiteral("登高"));
        QVERIFY(w->close());
        QCOMPARE(stored(colCategory, QStringLiteral("登高")), QStringLiteral("甲类"));
        QCOMPARE(stored(colAuthor, QStringLiteral("登高")), QStringLiteral("无名氏"));
    }

    void editedFieldIsWrittenOnClose()
    {
        TW *w = openWorksPage();
        click(QStringLiteral("next_SpeedButton"));
        typeText(edit(QStringLiteral("zz_DBEdit")), QStringLiteral("杜甫"));
        QVERIFY(w->close());
        QCOMPARE(stored(colAuthor, QStringLiteral("春望")), QStringLiteral("杜甫"));
        QCOMPARE(stored(colAuthor, QStringLiteral("秋兴")), QString());
    }

    void deleteButtonAsksAndDeletes()
    {
        openWorksPage();
        fx->dialogs->answer = true;
        click(QStringLiteral("del_SpeedButton"));
        QCOMPARE(fx->dialogs->calls.size(), 1);
        QCOMPARE(fx->dialogs->calls[0].text, QStringLiteral("确定要删除此数据么？"));
        QCOMPARE(stored(colTitle, QStringLiteral("秋兴")), QString());
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共1个系列"), QStringLiteral("数目：共12首诗词")}));
    }

    void refusedWritesShowTheirReason()
    {
        TW *w = openWorksPage();
        QLineEdit *count = edit(QStringLiteral("sl_DBEdit"));
        typeOver(count, QStringLiteral("many"));
        click(QStringLiteral("ok_SpeedButton"));
        QCOMPARE(fx->dialogs->errors(), QStringList{QStringLiteral("数量只能填写整数，“many”不是整数。")});
        // Choosing another category stops at the same refusal and keeps the list.
        fx->dialogs->clear();
        box(QStringLiteral("Show_ComboBox"))->setCurrentIndex(4);
        QCOMPARE(fx->dialogs->errors(), QStringList{QStringLiteral("数量只能填写整数，“many”不是整数。")});
        QCOMPARE(box(QStringLiteral("Show_ComboBox"))->currentText(), QStringLiteral("-默认方式查询-"));
        QCOMPARE(edit(QStringLiteral("bt_DBEdit"))->text(), QStringLiteral("秋兴"));
        QCOMPARE(count->text(), QStringLiteral("many"));
        // Typed into the selector, the first character is refused the same way.
        fx->dialogs->clear();
        QLineEdit *selector = box(QStringLiteral("Show_ComboBox"))->lineEdit();
        selector->selectAll();
        typeText(selector, QStringLiteral("戊"));
        QCOMPARE(fx->dialogs->errors().size(), 1);
        QCOMPARE(selector->text(), QStringLiteral("-默认方式查询-"));
        QCOMPARE(w->database().Show_ADOQuery->state(), Query::State::Edit);
        fx->dialogs->clear();
        click(QStringLiteral("Cancel_SpeedButton"));
        QCOMPARE(count->text(), QStringLiteral("8"));
        box(QStringLiteral("Show_ComboBox"))->setCurrentIndex(4);
        QCOMPARE(edit(QStringLiteral("bt_DBEdit"))->text(), QStringLiteral("戊作"));
        QVERIFY(fx->dialogs->calls.isEmpty());
    }
};

SHIHAI_TEST_MAIN(TestWorksWindow)
#include "test_workswindow.moc"
