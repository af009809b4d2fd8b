// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/statusbar.h"
#include "pages/works/findbar.h"
#include "pages/works/workspage.h"
#include "presentation/categories.h"
#include "presentation/works/transfer.h"
#include "presentation/worksfinder.h"
#include "presentation/worksmodel.h"
#include "tests/support/fixture.h"
#include "tests/support/typing.h"
#include "tests/testmain.h"

#include <QStyleOptionComboBox>

#include <QComboBox>
#include <QHeaderView>
#include <QToolButton>

#include <memory>

using namespace schema;

// The works page over a real file, without the main window: what its controls show of the model (the
// selector, the list, the detail panel, the buttons' states, the status bar), its question before a
// delete, and the controls' texts kept when a write is refused.
class TestWorksPage : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<QObject> owner;
    std::unique_ptr<Database> db;
    std::unique_ptr<StatusBar> status;
    std::unique_ptr<WorksPage> page;
    std::unique_ptr<ScriptedDialogs> dialogs;

    void addWork(const QString &title, const QString &category, const QVariant &count, const QString &date,
                 const QString &mark = QString())
    {
        fx->insert(tableWorks, {colTitle, colCategory, colCount, colDate, colMark},
                   {title, category, count, date, mark});
    }
    // Opens the database as the window does at start-up, and computes the total as FormShow does.
    void openPage()
    {
        owner = std::make_unique<QObject>();
        db = std::make_unique<Database>(fx->path(), owner.get());
        status = std::make_unique<StatusBar>();
        auto *model = new WorksModel(*db);
        page = std::make_unique<WorksPage>(model, new WorksFinder(*db),
                                           std::make_unique<WorksTransfer>(*db, *model), status.get());
        page->computeWorksTotal();
    }
    Query *works() const { return db->Show_ADOQuery; }
    QStringList panels() const { return {status->panelText(0), status->panelText(1)}; }
    QStringList listed() const
    {
        QStringList titles;
        QAbstractItemModel *m = page->Show_DBGrid->model();
        for (int r = 0; r < m->rowCount(); ++r)
            titles << m->index(r, 0).data().toString();
        return titles;
    }
    // The selector's text changed: the page runs the change action on every change.
    void choose(const QString &text) { page->Show_ComboBox->setEditText(text); }
    // Enabled states of 顶端, 上一篇, 下一篇, 末尾 as four digits.
    QString buttons() const
    {
        QString out;
        for (QToolButton *b : {page->first_SpeedButton, page->Prior_SpeedButton, page->next_SpeedButton,
                               page->last_SpeedButton})
            out += b->isEnabled() ? u'1' : u'0';
        return out;
    }
    QString stored(const QString &column, const QString &title) const
    {
        return fx->value(QStringLiteral("select %1 from 作品 where 标题='%2'").arg(column, title));
    }
    void threeSeries()
    {
        addWork(QStringLiteral("一"), QStringLiteral("甲类"), 5, QStringLiteral("2007-03-03"));
        addWork(QStringLiteral("三"), QStringLiteral("甲类"), 9, QStringLiteral("2007-01-01"));
        addWork(QStringLiteral("二"), QStringLiteral("甲类"), 7, QStringLiteral("2007-02-02"));
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        dialogs = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        page.reset();
        status.reset();
        db.reset();
        owner.reset();
        dialogs.reset();
        fx.reset();
    }

    // Every mark shows whole and readable in its 49-pixel box: the arrow leaves its text the room.
    void marksFitTheirBox()
    {
        openPage();
        page->show();
        QComboBox *mark = page->bj_DBComboBox;
        QCOMPARE(mark->geometry(), QRect(58, 88, 49, 20));
        QVERIFY(mark->font().pixelSize() >= 14);
        QStyleOptionComboBox option;
        option.initFrom(mark);
        option.editable = mark->isEditable();
        const QRect field =
            mark->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, mark);
        for (const QString &text : categories::markTexts())
            QVERIFY2(mark->fontMetrics().horizontalAdvance(text) <= field.width(), qPrintable(text));
        QVERIFY(mark->lineEdit()->width() >= mark->fontMetrics().horizontalAdvance(QStringLiteral("『』")));
        QStringList marks;
        for (int i = 0; i < mark->count(); ++i)
            marks << mark->itemText(i);
        QCOMPARE(marks, categories::markTexts());
        QCOMPARE(page->lb_DBComboBox->count(), 5);
    }

    void startsOnTheDefaultQueryOfJia()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        openPage();
        QCOMPARE(page->Show_ComboBox->currentText(), QStringLiteral("-默认方式查询-"));
        QCOMPARE(page->Show_ComboBox->count(), 5);
        QCOMPARE(page->Show_ComboBox->itemText(0), QStringLiteral("甲类"));
        QCOMPARE(listed(), QStringList({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));
        // The total was taken without the detail panel following the walk: it shows the first row.
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("一"));
        QCOMPARE(page->Show_DBGrid->currentIndex().row(), 0);
        QCOMPARE(buttons(), QStringLiteral("0011"));
        QCOMPARE(page->Show_DBGrid->columnWidth(0), 73);
        QVERIFY(!page->Show_DBGrid->horizontalHeader()->isVisible());
        QVERIFY(page->Show_DBGrid->isReadOnly());
        QCOMPARE(page->Show_DBGrid->model()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        page->ShowShow();
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共3个系列"), QStringLiteral("数目：共21首诗词")}));
        // Picking a category in the selector lists it.
        page->Show_ComboBox->setCurrentIndex(1);
        QCOMPARE(listed(), QStringList{QStringLiteral("乙")});
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共1条记录"), QString()}));
    }

    // The buttons, clicked, move the list and the panel, and take the states the model gives them.
    void buttonsMoveTheListAndThePanel()
    {
        threeSeries();
        openPage();
        const auto click = [&](QToolButton *button) { QTest::mouseClick(button, Qt::LeftButton); };
        click(page->next_SpeedButton);
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("二"));
        QCOMPARE(page->Show_DBGrid->currentIndex().row(), 1);
        QCOMPARE(buttons(), QStringLiteral("1111"));
        click(page->last_SpeedButton);
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("三"));
        QCOMPARE(page->Show_DBGrid->currentIndex().row(), 2);
        QCOMPARE(buttons(), QStringLiteral("1100"));
        click(page->Prior_SpeedButton);
        QCOMPARE(page->Show_DBGrid->currentIndex().row(), 1);
        QCOMPARE(buttons(), QStringLiteral("1111"));
        click(page->first_SpeedButton);
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("一"));
        QCOMPARE(page->Show_DBGrid->currentIndex().row(), 0);
        QCOMPARE(buttons(), QStringLiteral("0011"));
        QVERIFY(dialogs->calls.isEmpty());
    }

    void addShowsThePresetsInThePanel()
    {
        threeSeries();
        addWork(QStringLiteral("丙"), QStringLiteral("丙类"), 1, QStringLiteral("2007-01-01"));
        openPage();
        choose(QStringLiteral("丙类"));
        page->add_SpeedButtonClick();

        QCOMPARE(page->lb_DBComboBox->currentText(), QStringLiteral("丙类"));
        QCOMPARE(page->bj_DBComboBox->currentText(), QStringLiteral(u"\u00A7"));
        QCOMPARE(page->sl_DBEdit->text(), QStringLiteral("0"));
        QCOMPARE(page->zz_DBEdit->text(), QStringLiteral("无名氏"));
        QCOMPARE(page->cc_DBEdit->text(), QStringLiteral("【听雨小筑】"));
        QCOMPARE(page->wz_DBEdit->text(), QStringLiteral("https://github.com/chinese-poetry/chinese-poetry"));
        QCOMPARE(page->rq_DBEdit->text(), dates::display(QDate::currentDate()));
        QCOMPARE(page->bt_DBEdit->text(), QString());
        QCOMPARE(page->bz_DBRichEdit->toPlainText(), QString());
        QCOMPARE(page->nr_DBRichEdit->toPlainText(), QString());
        QCOMPARE(page->Show_DBGrid->currentIndex().row(), 0);

        // What is typed into the panel is part of the new work.
        typeText(page->bt_DBEdit, QStringLiteral("新作"));
        page->ok_SpeedButtonClick();
        QCOMPARE(stored(colCategory, QStringLiteral("新作")), QStringLiteral("丙类"));
        QCOMPARE(stored(colAuthor, QStringLiteral("新作")), QStringLiteral("无名氏"));
        QCOMPARE(works()->state(), Query::State::Browse);
    }

    void typedTextIsWrittenOrCancelled()
    {
        threeSeries();
        openPage();
        page->next_SpeedButtonClick();
        typeText(page->bz_DBRichEdit, QStringLiteral("秋夜"));
        typeText(page->nr_DBRichEdit, QStringLiteral("床前"));
        QCOMPARE(works()->state(), Query::State::Edit);
        page->ok_SpeedButtonClick();
        QCOMPARE(stored(colRemarks, QStringLiteral("二")), QStringLiteral("秋夜"));
        QCOMPARE(stored(colContent, QStringLiteral("二")), QStringLiteral("床前"));

        page->add_SpeedButtonClick();
        typeText(page->bt_DBEdit, QStringLiteral("弃"));
        page->Cancel_SpeedButtonClick();
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("二"));
        typeOver(page->zz_DBEdit, QStringLiteral("改"));
        page->Cancel_SpeedButtonClick();
        QCOMPARE(page->zz_DBEdit->text(), QString());
        QCOMPARE(fx->count(tableWorks), 4);
    }

    void deleteAsksFirst()
    {
        threeSeries();
        openPage();
        page->next_SpeedButtonClick();
        dialogs->answer = false;
        status->setPanelText(0, QString());
        page->del_SpeedButtonClick();
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].kind, QStringLiteral("yesno"));
        QCOMPARE(dialogs->calls[0].title, QStringLiteral("Confirm"));
        QCOMPARE(dialogs->calls[0].text, QStringLiteral("确定要删除此数据么？"));
        QCOMPARE(fx->count(tableWorks), 4);
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共3个系列"), QStringLiteral("数目：共21首诗词")}));

        dialogs->answer = true;
        page->del_SpeedButtonClick();
        QCOMPARE(stored(colTitle, QStringLiteral("二")), QString());
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("三")); // the following row
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共2个系列"), QStringLiteral("数目：共21首诗词")}));
        QCOMPARE(listed(), QStringList({QStringLiteral("一"), QStringLiteral("三")}));
    }

    void refusedValueKeepsTheUsersRow_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::newRow("count") << "sl_DBEdit"
                               << "七首";
        QTest::newRow("date") << "rq_DBEdit"
                              << "2007-13-45";
    }
    void refusedValueKeepsTheUsersRow()
    {
        threeSeries();
        openPage();
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        auto *field = page->findChild<QLineEdit *>(edit);
        QVERIFY(field);
        typeText(page->zz_DBEdit, QStringLiteral("王维"));
        typeOver(field, typed);
        status->setPanelText(0, QStringLiteral("旧"));
        QVERIFY_THROWS_EXCEPTION(DbError, page->ok_SpeedButtonClick());
        QCOMPARE(field->text(), typed);
        QCOMPARE(page->zz_DBEdit->text(), QStringLiteral("王维"));
        QCOMPARE(status->panelText(0), QStringLiteral("旧"));
        // A move is refused the same way and the buttons stay.
        QVERIFY_THROWS_EXCEPTION(DbError, page->next_SpeedButtonClick());
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("一"));
        QCOMPARE(buttons(), QStringLiteral("0011"));
    }

    void refusedWriteStopsTheCategoryChange()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        openPage();
        page->ShowShow();
        typeOver(page->sl_DBEdit, QStringLiteral("x"));
        page->Show_ComboBox->setCurrentIndex(1); // picks 乙类; the guard shows the refusal
        QCOMPARE(dialogs->errors(), QStringList{QStringLiteral("数量只能填写整数，“x”不是整数。")});
        // The list, the row and the status stay; the selector names the listed works again.
        QCOMPARE(page->Show_ComboBox->currentText(), QStringLiteral("-默认方式查询-"));
        QCOMPARE(listed(), QStringList({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));
        QCOMPARE(page->sl_DBEdit->text(), QStringLiteral("x"));
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共3个系列"), QStringLiteral("数目：共21首诗词")}));
        // "添加" still reads the listed category.
        typeOver(page->sl_DBEdit, QStringLiteral("6"));
        page->add_SpeedButtonClick();
        QCOMPARE(page->lb_DBComboBox->currentText(), QStringLiteral("甲类"));
        page->Cancel_SpeedButtonClick();
        QCOMPARE(stored(colCount, QStringLiteral("一")), QStringLiteral("6"));

        // From a chosen category the selector goes back to it.
        choose(QStringLiteral("乙类"));
        typeOver(page->sl_DBEdit, QStringLiteral("y"));
        page->Show_ComboBox->setCurrentIndex(2);
        QCOMPARE(page->Show_ComboBox->currentText(), QStringLiteral("乙类"));
        QCOMPARE(listed(), QStringList{QStringLiteral("乙")});
    }

    // Ctrl+F, a few characters and Return: the list moves to the work found, whatever category is
    // listed, with the buttons its place allows; the work being edited is written first, as a pick
    // of the category writes it.
    void findBarMovesTheListToTheWorkChosen()
    {
        threeSeries();
        addWork(QStringLiteral("戊一"), QStringLiteral("戊类"), 1, QStringLiteral("2008-01-01"));
        addWork(QStringLiteral("江雪"), QStringLiteral("戊类"), 1, QStringLiteral("2006-01-01"));
        openPage();
        page->show();
        QApplication::setActiveWindow(page.get());
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        page->ShowShow();
        typeOver(page->zz_DBEdit, QStringLiteral("柳宗元"));
        QTest::keyClick(page->nr_DBRichEdit, Qt::Key_F, Qt::ControlModifier);
        QLineEdit *find = page->findBar()->edit();
        QVERIFY(find->hasFocus());
        typeText(find, QStringLiteral("江雪"));
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(page->Show_ComboBox->currentText(), QStringLiteral("戊类"));
        QCOMPARE(listed(), QStringList({QStringLiteral("戊一"), QStringLiteral("江雪")}));
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("江雪"));
        QCOMPARE(buttons(), QStringLiteral("1100"));
        QCOMPARE(stored(colAuthor, QStringLiteral("一")), QStringLiteral("柳宗元"));
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共2条记录"), QString()}));

        typeOver(find, QStringLiteral("二"));
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(page->Show_ComboBox->currentText(), QStringLiteral("甲类"));
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("二"));
        QCOMPARE(buttons(), QStringLiteral("1111"));
        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(!page->findBar()->isVisible());
        QVERIFY(page->nr_DBRichEdit->hasFocus());
        QVERIFY(dialogs->calls.isEmpty());
    }
};

SHIHAI_TEST_MAIN(TestWorksPage)
#include "test_workspage.moc"
