// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/query.h"
#include "db/recoveryfile.h"
#include "db/schema.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <memory>

using namespace schema;
using namespace recovery;

namespace {

// A body with a valid first line, so that only its contents can make it unreadable.
QByteArray sealed(const QByteArray &body)
{
    return "shihai-recovery 1 " + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + '\n' +
           body;
}

} // namespace

// The recovery file over a real database: what it holds, what makes it unreadable, and when the
// keeper writes and removes it as rows are typed into and written.
class TestRecovery : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<QObject> owner;
    std::unique_ptr<Database> db;
    std::unique_ptr<RecoveryKeeper> keeper;

    Fingerprint mine() const { return fingerprintOf(fx->path()); }
    qint64 draftRowid() const { return fx->value(QStringLiteral("select rowid from 作品")).toLongLong(); }
    QList<Row> kept() const
    {
        const auto contents = read(keeper->file(), mine());
        return contents ? contents->rows : QList<Row>();
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->insert(tableWords, {colWord, colMeaning}, {QStringLiteral("春风"), QStringLiteral("义")});
        owner = std::make_unique<QObject>();
        db = std::make_unique<Database>(fx->path(), owner.get());
        keeper = std::make_unique<RecoveryKeeper>(fx->path(), db->queries());
    }
    void cleanup()
    {
        keeper.reset();
        owner.reset();
        fx.reset();
    }

    void everyTextReadsBackExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes and SQL") << QStringLiteral("\"'; drop table 作品; --");
        QTest::newRow("rich text") << QStringLiteral("{\\rtf1\\ansi 假的\\par}");
        QTest::newRow("controls and newlines") << QStringLiteral("甲\n\t乙\r\u0001\u0000丙");
        QTest::newRow("beyond the BMP") << QStringLiteral("𬘩𠀀𪚥");
        QTest::newRow("100,000 characters") << QString(100000, u'字');
    }
    void everyTextReadsBackExactly()
    {
        QFETCH(QString, text);
        const QList<Row> rows = {{tableWorks, 7, {{colContent, text}, {colAuthor, QStringLiteral("李白")}}},
                                 {tableWords, std::nullopt, {{colWord, text}}},
                                 {tableJsy, -3, {{colCommon, text}}}};
        const Contents back = decode(encode(mine(), rows), mine());
        QCOMPARE(int(back.problem), int(Problem::None));
        QCOMPARE(back.rows, rows);
    }

    void damagedOrForeignFilesAreNotRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("problem");
        const QByteArray good = encode(fingerprintOf(QStringLiteral("/x")),
                                       {{tableWorks, 1, {{colContent, QStringLiteral("一句")}}}});
        const int damaged = int(Problem::Damaged);
        QTest::newRow("empty") << QByteArray() << damaged;
        QTest::newRow("cut short") << good.left(good.size() - 5) << damaged;
        QByteArray changed = good;
        changed[changed.size() - 10] = 'x';
        QTest::newRow("one byte changed") << changed << damaged;
        QTest::newRow("another format") << ("SQLite format 3" + good) << damaged;
        QTest::newRow("not JSON") << sealed("select 1;") << damaged;
        const QByteArray db = R"("database": {"path": "/x", "device": "1", "inode": "2"})";
        QTest::newRow("unknown table")
            << sealed(
                   "{" + db +
                   R"(, "rows": [{"table": "sqlite_master", "rowid": "1", "fields": [{"column": "sql", "text": "x"}]}]})")
            << damaged;
        QTest::newRow("rowid not a number")
            << sealed(
                   "{" + db +
                   R"(, "rows": [{"table": "作品", "rowid": "1 or 1=1", "fields": [{"column": "内容", "text": "x"}]}]})")
            << damaged;
        QTest::newRow("another database") << good << int(Problem::OtherDatabase);
    }
    void damagedOrForeignFilesAreNotRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, problem);
        QCOMPARE(int(decode(bytes, mine()).problem), problem);
    }

    // Writes change the file but not its fingerprint; a copy of it is another database.
    void fingerprintFollowsTheFileNotItsContents()
    {
        const Fingerprint before = mine();
        db->Edit_ADOQuery->edit();
        db->Edit_ADOQuery->setText(colContent, QString(5000, u'诗'));
        db->Edit_ADOQuery->post();
        QCOMPARE(mine(), before);
        const QString copy = fx->dir() + QStringLiteral("/copy.mdb");
        QVERIFY(QFile::copy(fx->path(), copy));
        QVERIFY(!(fingerprintOf(copy) == before));
    }

    // What a row holds unwritten: its changed values, and a text a control still holds when it differs
    // from the row's; a new row has no rowid, a result that cannot be written holds nothing.
    void unwrittenRowHoldsOnlyWhatDiffers()
    {
        Query *words = db->Cizu_ADOQuery;
        const qint64 rowid = fx->value(QStringLiteral("select rowid from 词组")).toLongLong();
        QCOMPARE(unwrittenRow(*words), std::nullopt);
        const int meaning = words->fieldIndex(colMeaning);
        QCOMPARE(unwrittenRow(*words, meaning, QStringLiteral("义")), std::nullopt);
        QCOMPARE(unwrittenRow(*words, meaning, QStringLiteral("新义")),
                 (Row{tableWords, rowid, {{colMeaning, QStringLiteral("新义")}}}));

        words->edit();
        words->setText(colWord, QStringLiteral("秋风"));
        QCOMPARE(unwrittenRow(*words, meaning, QStringLiteral("义")),
                 (Row{tableWords, rowid, {{colWord, QStringLiteral("秋风")}}}));
        words->cancel();
        words->append();
        QCOMPARE(unwrittenRow(*words, meaning, QStringLiteral("义")),
                 (Row{tableWords, std::nullopt, {{colMeaning, QStringLiteral("义")}}}));
        words->cancel();

        Query joined(db->connection(), QStringLiteral("joined"),
                     QStringLiteral("select 词组.含义 from 词组, 成语"));
        fx->insert(tableIdioms, {colIdiom}, {QStringLiteral("春风化雨")});
        joined.open();
        QCOMPARE(unwrittenRow(joined, 0, QStringLiteral("别的")), std::nullopt);
    }

    // Typing costs no write; within a second the file holds only the changed texts; writing or
    // giving up the rows removes them, and the file with the last of them.
    void keeperFollowsTheRowsUnderEdit()
    {
        Query *draft = db->Edit_ADOQuery;
        const QString line = QString(20000, u'春');
        draft->edit();
        draft->setText(colContent, line);
        QVERIFY(!QFileInfo::exists(keeper->file()));
        QTRY_COMPARE_WITH_TIMEOUT(kept(), (QList<Row>{{tableWorks, draftRowid(), {{colContent, line}}}}),
                                  5000);
        // Bounded by the typed text: no snapshot of the rows around it.
        QVERIFY(QFileInfo(keeper->file()).size() < line.toUtf8().size() + 1024);

        Query *words = db->Cizu_ADOQuery;
        words->append();
        words->setText(colWord, QStringLiteral("秋月"));
        QTRY_COMPARE_WITH_TIMEOUT(kept().size(), 2, 5000);
        QCOMPARE(kept()[1], (Row{tableWords, std::nullopt, {{colWord, QStringLiteral("秋月")}}}));

        draft->post();
        QTRY_COMPARE_WITH_TIMEOUT(kept().size(), 1, 5000);
        words->cancel();
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(keeper->file()), 5000);
        // Written whole by renaming: no temporary file stays behind.
        QCOMPARE(QDir(fx->dir() + QStringLiteral("/date")).entryList(QDir::Files),
                 QStringList{QStringLiteral("W.mdb")});
    }

    // Steady typing does not hold the file back: it follows while the keys keep coming.
    void keeperWritesDuringSteadyTyping()
    {
        Query *words = db->Cizu_ADOQuery;
        words->edit();
        QString typed;
        for (int i = 0; i < 400 && !QFileInfo::exists(keeper->file()); ++i) {
            typed += u'风';
            words->setText(colMeaning, typed);
            QTest::qWait(50);
        }
        QVERIFY(QFileInfo::exists(keeper->file()));
        QVERIFY(typed.size() < 400);
    }
};

SHIHAI_TEST_MAIN(TestRecovery)
#include "test_recovery.moc"
