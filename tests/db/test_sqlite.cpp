#include "db/sqlite.h"
#include "tests/support/dbfixture.h"
#include "tests/testmain.h"

// The wrapper's column readers over a real file: texts, numbers, raw bytes and single characters of
// every UTF-8 length, as the reference files store them.
class TestSqlite : public QObject {
    Q_OBJECT

private slots:
    void columnsReadAsStored()
    {
        const Fixture fx;
        SqliteFile file(fx.dir() + QStringLiteral("/readers.db"), SqliteFile::Mode::Create);
        file.exec("CREATE TABLE t(k INTEGER, v TEXT);"
                  "INSERT INTO t VALUES (1, 'a'), (2, 'é'), (3, '月'), (4, '𠀀'), (5, ''), (6, NULL),"
                  " (7, '明月'), (8, 'ab'), (9, CAST(x'80' AS TEXT)), (3000000000, '春风')");
        Statement st(file.handle(), QByteArrayLiteral("SELECT k, v FROM t ORDER BY rowid"));
        QList<uint> characters;
        QList<qint64> keys;
        QStringList texts;
        QList<QByteArray> bytes;
        st.forEachRow([&](const Statement &row) {
            characters << uint(row.character(1));
            keys << row.int64(0);
            texts << row.text(1);
            bytes << row.bytes(1).toByteArray();
        });
        QCOMPARE(characters, (QList<uint>{'a', 0xE9, 0x6708, 0x20000, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(keys.size(), 10);
        QCOMPARE(keys.last(), 3000000000);
        QVERIFY(texts[5].isNull());
        QVERIFY(!texts[4].isNull());
        QCOMPARE(texts[6], QStringLiteral("明月"));
        QCOMPARE(bytes[3], QStringLiteral("𠀀").toUtf8());
        QCOMPARE(bytes[8], QByteArray("\x80"));

        st.reset();
        QVERIFY(st.step());
        QCOMPARE(st.int32(0), 1);
    }
};

SHIHAI_TEST_MAIN(TestSqlite)
#include "test_sqlite.moc"
