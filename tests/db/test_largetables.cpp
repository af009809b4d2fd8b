// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/query.h"
#include "db/scansplit.h"
#include "db/schema.h"
#include "db/sqlite.h"
#include "db/textstore.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QRegularExpression>

#include <memory>

using namespace schema;

// Large tables are read in two halves at once. Whatever the halves, a user must see exactly the
// rows, values and order that one pass over the table gives, and edits must reach the right row.
class TestLargeTables : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<Connection> conn;

    // Every row of a query as "词组|含义" (NULL shown empty, as the grid shows it), as the engine gives
    // it in one pass.
    QStringList engineRows(const QString &where) const
    {
        return fx->column(QStringLiteral("select 词组 || '|' || ifnull(含义, '') from 词组 ") + where);
    }
    static QStringList shownRows(const Query &q)
    {
        QStringList rows;
        for (int r = 0; r < q.rowCount(); ++r)
            rows << q.cellText(r, q.fieldIndex(colWord)) + u'|' + q.cellText(r, q.fieldIndex(colMeaning));
        return rows;
    }
    bool splits(const QString &sql) const
    {
        return !scansplit::plan(conn->file(), dialect::translate(sql), tableWords, QStringLiteral("_rowid_"))
                    .ranges.empty();
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        // 60,000 words: every seventh holds 春, every eleventh ends with it; every thirteenth has no
        // meaning.
        fx->exec(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 60000) "
            "insert into 词组 (词组, 含义) select "
            "case when i % 11 = 0 then '词' || i || '春' "
            "when i % 7 = 0 then '春' || i || '风' else '词' || i end, "
            "case when i % 13 = 0 then null else '义' || i || ':' || printf('%.200c', '-') end from n"));
        // Gaps in the rowids, a row far beyond the others and one text larger than a block.
        fx->exec(QStringLiteral("delete from 词组 where rowid between 20000 and 29999"));
        fx->exec(QStringLiteral("insert into 词组 (rowid, 词组, 含义) values (100000, '末春', 'end')"));
        fx->exec(QStringLiteral(
            "insert into 词组 (词组, 含义) values ('巨春', 'big' || printf('%.5000000c', 'x') || 'end')"));
        conn = std::make_unique<Connection>(fx->path());
    }
    void cleanup()
    {
        conn.reset();
        fx.reset();
    }

    void everyModeShowsWhatOnePassGives_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("split");
        QTest::newRow("all rows") << QStringLiteral("select * from 词组") << QString() << true;
        QTest::newRow("contains") << QStringLiteral("select * from 词组 where 词组 like \"%春%\"")
                                  << QStringLiteral("where 词组 like '%春%'") << true;
        QTest::newRow("ends with") << QStringLiteral("select * from 词组 where 词组 like \"%春\"")
                                   << QStringLiteral("where 词组 like '%春'") << true;
        QTest::newRow("one character, then 1") << QStringLiteral("select * from 词组 where 词组 like \"_1%\"")
                                               << QStringLiteral("where 词组 like '_1%'") << true;
        QTest::newRow("nothing found") << QStringLiteral("select * from 词组 where 词组 like \"%秋%\"")
                                       << QStringLiteral("where 词组 like '%秋%'") << true;
        // A prefix is answered from the index, in the index's order: read whole.
        QTest::newRow("begins with") << QStringLiteral("select * from 词组 where 词组 like \"春%\"")
                                     << QStringLiteral("where 词组 like '春%'") << false;
        QTest::newRow("ordered") << QStringLiteral("select * from 词组 order by 词组 desc")
                                 << QStringLiteral("order by 词组 desc") << false;
    }
    void everyModeShowsWhatOnePassGives()
    {
        QFETCH(QString, sql);
        QFETCH(QString, where);
        QFETCH(bool, split);
        QCOMPARE(splits(sql), split);
        Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"), sql);
        q.open();
        const QStringList expected = engineRows(where);
        const QStringList shown = shownRows(q);
        QCOMPARE(shown.size(), expected.size());
        QCOMPARE(shown, expected);
        QVERIFY(!q.isReadOnly());
    }

    void smallTablesAndOtherShapesAreReadWhole()
    {
        QVERIFY(scansplit::plan(conn->file(), dialect::translate(QStringLiteral("select * from 成语")),
                                tableIdioms, QStringLiteral("_rowid_"))
                    .ranges.empty());
        QVERIFY(!splits(QStringLiteral("select * from 词组 where 词组 like \"%春%\" limit 5")));
        QVERIFY(!splits(QStringLiteral("select 词组 from 词组")));
        QVERIFY(!splits(QStringLiteral("select * from 词组 where 含义 is null")));
    }

    void editsReachTheirRowsInBothHalves()
    {
        Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"), QStringLiteral("select * from 词组"));
        q.open();
        const int total = q.rowCount();
        // One row from each half, found by the word each holds.
        for (const QString &word : {QStringLiteral("词5"), QStringLiteral("词59999")}) {
            const int row =
                int(shownRows(q).indexOf(QRegularExpression(u'^' + word + QStringLiteral("\\|.*"))));
            QVERIFY(row >= 0);
            q.moveTo(row);
            q.edit();
            q.setText(colMeaning, QStringLiteral("改过的") + word);
            q.post();
            QCOMPARE(q.text(colMeaning), QStringLiteral("改过的") + word);
            QCOMPARE(fx->value(QStringLiteral("select 含义 from 词组 where 词组 = '%1'").arg(word)),
                     QStringLiteral("改过的") + word);
        }
        // A new row is added to the table; reopened, it is at the end and the edits are there.
        q.last();
        q.append();
        q.setText(colWord, QStringLiteral("新春"));
        q.post();
        q.close();
        q.open();
        QCOMPARE(q.rowCount(), total + 1);
        QCOMPARE(shownRows(q), engineRows(QString()));
        QCOMPARE(q.cellText(q.rowCount() - 1, q.fieldIndex(colWord)), QStringLiteral("新春"));
        QCOMPARE(fx->count(tableWords), total + 1);
    }

    void rowsAnotherProgramWroteAreSeenByBothHalves()
    {
        Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"),
                QStringLiteral("select * from 词组 where 词组 like \"%春%\""));
        q.open();
        const int before = q.rowCount();
        fx->exec(QStringLiteral("insert into 词组 (词组, 含义) values ('外来春', null)"));
        fx->exec(QStringLiteral("delete from 词组 where 词组 = '春7风'"));
        q.close();
        q.open();
        QCOMPARE(q.rowCount(), before);
        QCOMPARE(shownRows(q), engineRows(QStringLiteral("where 词组 like '%春%'")));
    }

    void aLockedFileStopsTheReadWithTheEngineMessage()
    {
        Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"), QStringLiteral("select * from 词组"));
        auto other = std::make_unique<SqliteFile>(fx->path(), SqliteFile::Mode::ReadWrite);
        other->exec("begin exclusive");
        QString message;
        try {
            q.open();
        } catch (const DbError &e) {
            message = QString::fromUtf8(e.what());
        }
        QCOMPARE(message, QStringLiteral("database is locked"));
        QVERIFY(!q.isOpen());
        QCOMPARE(q.rowCount(), 0);
        other->exec("rollback");
        other.reset();
        q.open();
        QCOMPARE(shownRows(q), engineRows(QString()));
    }

    void aFailingSecondConnectionLeavesTheWorkToTheFirst()
    {
        // The second connection can no longer prepare the parts' statement.
        QVERIFY(conn->reader());
        conn->reader()->limitStatementLength(10);
        for (const QString &where : {QString(), QStringLiteral("where 词组 like \"%春%\"")}) {
            Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"),
                    QStringLiteral("select * from 词组 ") + where);
            q.open();
            QCOMPARE(shownRows(q), engineRows(QString(where).replace(u'"', u'\'')));
        }
    }

    void rowidsAtBothEndsOfTheirRange()
    {
        fx->exec(QStringLiteral(
            "insert into 词组 (rowid, 词组, 含义) values (-9223372036854775808, '最小春', 'min'), "
            "(9223372036854775807, '最大春', 'max')"));
        for (const QString &where : {QString(), QStringLiteral("where 词组 like '%春'")}) {
            Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"),
                    QStringLiteral("select * from 词组 ") + QString(where).replace(u'\'', u'"'));
            q.open();
            const QStringList shown = shownRows(q);
            QCOMPARE(shown, engineRows(where));
            QCOMPARE(shown.first(), QStringLiteral("最小春|min"));
            QCOMPARE(shown.last(), QStringLiteral("最大春|max"));
        }
    }

    void aColumnNamedLikeTheRowidIsAColumn()
    {
        // A file may give 词组 columns of its own under two of the rowid's names.
        fx->exec(QStringLiteral("alter table 词组 add column _rowid_ text"));
        fx->exec(QStringLiteral("alter table 词组 add column rowid integer"));
        fx->exec(QStringLiteral("update 词组 set _rowid_ = 'x', rowid = 7"));
        conn = std::make_unique<Connection>(fx->path());
        Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"), QStringLiteral("select * from 词组"));
        q.open();
        QCOMPARE(shownRows(q), engineRows(QString()));
        QCOMPARE(q.cellText(0, q.fieldIndex(QStringLiteral("_rowid_"))), QStringLiteral("x"));
        QVERIFY(!q.isReadOnly());
        const int row = int(shownRows(q).indexOf(QStringLiteral("词50000|义50000:") + QString(200, u'-')));
        QVERIFY(row >= 0);
        q.moveTo(row);
        q.edit();
        q.setText(colMeaning, QStringLiteral("改"));
        q.post();
        QCOMPARE(fx->value(QStringLiteral("select group_concat(词组) from 词组 where 含义 = '改'")),
                 QStringLiteral("词50000"));
        q.remove();
        QCOMPARE(fx->value(QStringLiteral("select count(*) from 词组 where 词组 = '词50000'")),
                 QStringLiteral("0"));
        QCOMPARE(fx->count(tableWords), q.rowCount());
    }

    void aWriteAheadLogFileIsReadWhole()
    {
        conn.reset();
        fx->exec(QStringLiteral("pragma journal_mode = wal"));
        conn = std::make_unique<Connection>(fx->path());
        QVERIFY(!splits(QStringLiteral("select * from 词组")));
        Query q(conn.get(), QStringLiteral("Cizu_ADOQuery"),
                QStringLiteral("select * from 词组 where 词组 like \"%春%\""));
        q.open();
        QCOMPARE(shownRows(q), engineRows(QStringLiteral("where 词组 like '%春%'")));
    }

    void joinedTextStoresKeepEveryText()
    {
        // Texts of 1 MiB: four to a block, so each store spans several blocks, with a larger one alone.
        const auto text = [](int i) {
            return QByteArray(1 << 20, char('a' + i % 26)) + QByteArray::number(i);
        };
        TextStore first;
        TextStore second;
        std::vector<TextStore::Ref> refs;
        for (int i = 0; i < 9; ++i)
            refs.push_back(first.add(text(i).constData(), size_t(text(i).size())));
        std::vector<TextStore::Ref> secondRefs;
        for (int i = 9; i < 19; ++i)
            secondRefs.push_back(second.add(text(i).constData(), size_t(text(i).size())));
        const QByteArray huge(5 << 20, 'z');
        secondRefs.push_back(second.add(huge.constData(), size_t(huge.size())));
        secondRefs.push_back(second.add("tail", 4));
        const quint32 offset = first.append(std::move(second));
        for (const TextStore::Ref &r : secondRefs)
            refs.push_back(TextStore::shifted(r, offset));
        refs.push_back(first.add("after", 5)); // goes on after the joined texts
        for (int i = 0; i < 19; ++i)
            QCOMPARE(QByteArray(first.data(refs[i]), refs[i].length), text(i));
        QCOMPARE(QByteArray(first.data(refs[19]), refs[19].length), huge);
        QCOMPARE(QByteArray(first.data(refs[20]), refs[20].length), QByteArray("tail"));
        QCOMPARE(QByteArray(first.data(refs[21]), refs[21].length), QByteArray("after"));
    }
};

SHIHAI_TEST_MAIN(TestLargeTables)
#include "test_largetables.moc"
