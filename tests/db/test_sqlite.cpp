// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/dberror.h"
#include "db/sqlite.h"
#include "tests/support/dbfixture.h"
#include "tests/testmain.h"

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

// The wrapper over a real file: its column readers on texts, numbers, raw bytes and single characters
// of every UTF-8 length, as the reference files store them, and its binds.
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
        Statement st(file, QByteArrayLiteral("SELECT k, v FROM t ORDER BY rowid"));
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

    // A row bound at once keeps each value's type; a value the statement has no place for, or a row
    // of another length, is refused with a message instead of being lost.
    void rowsBindByTypeAndRefusalsThrow()
    {
        const Fixture fx;
        SqliteFile file(fx.dir() + QStringLiteral("/binds.db"), SqliteFile::Mode::Create);
        file.exec("CREATE TABLE t(a, b, c, d, e, f)");
        Statement insert(file, QByteArrayLiteral("INSERT INTO t VALUES (?1, ?2, ?3, ?4, ?5, ?6)"));
        insert.bindRow(QStringLiteral("月"), qsizetype(3000000000), QByteArray("\0\x80", 2), nullptr,
                       std::optional<QString>(), std::optional<int>(7));
        QVERIFY(!insert.step());
        QCOMPARE(file.changes(), 1);
        QCOMPARE(file.lastInsertRowId(), 1);

        Statement read(file,
                       QByteArrayLiteral("SELECT typeof(a), typeof(b), typeof(c), typeof(d), typeof(e), "
                                         "typeof(f), a, b, c, f FROM t"));
        QVERIFY(read.step());
        QStringList types;
        for (int c = 0; c < 6; ++c)
            types << read.text(c);
        QCOMPARE(types,
                 (QStringList{u"text"_s, u"integer"_s, u"blob"_s, u"null"_s, u"null"_s, u"integer"_s}));
        QCOMPARE(read.text(6), u"月"_s);
        QCOMPARE(read.int64(7), 3000000000);
        QCOMPARE(read.blob(8).toByteArray(), QByteArray("\0\x80", 2));
        QCOMPARE(read.int32(9), 7);

        const auto refusal = [&](const std::function<void()> &bind) {
            try {
                bind();
            } catch (const DbError &e) {
                return e.message();
            }
            return QString();
        };
        // A statement run once takes no values until it is reset.
        QCOMPARE(refusal([&] { insert.bindInt64(1, 1); }), u"bad parameter or other API misuse"_s);
        insert.reset();
        QCOMPARE(refusal([&] { insert.bindText(7, u"七"_s); }), u"column index out of range"_s);
        QCOMPARE(refusal([&] { insert.bindInt64(0, 1); }), u"column index out of range"_s);
        QVERIFY(
            refusal([&] { insert.bindRow(u"a"_s, 1); }).startsWith(u"2 values bound to a statement of 6"_s));

        // Only a comment: no statement to run, and the text after the first statement is kept.
        QVERIFY(Statement(file, "-- nothing").isEmpty());
        QCOMPARE(Statement(file, "SELECT 1; SELECT 2").tail(), QByteArray(" SELECT 2"));
    }
};

SHIHAI_TEST_MAIN(TestSqlite)
#include "test_sqlite.moc"
