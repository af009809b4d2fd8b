#include "db/database.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/statusbar.h"
#include "pages/works/categories.h"
#include "pages/works/workspage.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QStyleOptionComboBox>

#include <QComboBox>
#include <QHeaderView>
#include <QRegularExpression>
#include <QToolButton>

#include <memory>

using namespace schema;

// The works page over a real file, without the main window: the list, its status texts and
// buttons, and the editing actions, called as the window's handlers call them.
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
        page = std::make_unique<WorksPage>(*db, status.get());
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
    // The selector's text changed: the window runs the change action on every change.
    void choose(const QString &text)
    {
        page->Show_ComboBox->setEditText(text);
        page->Show_ComboBoxChange();
    }
    // Enabled states of 顶端, 上一篇, 下一篇, 末尾 as four digits.
    QString buttons() const
    {
        QString out;
        for (QToolButton *b : {page->first_SpeedButton, page->Prior_SpeedButton, page->next_SpeedButton,
                               page->last_SpeedButton})
            out += b->isEnabled() ? u'1' : u'0';
        return out;
    }
    static void typeText(QWidget *w, const QString &text)
    {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    static void retype(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        typeText(edit, text);
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
    }

    void marksAreTheExactCodePoints()
    {
        QCOMPARE(categories::categoryTexts(),
                 QStringList({QStringLiteral("甲类"), QStringLiteral("乙类"), QStringLiteral("丙类"),
                              QStringLiteral("丁类"), QStringLiteral("戊类")}));
        QList<QList<char16_t>> codes;
        for (const QString &mark : categories::markTexts()) {
            QList<char16_t> units;
            for (const QChar c : mark)
                units << c.unicode();
            codes << units;
        }
        QCOMPARE(codes, (QList<QList<char16_t>>{{0x300E, 0x300F}, {0xFFE1}, {0x00A7}, {0xFFE0}, {0x203B}}));
        QCOMPARE(categories::categoryOf(QString(QChar(0x00A3))), std::nullopt);
        QCOMPARE(categories::categoryOf(QString(QChar(0x00A2))), std::nullopt);
        QCOMPARE(categories::markOf(QStringLiteral("甲")), std::nullopt);
    }

    void worksTotalSumsTheSeriesOfJia_data()
    {
        QTest::addColumn<QVariantList>("counts");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("poems");
        QTest::newRow("three series") << QVariantList{5, 7, 9} << QStringLiteral("结果：共3个系列")
                                      << QStringLiteral("数目：共21首诗词");
        QTest::newRow("no series") << QVariantList{} << QStringLiteral("结果：共0个系列")
                                   << QStringLiteral("数目：共0首诗词");
        QTest::newRow("missing and empty numbers count 0")
            << QVariantList{4, QVariant(), QString()} << QStringLiteral("结果：共3个系列")
            << QStringLiteral("数目：共4首诗词");
        QTest::newRow("large numbers are not grouped")
            << QVariantList{12000, 345} << QStringLiteral("结果：共2个系列")
            << QStringLiteral("数目：共12345首诗词");
    }
    void worksTotalSumsTheSeriesOfJia()
    {
        QFETCH(QVariantList, counts);
        for (int i = 0; i < counts.size(); ++i)
            addWork(QStringLiteral("系列%1").arg(i), QStringLiteral("甲类"), counts[i],
                    QStringLiteral("2007-01-%1").arg(i + 10));
        addWork(QStringLiteral("别类"), QStringLiteral("乙类"), 100, QStringLiteral("2007-02-01"));
        openPage();
        // Left on its first row, as if never walked.
        QCOMPARE(works()->currentRow(), counts.isEmpty() ? -1 : 0);
        QVERIFY(works()->bof());
        QCOMPARE(page->bt_DBEdit->text(),
                 counts.isEmpty() ? QString() : QStringLiteral("系列%1").arg(counts.size() - 1));
        page->ShowShow();
        QFETCH(QString, condition);
        QFETCH(QString, poems);
        QCOMPARE(panels(), QStringList({condition, poems}));
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
        QCOMPARE(buttons(), QStringLiteral("0011"));
        QCOMPARE(page->Show_DBGrid->columnWidth(0), 73);
        QVERIFY(!page->Show_DBGrid->horizontalHeader()->isVisible());
        QVERIFY(page->Show_DBGrid->isReadOnly());
        QCOMPARE(page->Show_DBGrid->model()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
    }

    void statusFormsFollowTheirOwnTests()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        openPage();
        const QStringList series = {QStringLiteral("结果：共3个系列"), QStringLiteral("数目：共21首诗词")};
        page->ShowShow();
        QCOMPARE(panels(), series);
        choose(QStringLiteral("乙类"));
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共1条记录"), QString()}));
        choose(QStringLiteral("甲类"));
        QCOMPARE(panels(), series);
        // Typed back, the default text lists nothing: the category change reads it as records...
        choose(QStringLiteral("-默认方式查询-"));
        QCOMPARE(listed(), QStringList());
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共0条记录"), QString()}));
        // ...while showing the page, committing and deleting read it as series.
        page->ShowShow();
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共0个系列"), QStringLiteral("数目：共21首诗词")}));
        status->setPanelText(0, QString());
        page->ok_SpeedButtonClick();
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共0个系列"), QStringLiteral("数目：共21首诗词")}));
        dialogs->answer = false;
        choose(QStringLiteral("乙类"));
        status->setPanelText(0, QString());
        page->del_SpeedButtonClick();
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共1条记录"), QString()}));
    }

    void navigation_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("before"); // presses that reach the starting row
        QTest::addColumn<QChar>("press");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("enabled");
        const QString one = QStringLiteral("一"), two = QStringLiteral("二"), three = QStringLiteral("三");
        // f 顶端, p 上一篇, n 下一篇, l 末尾
        QTest::newRow("first: 顶端") << 3 << "" << QChar('f') << one << "0011";
        QTest::newRow("first: 上一篇 does not move") << 3 << "" << QChar('p') << one << "0011";
        QTest::newRow("first: 下一篇") << 3 << "" << QChar('n') << two << "1111";
        QTest::newRow("first: 末尾") << 3 << "" << QChar('l') << three << "1100";
        QTest::newRow("middle: 顶端") << 3 << "n" << QChar('f') << one << "0011";
        QTest::newRow("middle: 上一篇 onto the first row") << 3 << "n" << QChar('p') << one << "1111";
        QTest::newRow("middle: 下一篇 onto the last row") << 3 << "n" << QChar('n') << three << "1111";
        QTest::newRow("middle: 末尾") << 3 << "n" << QChar('l') << three << "1100";
        QTest::newRow("last: 顶端") << 3 << "l" << QChar('f') << one << "0011";
        QTest::newRow("last: 上一篇") << 3 << "l" << QChar('p') << two << "1111";
        QTest::newRow("last: 下一篇 does not move") << 3 << "l" << QChar('n') << three << "1100";
        QTest::newRow("last: 末尾") << 3 << "l" << QChar('l') << three << "1100";
        QTest::newRow("stepped onto first: 上一篇 disables") << 3 << "np" << QChar('p') << one << "0011";
        QTest::newRow("stepped onto last: 下一篇 disables") << 3 << "nn" << QChar('n') << three << "1100";
        QTest::newRow("one row: 下一篇") << 1 << "" << QChar('n') << one << "1100";
        QTest::newRow("one row: 上一篇") << 1 << "" << QChar('p') << one << "0011";
        QTest::newRow("one row: 末尾 then 上一篇") << 1 << "l" << QChar('p') << one << "0011";
        QTest::newRow("one row: 顶端") << 1 << "l" << QChar('f') << one << "0011";
        QTest::newRow("empty: 下一篇") << 0 << "" << QChar('n') << ""
                                       << "1100";
        QTest::newRow("empty: 上一篇") << 0 << "n" << QChar('p') << ""
                                       << "0011";
        QTest::newRow("empty: 顶端") << 0 << "l" << QChar('f') << ""
                                     << "0011";
        QTest::newRow("empty: 末尾") << 0 << "" << QChar('l') << ""
                                     << "1100";
    }
    void navigation()
    {
        QFETCH(int, rows);
        const QStringList titles = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")};
        for (int i = 0; i < rows; ++i)
            addWork(titles[i], QStringLiteral("甲类"), 1, QStringLiteral("2007-0%1-01").arg(9 - i));
        openPage();
        auto click = [&](QChar c) {
            switch (c.unicode()) {
            case 'f':
                page->first_SpeedButtonClick();
                break;
            case 'p':
                page->Prior_SpeedButtonClick();
                break;
            case 'n':
                page->next_SpeedButtonClick();
                break;
            default:
                page->last_SpeedButtonClick();
            }
        };
        QFETCH(QString, before);
        for (const QChar c : before)
            click(c);
        QFETCH(QChar, press);
        click(press);
        QFETCH(QString, shown);
        QFETCH(QString, enabled);
        QCOMPARE(page->bt_DBEdit->text(), shown);
        QCOMPARE(page->Show_DBGrid->currentIndex().row(), titles.indexOf(shown));
        QCOMPARE(buttons(), enabled);
    }

    void categoryChangeLeavesTheButtonsAlone()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        addWork(QStringLiteral("乙二"), QStringLiteral("乙类"), 1, QStringLiteral("2007-01-01"));
        openPage();
        page->last_SpeedButtonClick();
        choose(QStringLiteral("乙类"));
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("乙"));
        QCOMPARE(buttons(), QStringLiteral("1100"));
        page->Prior_SpeedButtonClick();
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("乙"));
        QCOMPARE(buttons(), QStringLiteral("0011"));
        page->ShowShow();
        QCOMPARE(buttons(), QStringLiteral("0011"));
    }

    void categoryChangeListsNewestFirstThroughALiteral()
    {
        addWork(QStringLiteral("旧"), QStringLiteral("丙类"), 1, QStringLiteral("2005-12-31"));
        addWork(QStringLiteral("新"), QStringLiteral("丙类"), 1, QStringLiteral("2008-01-02"));
        addWork(QStringLiteral("中"), QStringLiteral("丙类"), 1, QStringLiteral("2007-11-30"));
        addWork(QStringLiteral("中早"), QStringLiteral("丙类"), 1, QStringLiteral("2007-02-01"));
        addWork(QStringLiteral("别"), QStringLiteral("丙类别"), 1, QStringLiteral("2009-01-01"));
        addWork(QStringLiteral("引"), QStringLiteral("他说\"好\""), 1, QStringLiteral("2009-01-01"));
        openPage();
        choose(QStringLiteral("丙"));
        QCOMPARE(listed(), QStringList());
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共0条记录"), QString()}));
        choose(QStringLiteral("丙类"));
        QCOMPARE(works()->sql(),
                 QStringList({QStringLiteral("select * from  作品 where "), QStringLiteral("类别=\"丙类\""),
                              QStringLiteral(" order by 日期 desc")}));
        QCOMPARE(listed(), QStringList({QStringLiteral("新"), QStringLiteral("中"), QStringLiteral("中早"),
                                        QStringLiteral("旧")}));
        QCOMPARE(works()->currentRow(), 0);
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共4条记录"), QString()}));
        // A quote in the text stays inside the literal.
        choose(QStringLiteral("他说\"好\""));
        QCOMPARE(works()->sql().at(1), QStringLiteral("类别=\"他说\"\"好\"\"\""));
        QCOMPARE(listed(), QStringList{QStringLiteral("引")});
        QVERIFY(dialogs->calls.isEmpty());
    }

    void addPresets_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("mark");
        QTest::newRow("default query") << "-默认方式查询-"
                                       << "甲类" << QStringLiteral(u"\u300E\u300F");
        QTest::newRow("丙类 listed") << "丙类"
                                     << "丙类" << QStringLiteral(u"\u00A7");
        QTest::newRow("typed text") << "丙"
                                    << ""
                                    << "";
    }
    void addPresets()
    {
        threeSeries();
        addWork(QStringLiteral("丙"), QStringLiteral("丙类"), 1, QStringLiteral("2007-01-01"));
        openPage();
        QFETCH(QString, selector);
        if (selector != categories::defaultQuery)
            choose(selector);
        page->next_SpeedButtonClick();
        const int rows = works()->rowCount();
        const int before = qMax(works()->currentRow(), 0); // a typed text lists nothing
        page->add_SpeedButtonClick();

        QCOMPARE(works()->state(), Query::State::Insert);
        QCOMPARE(works()->rowCount(), rows + 1);
        QCOMPARE(works()->currentRow(), before);
        QFETCH(QString, category);
        QFETCH(QString, mark);
        const QString today = dates::display(QDate::currentDate());
        QCOMPARE(page->lb_DBComboBox->currentText(), category);
        QCOMPARE(page->bj_DBComboBox->currentText(), mark);
        QCOMPARE(page->sl_DBEdit->text(), QStringLiteral("0"));
        QCOMPARE(page->zz_DBEdit->text(), QStringLiteral("无名氏"));
        QCOMPARE(page->cc_DBEdit->text(), QStringLiteral("【听雨小筑】"));
        QCOMPARE(page->wz_DBEdit->text(), QStringLiteral("https://github.com/chinese-poetry/chinese-poetry"));
        QCOMPARE(page->rq_DBEdit->text(), today);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}/\\d{1,2}/\\d{1,2}$")).match(today).hasMatch());
        QCOMPARE(page->bt_DBEdit->text(), QString());
        QCOMPARE(page->bz_DBRichEdit->toPlainText(), QString());
        QCOMPARE(page->nr_DBRichEdit->toPlainText(), QString());
        QCOMPARE(page->Show_DBGrid->currentIndex().row(), before);

        const int stored = fx->count(tableWorks);
        typeText(page->bt_DBEdit, QStringLiteral("新作"));
        page->ok_SpeedButtonClick();
        QCOMPARE(fx->count(tableWorks), stored + 1);
        QCOMPARE(fx->column(QStringLiteral(
                     "select 类别||'|'||标记||'|'||数量||'|'||作者||'|'||出处||'|'||网址||'|'||"
                     "日期 from 作品 where 标题='新作'")),
                 QStringList{QStringList({category, mark, QStringLiteral("0"), QStringLiteral("无名氏"),
                                          QStringLiteral("【听雨小筑】"),
                                          QStringLiteral("https://github.com/chinese-poetry/chinese-poetry"),
                                          QDate::currentDate().toString(Qt::ISODate)})
                                 .join(u'|')});
        QCOMPARE(works()->state(), Query::State::Browse);
    }

    void addOnAnEmptyListBeginsOneRow()
    {
        openPage();
        choose(QStringLiteral("戊类"));
        page->add_SpeedButtonClick();
        QCOMPARE(works()->rowCount(), 1);
        QCOMPARE(page->bj_DBComboBox->currentText(), QStringLiteral(u"\u203B"));
        page->ok_SpeedButtonClick();
        QCOMPARE(fx->column(QStringLiteral("select 标记 from 作品 where 类别='戊类'")),
                 QStringList{QStringLiteral(u"\u203B")});
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共1条记录"), QString()}));
    }

    void commitWritesTheWorkAndRewritesTheStatus()
    {
        threeSeries();
        openPage();
        page->next_SpeedButtonClick();
        typeText(page->bz_DBRichEdit, QStringLiteral("秋夜"));
        typeText(page->nr_DBRichEdit, QStringLiteral("床前"));
        QCOMPARE(works()->state(), Query::State::Edit);
        status->setPanelText(0, QString());
        status->setPanelText(1, QString());
        page->ok_SpeedButtonClick();
        QCOMPARE(works()->state(), Query::State::Browse);
        QCOMPARE(stored(colRemarks, QStringLiteral("二")), QStringLiteral("秋夜"));
        QCOMPARE(stored(colContent, QStringLiteral("二")), QStringLiteral("床前"));
        QCOMPARE(stored(colRemarks, QStringLiteral("一")), QString());
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共3个系列"), QStringLiteral("数目：共21首诗词")}));
    }

    void commitOnAnEmptyListWritesNothing()
    {
        openPage();
        const int stored = fx->count(tableWorks);
        page->ok_SpeedButtonClick();
        QCOMPARE(fx->count(tableWorks), stored);
        QCOMPARE(works()->rowCount(), 0);
        QCOMPARE(works()->state(), Query::State::Browse);
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共0个系列"), QStringLiteral("数目：共0首诗词")}));
    }

    void cancelDiscardsTheNewOrChangedWork()
    {
        threeSeries();
        openPage();
        page->next_SpeedButtonClick();
        page->add_SpeedButtonClick();
        typeText(page->bt_DBEdit, QStringLiteral("弃"));
        page->Cancel_SpeedButtonClick();
        QCOMPARE(works()->rowCount(), 3);
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("二"));
        QCOMPARE(fx->count(tableWorks), 4);

        retype(page->zz_DBEdit, QStringLiteral("改"));
        page->Cancel_SpeedButtonClick();
        QCOMPARE(page->zz_DBEdit->text(), QString());
        QCOMPARE(works()->state(), Query::State::Browse);
        page->Cancel_SpeedButtonClick(); // browsing: nothing happens
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("二"));
        QCOMPARE(stored(colAuthor, QStringLiteral("二")), QString());
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
        QCOMPARE(fx->count(tableWorks), 3);
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("三")); // the following row
        // The total keeps the deleted series.
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共2个系列"), QStringLiteral("数目：共21首诗词")}));
        page->del_SpeedButtonClick();
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("一")); // else the preceding one
        QCOMPARE(listed(), QStringList{QStringLiteral("一")});
    }

    void deleteWhileAddingDiscardsOnlyTheNewWork()
    {
        threeSeries();
        openPage();
        page->last_SpeedButtonClick();
        page->add_SpeedButtonClick();
        page->del_SpeedButtonClick();
        QCOMPARE(fx->count(tableWorks), 4);
        QCOMPARE(works()->rowCount(), 3);
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("三"));
        QCOMPARE(works()->state(), Query::State::Browse);
    }

    void deleteOnAnEmptyListChangesNothing()
    {
        openPage();
        page->del_SpeedButtonClick();
        QCOMPARE(fx->count(tableWorks), 1); // the draft
        QCOMPARE(works()->rowCount(), 0);
        QCOMPARE(works()->state(), Query::State::Browse);
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共0个系列"), QStringLiteral("数目：共0首诗词")}));
    }

    void movingWritesTheNewWork()
    {
        threeSeries();
        openPage();
        page->add_SpeedButtonClick();
        typeText(page->bt_DBEdit, QStringLiteral("新"));
        page->next_SpeedButtonClick();
        QCOMPARE(stored(colAuthor, QStringLiteral("新")), QStringLiteral("无名氏"));
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("一"));
        QCOMPARE(listed().first(), QStringLiteral("新"));
    }

    void refusedValueKeepsTheUsersRow_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("count") << "sl_DBEdit"
                               << "七首" << QStringLiteral("数量只能填写整数，“七首”不是整数。");
        QTest::newRow("date") << "rq_DBEdit"
                              << "2007-13-45"
                              << QStringLiteral("日期只能填写日期（例如 %1），“2007-13-45”不是有效的日期。")
                                     .arg(dates::display(QDate::currentDate()));
    }
    void refusedValueKeepsTheUsersRow()
    {
        threeSeries();
        openPage();
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        auto *field = page->findChild<QLineEdit *>(edit);
        QVERIFY(field);
        typeText(page->zz_DBEdit, QStringLiteral("王维"));
        retype(field, typed);
        status->setPanelText(0, QStringLiteral("旧"));
        try {
            page->ok_SpeedButtonClick();
            QFAIL("the value must be refused");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(works()->state(), Query::State::Edit);
        QCOMPARE(field->text(), typed);
        QCOMPARE(page->zz_DBEdit->text(), QStringLiteral("王维"));
        QCOMPARE(status->panelText(0), QStringLiteral("旧"));
        QCOMPARE(stored(colAuthor, QStringLiteral("一")), QString());
        // A move is refused the same way and the buttons stay.
        QVERIFY_THROWS_EXCEPTION(DbError, page->next_SpeedButtonClick());
        QCOMPARE(page->bt_DBEdit->text(), QStringLiteral("一"));
        QCOMPARE(buttons(), QStringLiteral("0011"));
        // Corrected, it is written.
        retype(field,
               edit == QStringLiteral("sl_DBEdit") ? QStringLiteral("８") : QStringLiteral("2007/3/4"));
        page->ok_SpeedButtonClick();
        QCOMPARE(stored(colAuthor, QStringLiteral("一")), QStringLiteral("王维"));
        QCOMPARE(stored(edit == QStringLiteral("sl_DBEdit") ? colCount : colDate, QStringLiteral("一")),
                 edit == QStringLiteral("sl_DBEdit") ? QStringLiteral("8") : QStringLiteral("2007-03-04"));
    }

    void categoryChangeWritesTheUnwrittenWorkFirst()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        openPage();
        typeText(page->zz_DBEdit, QStringLiteral("李商隐"));
        choose(QStringLiteral("乙类"));
        QCOMPARE(stored(colAuthor, QStringLiteral("一")), QStringLiteral("李商隐"));
        QCOMPARE(listed(), QStringList{QStringLiteral("乙")});

        page->add_SpeedButtonClick();
        typeText(page->bt_DBEdit, QStringLiteral("乙新"));
        choose(QStringLiteral("丙类"));
        QCOMPARE(stored(colCategory, QStringLiteral("乙新")), QStringLiteral("乙类"));
        QCOMPARE(works()->state(), Query::State::Browse);
    }

    void refusedWriteStopsTheCategoryChange()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        openPage();
        page->ShowShow();
        const QStringList sqlBefore = works()->sql();
        retype(page->sl_DBEdit, QStringLiteral("x"));
        page->Show_ComboBox->setCurrentIndex(1); // picks 乙类
        QCOMPARE(page->Show_ComboBox->currentText(), QStringLiteral("乙类"));
        QVERIFY_THROWS_EXCEPTION(DbError, page->Show_ComboBoxChange());
        // The list, the row and the status stay; the selector names the listed works again.
        QCOMPARE(page->Show_ComboBox->currentText(), QStringLiteral("-默认方式查询-"));
        QCOMPARE(works()->sql(), sqlBefore);
        QCOMPARE(listed(), QStringList({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));
        QCOMPARE(works()->state(), Query::State::Edit);
        QCOMPARE(page->sl_DBEdit->text(), QStringLiteral("x"));
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共3个系列"), QStringLiteral("数目：共21首诗词")}));
        // "添加" still reads the listed category.
        retype(page->sl_DBEdit, QStringLiteral("6"));
        page->add_SpeedButtonClick();
        QCOMPARE(page->lb_DBComboBox->currentText(), QStringLiteral("甲类"));
        page->Cancel_SpeedButtonClick();
        QCOMPARE(stored(colCount, QStringLiteral("一")), QStringLiteral("6"));

        // From a chosen category the selector goes back to it.
        choose(QStringLiteral("乙类"));
        retype(page->sl_DBEdit, QStringLiteral("y"));
        page->Show_ComboBox->setCurrentIndex(2);
        QVERIFY_THROWS_EXCEPTION(DbError, page->Show_ComboBoxChange());
        QCOMPARE(page->Show_ComboBox->currentText(), QStringLiteral("乙类"));
        QCOMPARE(listed(), QStringList{QStringLiteral("乙")});
    }
};

SHIHAI_TEST_MAIN(TestWorksPage)
#include "test_workspage.moc"
