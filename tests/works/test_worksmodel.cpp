// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "presentation/categories.h"
#include "presentation/worksmodel.h"
#include "tests/support/dbfixture.h"

#include <QDate>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace schema;

// 经典案例 without widgets, over a real file: the lists by category, the status texts, the moves and
// the enabled states of their buttons, and what adding, writing, cancelling and deleting store.
class TestWorksModel : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<QObject> owner;
    std::unique_ptr<Database> db;
    std::unique_ptr<WorksModel> model;
    QString status[2];

    void addWork(const QString &title, const QString &category, const QVariant &count, const QString &date,
                 const QString &mark = QString())
    {
        fx->insert(tableWorks, {colTitle, colCategory, colCount, colDate, colMark},
                   {title, category, count, date, mark});
    }
    // Opens the database as the window does at start-up, and computes the total as FormShow does.
    void openModel()
    {
        owner = std::make_unique<QObject>();
        db = std::make_unique<Database>(fx->path(), owner.get());
        model = std::make_unique<WorksModel>(*db);
        connect(model.get(), &WorksModel::statusChanged, this,
                [this](int panel, const QString &text) { status[panel] = text; });
        model->computeWorksTotal();
    }
    Query *works() const { return db->Show_ADOQuery; }
    QStringList panels() const { return {status[0], status[1]}; }
    void clearPanels() { status[0] = status[1] = QString(); }
    QStringList listed() const
    {
        QStringList titles;
        const int title = works()->fieldIndex(colTitle);
        for (int r = 0; r < works()->rowCount(); ++r)
            titles << works()->cellText(r, title);
        return titles;
    }
    QString shown() const { return works()->currentRow() < 0 ? QString() : works()->text(colTitle); }
    // Enabled states of 顶端, 上一篇, 下一篇, 末尾 as four digits.
    QString buttons() const
    {
        QString out;
        for (bool on :
             {model->firstEnabled(), model->priorEnabled(), model->nextEnabled(), model->lastEnabled()})
            out += on ? u'1' : u'0';
        return out;
    }
    // What typing into a bound field does to the row.
    void type(const QString &column, const QString &text)
    {
        works()->edit();
        works()->setText(column, text);
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
    const QStringList seriesOf3 = {QStringLiteral("结果：共3个系列"), QStringLiteral("数目：共21首诗词")};

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        clearPanels();
    }
    void cleanup()
    {
        model.reset();
        db.reset();
        owner.reset();
        fx.reset();
    }

    void marksAreTheExactCodePoints()
    {
        const QStringList names = {QStringLiteral("甲类"), QStringLiteral("乙类"), QStringLiteral("丙类"),
                                   QStringLiteral("丁类"), QStringLiteral("戊类")};
        QCOMPARE(categories::categoryTexts(), names);
        QCOMPARE(WorksModel::categoryItems(), names);
        QCOMPARE(WorksModel::categoryBoxItems(), names);
        QCOMPARE(WorksModel::markBoxItems(), categories::markTexts());
        QCOMPARE(WorksModel::defaultSelectorText(), QStringLiteral("-默认方式查询-"));
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
        openModel();
        // Left on its first row, as if never walked.
        QCOMPARE(works()->currentRow(), counts.isEmpty() ? -1 : 0);
        QVERIFY(works()->bof());
        QCOMPARE(shown(), counts.isEmpty() ? QString() : QStringLiteral("系列%1").arg(counts.size() - 1));
        model->show();
        QFETCH(QString, condition);
        QFETCH(QString, poems);
        QCOMPARE(panels(), QStringList({condition, poems}));
    }

    void statusFormsFollowTheirOwnTests()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        openModel();
        QCOMPARE(model->listed(), QStringLiteral("-默认方式查询-"));
        QCOMPARE(listed(), QStringList({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));
        model->show();
        QCOMPARE(panels(), seriesOf3);
        model->chooseCategory(QStringLiteral("乙类"));
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共1条记录"), QString()}));
        model->chooseCategory(QStringLiteral("甲类"));
        QCOMPARE(panels(), seriesOf3);
        // Typed back, the default text lists nothing: the category change reads it as records...
        model->chooseCategory(QStringLiteral("-默认方式查询-"));
        QCOMPARE(listed(), QStringList());
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共0条记录"), QString()}));
        // ...while showing the page, committing and deleting read it as series.
        model->show();
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共0个系列"), QStringLiteral("数目：共21首诗词")}));
        clearPanels();
        model->commit();
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共0个系列"), QStringLiteral("数目：共21首诗词")}));
        model->chooseCategory(QStringLiteral("乙类"));
        clearPanels();
        model->refreshStatus(); // 删除 answered no
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
        openModel();
        QCOMPARE(buttons(), QStringLiteral("0011"));
        QSignalSpy changed(model.get(), &WorksModel::buttonsChanged);
        auto click = [&](QChar c) {
            switch (c.unicode()) {
            case 'f':
                model->first();
                break;
            case 'p':
                model->prior();
                break;
            case 'n':
                model->next();
                break;
            default:
                model->last();
            }
        };
        QFETCH(QString, before);
        for (const QChar c : before)
            click(c);
        QFETCH(QChar, press);
        click(press);
        QFETCH(QString, shown);
        QFETCH(QString, enabled);
        QCOMPARE(this->shown(), shown);
        QCOMPARE(works()->currentRow(), titles.indexOf(shown));
        QCOMPARE(buttons(), enabled);
        QCOMPARE(changed.size(), before.size() + 1);
    }

    void categoryChangeLeavesTheButtonsAlone()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        addWork(QStringLiteral("乙二"), QStringLiteral("乙类"), 1, QStringLiteral("2007-01-01"));
        openModel();
        model->last();
        model->chooseCategory(QStringLiteral("乙类"));
        QCOMPARE(shown(), QStringLiteral("乙"));
        QCOMPARE(buttons(), QStringLiteral("1100"));
        model->prior();
        QCOMPARE(shown(), QStringLiteral("乙"));
        QCOMPARE(buttons(), QStringLiteral("0011"));
        model->show();
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
        openModel();
        model->chooseCategory(QStringLiteral("丙"));
        QCOMPARE(listed(), QStringList());
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共0条记录"), QString()}));
        model->chooseCategory(QStringLiteral("丙类"));
        QCOMPARE(model->listed(), QStringLiteral("丙类"));
        QCOMPARE(works()->sql(),
                 QStringList({QStringLiteral("select * from  作品 where "), QStringLiteral("类别=\"丙类\""),
                              QStringLiteral(" order by 日期 desc")}));
        QCOMPARE(listed(), QStringList({QStringLiteral("新"), QStringLiteral("中"), QStringLiteral("中早"),
                                        QStringLiteral("旧")}));
        QCOMPARE(works()->currentRow(), 0);
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共4条记录"), QString()}));
        // A quote in the text stays inside the literal.
        model->chooseCategory(QStringLiteral("他说\"好\""));
        QCOMPARE(works()->sql().at(1), QStringLiteral("类别=\"他说\"\"好\"\"\""));
        QCOMPARE(listed(), QStringList{QStringLiteral("引")});
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
        openModel();
        QFETCH(QString, selector);
        if (selector != WorksModel::defaultSelectorText())
            model->chooseCategory(selector);
        model->next();
        const int rows = works()->rowCount();
        const int before = qMax(works()->currentRow(), 0); // a typed text lists nothing
        model->add();

        QCOMPARE(works()->state(), Query::State::Insert);
        QCOMPARE(works()->rowCount(), rows + 1);
        QCOMPARE(works()->currentRow(), before);
        QFETCH(QString, category);
        QFETCH(QString, mark);
        const QString today = dates::display(QDate::currentDate());
        QCOMPARE(works()->text(colCategory), category);
        QCOMPARE(works()->text(colMark), mark);
        QCOMPARE(works()->text(colCount), QStringLiteral("0"));
        QCOMPARE(works()->text(colAuthor), QStringLiteral("无名氏"));
        QCOMPARE(works()->text(colSource), QStringLiteral("【听雨小筑】"));
        QCOMPARE(works()->text(colUrl), QStringLiteral("https://github.com/chinese-poetry/chinese-poetry"));
        QCOMPARE(works()->text(colDate), today);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}/\\d{1,2}/\\d{1,2}$")).match(today).hasMatch());
        QCOMPARE(works()->text(colTitle), QString());
        QCOMPARE(works()->text(colRemarks), QString());
        QCOMPARE(works()->text(colContent), QString());

        const int stored = fx->count(tableWorks);
        works()->setText(colTitle, QStringLiteral("新作"));
        model->commit();
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
        openModel();
        model->chooseCategory(QStringLiteral("戊类"));
        model->add();
        QCOMPARE(works()->rowCount(), 1);
        QCOMPARE(works()->text(colMark), QStringLiteral(u"\u203B"));
        model->commit();
        QCOMPARE(fx->column(QStringLiteral("select 标记 from 作品 where 类别='戊类'")),
                 QStringList{QStringLiteral(u"\u203B")});
        QCOMPARE(panels(), QStringList({QStringLiteral("结果：共1条记录"), QString()}));
    }

    void commitWritesTheWorkAndRewritesTheStatus()
    {
        threeSeries();
        openModel();
        model->next();
        type(colRemarks, QStringLiteral("秋夜"));
        type(colContent, QStringLiteral("床前"));
        QCOMPARE(works()->state(), Query::State::Edit);
        clearPanels();
        model->commit();
        QCOMPARE(works()->state(), Query::State::Browse);
        QCOMPARE(stored(colRemarks, QStringLiteral("二")), QStringLiteral("秋夜"));
        QCOMPARE(stored(colContent, QStringLiteral("二")), QStringLiteral("床前"));
        QCOMPARE(stored(colRemarks, QStringLiteral("一")), QString());
        QCOMPARE(panels(), seriesOf3);
    }

    void commitOnAnEmptyListWritesNothing()
    {
        openModel();
        const int stored = fx->count(tableWorks);
        model->commit();
        QCOMPARE(fx->count(tableWorks), stored);
        QCOMPARE(works()->rowCount(), 0);
        QCOMPARE(works()->state(), Query::State::Browse);
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共0个系列"), QStringLiteral("数目：共0首诗词")}));
    }

    void cancelDiscardsTheNewOrChangedWork()
    {
        threeSeries();
        openModel();
        model->next();
        model->add();
        works()->setText(colTitle, QStringLiteral("弃"));
        model->cancel();
        QCOMPARE(works()->rowCount(), 3);
        QCOMPARE(shown(), QStringLiteral("二"));
        QCOMPARE(fx->count(tableWorks), 4);

        type(colAuthor, QStringLiteral("改"));
        model->cancel();
        QCOMPARE(works()->text(colAuthor), QString());
        QCOMPARE(works()->state(), Query::State::Browse);
        model->cancel(); // browsing: nothing happens
        QCOMPARE(shown(), QStringLiteral("二"));
        QCOMPARE(stored(colAuthor, QStringLiteral("二")), QString());
    }

    void deleteRemovesTheWorkAndKeepsTheTotal()
    {
        threeSeries();
        openModel();
        QCOMPARE(WorksModel::deleteQuestion, QStringLiteral("确定要删除此数据么？"));
        model->next();
        model->deleteCurrent();
        model->refreshStatus();
        QCOMPARE(stored(colTitle, QStringLiteral("二")), QString());
        QCOMPARE(fx->count(tableWorks), 3);
        QCOMPARE(shown(), QStringLiteral("三")); // the following row
        // The total keeps the deleted series.
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共2个系列"), QStringLiteral("数目：共21首诗词")}));
        model->deleteCurrent();
        QCOMPARE(shown(), QStringLiteral("一")); // else the preceding one
        QCOMPARE(listed(), QStringList{QStringLiteral("一")});
    }

    void deleteWhileAddingDiscardsOnlyTheNewWork()
    {
        threeSeries();
        openModel();
        model->last();
        model->add();
        model->deleteCurrent();
        QCOMPARE(fx->count(tableWorks), 4);
        QCOMPARE(works()->rowCount(), 3);
        QCOMPARE(shown(), QStringLiteral("三"));
        QCOMPARE(works()->state(), Query::State::Browse);
    }

    void deleteOnAnEmptyListChangesNothing()
    {
        openModel();
        model->deleteCurrent();
        model->refreshStatus();
        QCOMPARE(fx->count(tableWorks), 1); // the draft
        QCOMPARE(works()->rowCount(), 0);
        QCOMPARE(works()->state(), Query::State::Browse);
        QCOMPARE(panels(),
                 QStringList({QStringLiteral("结果：共0个系列"), QStringLiteral("数目：共0首诗词")}));
    }

    void movingWritesTheNewWork()
    {
        threeSeries();
        openModel();
        model->add();
        works()->setText(colTitle, QStringLiteral("新"));
        model->next();
        QCOMPARE(stored(colAuthor, QStringLiteral("新")), QStringLiteral("无名氏"));
        QCOMPARE(shown(), QStringLiteral("一"));
        QCOMPARE(listed().first(), QStringLiteral("新"));
    }

    void refusedValueKeepsTheUsersRow_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("corrected");
        QTest::addColumn<QString>("written");
        QTest::newRow("count") << colCount << "七首" << QStringLiteral("数量只能填写整数，“七首”不是整数。")
                               << QStringLiteral("８") << QStringLiteral("8");
        QTest::newRow("date") << colDate << "2007-13-45"
                              << QStringLiteral("日期只能填写日期（例如 %1），“2007-13-45”不是有效的日期。")
                                     .arg(dates::display(QDate::currentDate()))
                              << QStringLiteral("2007/3/4") << QStringLiteral("2007-03-04");
    }
    void refusedValueKeepsTheUsersRow()
    {
        threeSeries();
        openModel();
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        type(colAuthor, QStringLiteral("王维"));
        type(column, typed);
        status[0] = QStringLiteral("旧");
        try {
            model->commit();
            QFAIL("the value must be refused");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(works()->state(), Query::State::Edit);
        QCOMPARE(works()->text(column), typed);
        QCOMPARE(works()->text(colAuthor), QStringLiteral("王维"));
        QCOMPARE(status[0], QStringLiteral("旧"));
        QCOMPARE(stored(colAuthor, QStringLiteral("一")), QString());
        // A move is refused the same way and the buttons stay.
        QVERIFY_THROWS_EXCEPTION(DbError, model->next());
        QCOMPARE(shown(), QStringLiteral("一"));
        QCOMPARE(buttons(), QStringLiteral("0011"));
        // Corrected, it is written.
        QFETCH(QString, corrected);
        QFETCH(QString, written);
        type(column, corrected);
        model->commit();
        QCOMPARE(stored(colAuthor, QStringLiteral("一")), QStringLiteral("王维"));
        QCOMPARE(stored(column, QStringLiteral("一")), written);
    }

    void categoryChangeWritesTheUnwrittenWorkFirst()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        openModel();
        type(colAuthor, QStringLiteral("李商隐"));
        model->chooseCategory(QStringLiteral("乙类"));
        QCOMPARE(stored(colAuthor, QStringLiteral("一")), QStringLiteral("李商隐"));
        QCOMPARE(listed(), QStringList{QStringLiteral("乙")});

        model->add();
        works()->setText(colTitle, QStringLiteral("乙新"));
        model->chooseCategory(QStringLiteral("丙类"));
        QCOMPARE(stored(colCategory, QStringLiteral("乙新")), QStringLiteral("乙类"));
        QCOMPARE(works()->state(), Query::State::Browse);
    }

    void refusedWriteStopsTheCategoryChange()
    {
        threeSeries();
        addWork(QStringLiteral("乙"), QStringLiteral("乙类"), 1, QStringLiteral("2008-01-01"));
        openModel();
        model->show();
        QSignalSpy reset(model.get(), &WorksModel::selectorReset);
        const QStringList sqlBefore = works()->sql();
        type(colCount, QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(DbError, model->chooseCategory(QStringLiteral("乙类")));
        // The list, the row and the status stay; the selector is told to name the listed works again.
        QCOMPARE(reset.size(), 1);
        QCOMPARE(reset[0][0].toString(), QStringLiteral("-默认方式查询-"));
        QCOMPARE(model->listed(), QStringLiteral("-默认方式查询-"));
        QCOMPARE(works()->sql(), sqlBefore);
        QCOMPARE(listed(), QStringList({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));
        QCOMPARE(works()->state(), Query::State::Edit);
        QCOMPARE(works()->text(colCount), QStringLiteral("x"));
        QCOMPARE(panels(), seriesOf3);
        // "添加" still reads the listed category.
        type(colCount, QStringLiteral("6"));
        model->add();
        QCOMPARE(works()->text(colCategory), QStringLiteral("甲类"));
        model->cancel();
        QCOMPARE(stored(colCount, QStringLiteral("一")), QStringLiteral("6"));

        // From a chosen category the selector goes back to it.
        model->chooseCategory(QStringLiteral("乙类"));
        type(colCount, QStringLiteral("y"));
        QVERIFY_THROWS_EXCEPTION(DbError, model->chooseCategory(QStringLiteral("丙类")));
        QCOMPARE(reset.size(), 2);
        QCOMPARE(reset[1][0].toString(), QStringLiteral("乙类"));
        QCOMPARE(listed(), QStringList{QStringLiteral("乙")});
    }

    // Either box of the detail panel, written by the user, sets its partner in the row; a text that is
    // no category or mark (the ordinary pound sign) changes nothing.
    void categoryAndMarkAreWrittenTogether()
    {
        threeSeries();
        openModel();
        const auto edit = [&](const QString &column, const QString &text) {
            type(column, text);
            if (column == colCategory)
                model->categoryEdited(text);
            else
                model->markEdited(text);
        };
        edit(colCategory, QStringLiteral("乙类"));
        QCOMPARE(works()->text(colMark), QStringLiteral(u"\uFFE1"));
        edit(colMark, QString(QChar(0x00A3)));
        QCOMPARE(works()->text(colCategory), QStringLiteral("乙类"));
        edit(colMark, QStringLiteral(u"\u203B"));
        QCOMPARE(works()->text(colCategory), QStringLiteral("戊类"));
        model->commit();
        QCOMPARE(stored(colCategory, QStringLiteral("一")), QStringLiteral("戊类"));
        QCOMPARE(stored(colMark, QStringLiteral("一")), QStringLiteral(u"\u203B"));
        // Outside the table nothing begins an edit.
        model->categoryEdited(QStringLiteral("草稿"));
        model->markEdited(QStringLiteral("£"));
        QCOMPARE(works()->state(), Query::State::Browse);
    }
};

int main(int argc, char **argv)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QCoreApplication app(argc, argv);
    TestWorksModel tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "test_worksmodel.moc"
