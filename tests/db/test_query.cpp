// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/datasource.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QFile>
#include <QSignalSpy>

#include <memory>

using namespace schema;

// The query object against real files: cursor, indications, editing and what reaches the table.
class TestQuery : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<Connection> conn;

    Query *query(const QString &sql)
    {
        auto *q = new Query(conn.get(), QStringLiteral("Test_ADOQuery"), sql);
        q->open();
        return q;
    }
    void addWords(int n)
    {
        for (int i = 1; i <= n; ++i)
            fx->insert(tableWords, {colWord, colMeaning},
                       {QStringLiteral("词%1").arg(i), QStringLiteral("义%1").arg(i)});
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        conn = std::make_unique<Connection>(fx->path());
    }
    void cleanup()
    {
        conn.reset();
        fx.reset();
    }

    void closedQueryRefusesCountAndNamesItsDataSource()
    {
        Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"), QStringLiteral("select * from 词组"));
        QCOMPARE(q.dataSource()->objectName(), QStringLiteral("Cizu_DataSource"));
        try {
            q.recordCount();
            QFAIL("record count on a closed query must fail");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), QStringLiteral("Cannot perform this operation on a closed dataset"));
        }
        addWords(3);
        q.open();
        QCOMPARE(q.recordCount(), 3);
        q.close();
        QCOMPARE(q.rowCount(), 0);
        QVERIFY_THROWS_EXCEPTION(DbError, q.recordCount());
    }

    void sqlLinesAreJoinedWithLineBreaks()
    {
        addWords(2);
        Query q(conn.get(), QStringLiteral("q"), QString());
        q.addSql(QStringLiteral("select * from 词组 where "));
        q.addSql(QStringLiteral("词组=\"词2\""));
        QCOMPARE(q.sqlText(), QStringLiteral("select * from 词组 where \n词组=\"词2\""));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.text(colMeaning), QStringLiteral("义2"));
        q.close();
        q.clearSql();
        QVERIFY(q.sql().isEmpty());
    }

    void stepsSetBeginningAndEndAsTheButtonsExpect()
    {
        addWords(3);
        Query *q = query(QStringLiteral("select * from 词组"));
        QVERIFY(q->bof());
        QVERIFY(!q->eof());
        q->next();
        QCOMPARE(q->currentRow(), 1);
        QVERIFY(!q->bof() && !q->eof());
        q->next();
        QCOMPARE(q->currentRow(), 2);
        QVERIFY(!q->eof()); // a step onto the last row does not set the end
        q->next();
        QCOMPARE(q->currentRow(), 2);
        QVERIFY(q->eof());
        q->prior();
        q->prior();
        QCOMPARE(q->currentRow(), 0);
        QVERIFY(!q->bof()); // a step onto the first row does not set the beginning
        q->prior();
        QVERIFY(q->bof());
        q->last();
        QVERIFY(q->eof() && !q->bof());
        q->first();
        QVERIFY(q->bof() && !q->eof());
        QCOMPARE(q->text(colWord), QStringLiteral("词1"));
    }

    void oneRowAndEmptyResults()
    {
        addWords(1);
        Query *one = query(QStringLiteral("select * from 词组"));
        QVERIFY(one->bof() && !one->eof());
        one->next();
        QCOMPARE(one->currentRow(), 0);
        QVERIFY(one->eof());
        one->prior();
        QVERIFY(one->bof());

        Query *none = query(QStringLiteral("select * from 成语"));
        QCOMPARE(none->currentRow(), -1);
        QVERIFY(none->bof() && none->eof());
        none->next();
        none->prior();
        QVERIFY(none->bof() && none->eof());
        QCOMPARE(none->text(colMeaning), QString());
    }

    void editPostWritesOnlyToThatRow()
    {
        addWords(3);
        Query *q = query(QStringLiteral("select * from 词组"));
        QSignalSpy changed(q->dataSource(), &DataSource::rowChanged);
        q->next();
        q->edit();
        QCOMPARE(q->state(), Query::State::Edit);
        q->setText(colMeaning, QStringLiteral("新义"));
        QVERIFY(q->isModified());
        QCOMPARE(q->cellText(1, 1), QStringLiteral("新义"));
        q->post();
        QCOMPARE(q->state(), Query::State::Browse);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(fx->column(QStringLiteral("select 含义 from 词组 order by rowid")),
                 QStringList({QStringLiteral("义1"), QStringLiteral("新义"), QStringLiteral("义3")}));
    }

    void cancelRestoresAndSettleDropsUnchangedRows()
    {
        addWords(2);
        Query *q = query(QStringLiteral("select * from 词组"));
        q->edit();
        q->setText(colMeaning, QStringLiteral("改"));
        q->cancel();
        QCOMPARE(q->text(colMeaning), QStringLiteral("义1"));
        QCOMPARE(q->state(), Query::State::Browse);

        // A value typed back to what it was is no change: settling just leaves edit state.
        q->edit();
        q->setText(colMeaning, QStringLiteral("改"));
        q->setText(colMeaning, QStringLiteral("义1"));
        QVERIFY(!q->isModified());
        q->next();
        QCOMPARE(q->state(), Query::State::Browse);
        QCOMPARE(fx->value(QStringLiteral("select 含义 from 词组 where 词组='词1'")), QStringLiteral("义1"));

        // A changed row is written by a move.
        q->edit();
        q->setText(colMeaning, QStringLiteral("移动写入"));
        q->first();
        QCOMPARE(fx->value(QStringLiteral("select 含义 from 词组 where 词组='词2'")),
                 QStringLiteral("移动写入"));
    }

    void insertBeginsRowBeforeCurrentAndKeepsItsRowid()
    {
        addWords(3);
        Query *q = query(QStringLiteral("select * from 词组"));
        QSignalSpy inserted(q->dataSource(), &DataSource::rowInserted);
        q->next();
        q->insert();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.first().first().toInt(), 1);
        QCOMPARE(q->currentRow(), 1);
        QCOMPARE(q->recordCount(), 4);
        QCOMPARE(q->state(), Query::State::Insert);
        q->setText(colWord, QStringLiteral("新词"));
        q->post();
        QCOMPARE(fx->count(tableWords), 4);
        // Writing the row again updates the same table row instead of adding one.
        q->edit();
        q->setText(colMeaning, QStringLiteral("新义"));
        q->post();
        QCOMPARE(fx->count(tableWords), 4);
        QCOMPARE(fx->value(QStringLiteral("select 含义 from 词组 where 词组='新词'")),
                 QStringLiteral("新义"));
        QCOMPARE(q->cellText(1, 0), QStringLiteral("新词"));
        QCOMPARE(q->cellText(2, 0), QStringLiteral("词2"));
    }

    void cancelledInsertReturnsToThePreviousRow()
    {
        addWords(3);
        Query *q = query(QStringLiteral("select * from 词组"));
        q->next();
        q->insert();
        q->setText(colWord, QStringLiteral("不要"));
        q->cancel();
        QCOMPARE(q->recordCount(), 3);
        QCOMPARE(q->text(colWord), QStringLiteral("词2"));
        q->append();
        QCOMPARE(q->currentRow(), 3);
        q->cancel();
        QCOMPARE(q->text(colWord), QStringLiteral("词3"));
        QCOMPARE(fx->count(tableWords), 3);
    }

    void editOnEmptyResultBeginsARowAndSecondInsertDropsTheFirst()
    {
        Query *q = query(QStringLiteral("select * from 成语"));
        q->edit();
        QCOMPARE(q->state(), Query::State::Insert);
        QCOMPARE(q->recordCount(), 1);
        q->insert(); // the first new row has no values: it is dropped
        QCOMPARE(q->recordCount(), 1);
        q->setText(colIdiom, QStringLiteral("春风化雨"));
        q->post();
        QCOMPARE(fx->count(tableIdioms), 1);
    }

    void newRowHandlerPresetsValues()
    {
        Query *q = query(QStringLiteral("select * from 作品 where 标题='none'"));
        q->setNewRowHandler([](Query &r) { r.setText(colTitle, QStringLiteral("草稿")); });
        q->edit();
        QVERIFY(q->isModified());
        q->setText(colContent, QStringLiteral("床前明月光"));
        q->post();
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where rowid=(select max(rowid) from 作品)")),
                 QStringLiteral("床前明月光"));
    }

    void deleteMakesFollowingOrPrecedingRowCurrent()
    {
        addWords(3);
        Query *q = query(QStringLiteral("select * from 词组"));
        q->next();
        q->remove();
        QCOMPARE(q->text(colWord), QStringLiteral("词3"));
        q->remove();
        QCOMPARE(q->text(colWord), QStringLiteral("词1"));
        QCOMPARE(fx->column(QStringLiteral("select 词组 from 词组")), QStringList{QStringLiteral("词1")});
        q->remove();
        QCOMPARE(q->currentRow(), -1);
        QVERIFY(q->bof() && q->eof());
        QVERIFY_THROWS_EXCEPTION(DbError, q->remove());
    }

    void deleteWhileInsertingOnlyDiscardsTheNewRow()
    {
        addWords(2);
        Query *q = query(QStringLiteral("select * from 词组"));
        q->insert();
        q->setText(colWord, QStringLiteral("新"));
        q->remove();
        QCOMPARE(q->recordCount(), 2);
        QCOMPARE(fx->count(tableWords), 2);
    }

    void refusedPostKeepsStateAndValues()
    {
        addWords(1);
        fx->exec(QStringLiteral("CREATE TRIGGER no_x BEFORE UPDATE ON 词组 WHEN new.含义 = 'x' "
                                "BEGIN SELECT RAISE(ABORT, 'refused by trigger'); END"));
        Query *q = query(QStringLiteral("select * from 词组"));
        q->edit();
        q->setText(colMeaning, QStringLiteral("x"));
        try {
            q->post();
            QFAIL("the post must be refused");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), QStringLiteral("refused by trigger"));
        }
        QCOMPARE(q->state(), Query::State::Edit);
        QCOMPARE(q->text(colMeaning), QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(DbError, q->next()); // a move must write first, and cannot
        QCOMPARE(q->state(), Query::State::Edit);
        q->setText(colMeaning, QStringLiteral("y"));
        q->post();
        QCOMPARE(fx->value(QStringLiteral("select 含义 from 词组")), QStringLiteral("y"));
    }

    void rowDeletedElsewhereIsReportedOnPost()
    {
        addWords(1);
        Query *q = query(QStringLiteral("select * from 词组"));
        fx->exec(QStringLiteral("DELETE FROM 词组"));
        q->edit();
        q->setText(colMeaning, QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(DbError, q->post());
        QCOMPARE(q->state(), Query::State::Edit);
    }

    void countIsAWholeNumberAndRefusesText()
    {
        fx->insert(tableWorks, {colTitle, colCategory, colCount},
                   {QStringLiteral("甲"), QStringLiteral("甲类"), 7});
        fx->insert(tableWorks, {colTitle, colCategory, colCount},
                   {QStringLiteral("乙"), QStringLiteral("甲类"), QVariant()});
        Query *q = query(QStringLiteral("select * from 作品 where 类别='甲类'"));
        QCOMPARE(q->integer(colCount), 7);
        q->next();
        QCOMPARE(q->integer(colCount), 0);
        q->edit();
        q->setText(colCount, QStringLiteral("三"));
        try {
            q->post();
            QFAIL("a count that is not a number must be refused");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("数量")), qPrintable(e.message()));
            QVERIFY(e.message().contains(QStringLiteral("三")));
        }
        QCOMPARE(q->text(colCount), QStringLiteral("三"));
        q->setText(colCount, QStringLiteral("１２")); // full-width digits from an input method
        q->post();
        QCOMPARE(fx->value(QStringLiteral("select typeof(数量) || ':' || 数量 from 作品 where 标题='乙'")),
                 QStringLiteral("integer:12"));
    }

    // Every value is checked before any is written: a refused count leaves the title unwritten too.
    void rowWithARefusedValueWritesNothing()
    {
        fx->insert(tableWorks, {colTitle, colCategory, colCount},
                   {QStringLiteral("甲"), QStringLiteral("甲类"), 7});
        const std::vector<ResultColumn> columns{{colTitle, colTitle, columnKind(tableWorks, colTitle)},
                                                {colCount, colCount, columnKind(tableWorks, colCount)}};
        const QString rowid = QStringLiteral("rowid");
        RowWriter writer(conn->file(), tableWorks, rowid, columns);
        const RowWriter::Values values{QStringLiteral("乙"), QStringLiteral("三")};
        const qint64 row = fx->value(QStringLiteral("select rowid from 作品 where 标题='甲'")).toLongLong();
        QVERIFY_THROWS_EXCEPTION(DbError, writer.update(row, values));
        QVERIFY_THROWS_EXCEPTION(DbError, writer.insert(values));
        QCOMPARE(fx->column(QStringLiteral("select 标题 || ':' || 数量 from 作品 where 类别='甲类'")),
                 QStringList{QStringLiteral("甲:7")});
    }

    void datesAreStoredIsoAndShownInTheShortFormat()
    {
        fx->insert(tableWorks, {colTitle, colCategory, colDate},
                   {QStringLiteral("旧"), QStringLiteral("甲类"), QStringLiteral("2009-12-31")});
        fx->insert(tableWorks, {colTitle, colCategory, colDate},
                   {QStringLiteral("新"), QStringLiteral("甲类"), QStringLiteral("2010-01-02")});
        fx->insert(tableWorks, {colTitle, colCategory, colDate},
                   {QStringLiteral("中"), QStringLiteral("甲类"), QStringLiteral("2009-02-10")});
        Query *q = query(QStringLiteral("select * from 作品 where 类别='甲类' order by 日期 DESC"));
        QCOMPARE(q->text(colTitle), QStringLiteral("新"));
        QCOMPARE(q->text(colDate), QStringLiteral("2010/1/2")); // zh_CN short format
        q->last();
        QCOMPARE(q->text(colTitle), QStringLiteral("中"));

        q->edit();
        q->setText(colDate, QStringLiteral("2011/3/4"));
        q->post();
        QCOMPARE(fx->value(QStringLiteral("select 日期 from 作品 where 标题='中'")),
                 QStringLiteral("2011-03-04"));
        q->edit();
        q->setText(colDate, QStringLiteral("明天"));
        try {
            q->post();
            QFAIL("a date that is not a date must be refused");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("日期")), qPrintable(e.message()));
        }
        QCOMPARE(q->text(colDate), QStringLiteral("明天"));
        q->cancel();
        QCOMPARE(q->text(colDate), QStringLiteral("2011/3/4"));
    }

    void postWithoutChangesWritesNothing()
    {
        addWords(1);
        Query *q = query(QStringLiteral("select * from 词组"));
        fx->exec(QStringLiteral("UPDATE 词组 SET 含义='别处改过'"));
        q->edit();
        q->post(); // nothing typed: the other writer's change stays
        QCOMPARE(fx->value(QStringLiteral("select 含义 from 词组")), QStringLiteral("别处改过"));
    }

    void dataSourceAnnouncesEveryChange()
    {
        addWords(2);
        Query *q = query(QStringLiteral("select * from 词组"));
        DataSource *ds = q->dataSource();
        QSignalSpy reset(ds, &DataSource::reset), current(ds, &DataSource::currentChanged),
            removed(ds, &DataSource::rowRemoved), state(ds, &DataSource::stateChanged);
        q->next();
        QCOMPARE(current.count(), 1);
        q->edit();
        q->post();
        QCOMPARE(state.count(), 2);
        q->remove();
        QCOMPARE(removed.count(), 1);
        q->close();
        q->open();
        QCOMPARE(reset.count(), 2);
    }

    void readOnlyFileRefusesWritesAndKeepsValues()
    {
        addWords(1);
        conn.reset();
        QFile::setPermissions(fx->path(), QFileDevice::ReadOwner | QFileDevice::ReadUser);
        // Root (as in CI) writes any file unless it gives up the capabilities that let it.
        const faults::PermissionsObeyed obeyed;
        QVERIFY(faults::isWriteProtected(fx->path()));
        conn = std::make_unique<Connection>(fx->path());
        Query *q = query(QStringLiteral("select * from 词组"));
        q->edit();
        q->setText(colMeaning, QStringLiteral("改"));
        try {
            q->post();
            QFAIL("writing a read-only file must fail");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("readonly")), qPrintable(e.message()));
        }
        QCOMPARE(q->text(colMeaning), QStringLiteral("改"));
    }
};

SHIHAI_TEST_MAIN(TestQuery)
#include "test_query.moc"
