// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/query.h"
#include "db/rtf.h"
#include "db/schema.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QDir>
#include <QFile>

#include <memory>

using namespace schema;

// The query texts of the pages as the engine must read them, user text made literal, and the
// start-up checks of the database file.
class TestDialect : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<Connection> conn;

    QStringList words(const QStringList &lines, const QString &column = colWord)
    {
        Query q(conn.get(), QStringLiteral("q"), QString());
        for (const QString &line : lines)
            q.addSql(line);
        q.open();
        QStringList out;
        for (int i = 0; i < q.recordCount(); ++i)
            out << q.cellText(i, q.fieldIndex(column));
        return out;
    }
    QStringList rhyme(const QStringList &lines) { return words(lines, colSyllable); }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        for (const auto &[final, syllable, tone, common] : {std::tuple{"ang", "yang", "阳平", "阳羊"},
                                                            {"ang", "bang", "阴平", "帮"},
                                                            {"ang", "tang", "阳平", "唐糖"},
                                                            {"ang", "lang", "阳平", ""},
                                                            {"an", "an", "阴平", "安"},
                                                            {"ang", "zang", "去声", "葬"}})
            fx->insert(tablePsy, {colFinal, colSyllable, colTone, colCommon},
                       {QString::fromUtf8(final), QString::fromUtf8(syllable), QString::fromUtf8(tone),
                        QString::fromUtf8(common)});
        for (const char *w : {"春风", "阳春", "春天里", "早春天", "a\"b", "it's", "100%", "x_y", "xzy"})
            fx->insert(tableWords, {colWord}, {QString::fromUtf8(w)});
        conn = std::make_unique<Connection>(fx->path());
    }
    void cleanup()
    {
        conn.reset();
        fx.reset();
    }

    void doubleQuotedTextIsALiteralEvenWhenItNamesAColumn()
    {
        // Without the translation the engine would compare 韵母 with the column 韵母 itself.
        fx->insert(
            tablePsy, {colFinal, colSyllable, colTone, colCommon},
            {QStringLiteral("韵母"), QStringLiteral("odd"), QStringLiteral("阴平"), QStringLiteral("怪")});
        QCOMPARE(rhyme({QStringLiteral("select * from 平舌音 where "), QStringLiteral("韵母=\"韵母\"")}),
                 QStringList{QStringLiteral("odd")});
    }

    void lookupLinesSelectOrderAndExcludeEmpty()
    {
        const QStringList lines = {QStringLiteral("select * from 平舌音 where "),
                                   QStringLiteral("韵母=\"ang\""),
                                   QStringLiteral(" and "),
                                   QStringLiteral("声调=\"阳平\""),
                                   QStringLiteral(" and "),
                                   QStringLiteral("简易<>\"\""),
                                   QStringLiteral(" order by 音节")};
        QCOMPARE(rhyme(lines), QStringList({QStringLiteral("tang"), QStringLiteral("yang")}));
        QCOMPARE(rhyme({QStringLiteral("select * from 平舌音 where 简易<>''")}).size(), 5);
        QCOMPARE(rhyme({QStringLiteral("select * from 平舌音 where "), QStringLiteral("韵母=\"ang\""),
                        QStringLiteral(" order by 声调 DESC,音节")}),
                 QStringList({QStringLiteral("bang"), QStringLiteral("lang"), QStringLiteral("tang"),
                              QStringLiteral("yang"),
                              QStringLiteral("zang")})); // 阴平 > 阳平 > 去声 by code point
    }

    void likePatternsOfTheFourModes()
    {
        const auto like = [&](const QString &pattern) {
            QStringList found =
                words({QStringLiteral("select * from 词组 where 词组 like ") + dialect::literal(pattern)});
            found.sort();
            return found;
        };
        QCOMPARE(like(QStringLiteral("春%")),
                 QStringList({QStringLiteral("春天里"), QStringLiteral("春风")}));
        QCOMPARE(like(QStringLiteral("%春")), QStringList{QStringLiteral("阳春")});
        QCOMPARE(like(QStringLiteral("%春%")).size(), 4);
        QCOMPARE(like(QStringLiteral("%%")).size(), 9);
        QCOMPARE(words({QStringLiteral("select * from 成语 where 成语 like '春%'")}), QStringList());
    }

    void literalHelperKeepsHostileTextInsideTheLiteral()
    {
        const QStringList hostile = {QStringLiteral("a\"b"),
                                     QStringLiteral("it's"),
                                     QStringLiteral("\" or 1=1 --"),
                                     QStringLiteral("\"; drop table 作品; --"),
                                     QStringLiteral("'); delete from 词组; --"),
                                     QStringLiteral("\\"),
                                     QStringLiteral("\"\""),
                                     QStringLiteral("[x]"),
                                     QStringLiteral("?"),
                                     QStringLiteral(":a @b $c"),
                                     QStringLiteral("/* x")};
        for (const QString &text : hostile) {
            const QStringList found =
                words({QStringLiteral("select * from 词组 where 词组=") + dialect::literal(text)});
            const bool stored = text == QStringLiteral("a\"b") || text == QStringLiteral("it's");
            QCOMPARE(found, stored ? QStringList{text} : QStringList());
        }
        QCOMPARE(fx->count(tableWords), 9);
        QCOMPARE(fx->count(tableWorks), 1);
        const dialect::Translated t =
            dialect::translate(QStringLiteral("a=") + dialect::literal(QStringLiteral("x\"'y")));
        QCOMPARE(t.literals, QStringList{QStringLiteral("x\"'y")});
        QCOMPARE(t.sql, QByteArray("a=?"));
    }

    void percentKeepsItsWildcardMeaning()
    {
        QCOMPARE(words({QStringLiteral("select * from 词组 where 词组 like ") +
                        dialect::literal(QStringLiteral("%0%"))}),
                 QStringList{QStringLiteral("100%")});
        QCOMPARE(words({QStringLiteral("select * from 词组 where 词组 like ") +
                        dialect::literal(QStringLiteral("%春"))}),
                 QStringList{QStringLiteral("阳春")});
    }

    void brokenTextReportsTheEngineMessageAndStaysClosed()
    {
        Query q(conn.get(), QStringLiteral("q"), QStringLiteral("select * from 词组 where 词组=\"a"));
        try {
            q.open();
            QFAIL("an unclosed literal must not open");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("unrecognized token")), qPrintable(e.message()));
        }
        QVERIFY(!q.isOpen());
        Query two(conn.get(), QStringLiteral("two"), QStringLiteral("select * from 词组; delete from 词组"));
        QVERIFY_THROWS_EXCEPTION(DbError, two.open());
        QCOMPARE(fx->count(tableWords), 9);
    }

    void startUpStopsWithTheEngineMessage()
    {
        QObject owner;
        QTemporaryDir empty;
        try {
            Database db(empty.path() + QStringLiteral("/date/W.mdb"), &owner);
            QFAIL("a missing folder must stop start-up");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), QStringLiteral("unable to open database file"));
        }
        QVERIFY(!QFile::exists(empty.path() + QStringLiteral("/date")));
        QDir(empty.path()).mkpath(QStringLiteral("date"));
        QVERIFY_THROWS_EXCEPTION(DbError, Database(empty.path() + QStringLiteral("/date/W.mdb"), &owner));
        QVERIFY(!QFile::exists(empty.path() + QStringLiteral("/date/W.mdb"))); // never created

        QFile blank(empty.path() + QStringLiteral("/date/W.mdb"));
        QVERIFY(blank.open(QIODevice::WriteOnly));
        blank.close();
        try {
            Database db(blank.fileName(), &owner);
            QFAIL("a file without the tables must stop start-up");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), QStringLiteral("no such table: 平舌音"));
        }

        Database db(fx->path(), &owner);
        QCOMPARE(db.queries().size(), 8);
        QCOMPARE(db.Edit_ADOQuery->recordCount(), 1);
        QCOMPARE(db.Edit_psy_ADOQuery->recordCount(), 5);
        QCOMPARE(db.View_psy_ADOQuery->recordCount(), 6);
        QCOMPARE(owner.findChild<Query *>(QStringLiteral("Chengyu_ADOQuery")), db.Chengyu_ADOQuery);
    }

    void richTextIsShownAsItsText()
    {
        const QString stored = QStringLiteral(
            "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
            "{\\colortbl ;\\red0\\green0\\blue0;}\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 "
            "\\'b4\\'b2\\'c7\\'b0\\'c3\\'f7\\'d4\\'c2\\'b9\\'e2\\par\n\\u30097?\\tab b\\{\\}\\par\n}");
        QVERIFY(rtf::isRtf(stored));
        QCOMPARE(rtf::toPlainText(stored), QStringLiteral("床前明月光\n疑\tb{}"));
        QCOMPARE(rtf::displayText(QStringLiteral("{not rtf")), QStringLiteral("{not rtf"));
        QCOMPARE(rtf::toPlainText(QStringLiteral("{\\rtf1 a\\'")),
                 QStringLiteral("a")); // cut short: no crash
    }
};

SHIHAI_TEST_MAIN(TestDialect)
#include "test_dialect.moc"
