// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "db/sqlite.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <memory>

using namespace schema;

// Query texts that the translator must not let the engine read otherwise than they are written,
// found by fuzzing the translator against the engine.
class TestQueryText : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<Connection> conn;

    // The rows the text selects, or the message it is refused with.
    QString run(const QString &sql)
    {
        Query q(conn.get(), QStringLiteral("q"), sql);
        try {
            q.open();
        } catch (const DbError &e) {
            return e.message();
        }
        QStringList keys;
        for (int i = 0; i < q.recordCount(); ++i)
            keys << q.cellText(i, 0);
        return keys.join(u',');
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        for (const char *w : {"春风", "秋月"})
            fx->insert(tableWords, {colWord, colMeaning}, {QString::fromUtf8(w), QStringLiteral("义")});
        conn = std::make_unique<Connection>(fx->path());
    }
    void cleanup()
    {
        conn.reset();
        fx.reset();
    }

    // A result whose every text is empty is read like any other.
    void resultOfEmptyTextsIsRead()
    {
        fx->exec(QStringLiteral("DELETE FROM 词组; INSERT INTO 词组 VALUES ('', '');"));
        QCOMPARE(run(QStringLiteral("select * from 词组")), QString());
        Query q(conn.get(), QStringLiteral("q"), QStringLiteral("select * from 词组"));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.text(colMeaning), QString());
    }

    // Digits right after a literal are not its parameter's number: the text stays the syntax error
    // it is, instead of comparing with an unbound parameter.
    void digitsAfterALiteralStayOutsideIt()
    {
        const QString result = run(QStringLiteral("select * from 词组 where 词组=\"春风\"2"));
        QVERIFY2(result.contains(QStringLiteral("syntax error")), qPrintable(result));
        QCOMPARE(run(QStringLiteral("select * from 词组 where 词组=\"春风\" ")), QStringLiteral("春风"));
    }

    // A name marker right after a word still starts a parameter for the engine ("where@词组" is
    // "where" and the parameter "@词组"), so it is refused like any other parameter marker.
    void parameterMarkersAfterAWordAreRefused()
    {
        for (const QString &sql : {QStringLiteral("select * from 词组 where@词组 like \"%春%\""),
                                   QStringLiteral("select * from 词组 where:a like \"%春%\""),
                                   QStringLiteral("select * from 词组 where#a like \"%春%\""),
                                   QStringLiteral("select * from 词组 where 词组 like \"%春%\" or#1")}) {
            const QString result = run(sql);
            QVERIFY2(result.startsWith(QStringLiteral("Parameter markers are not allowed")),
                     qPrintable(result));
        }
        // "$" inside a name belongs to the name.
        QVERIFY(run(QStringLiteral("select * from 词组 where 词组$x = 1"))
                    .contains(QStringLiteral("no such column")));
    }

    // The engine reads a text only up to a NUL character: the rest of the condition would be
    // dropped without a word, so such a text is refused.
    void nulCharacterOutsideALiteralIsRefused()
    {
        const QString result =
            run(QStringLiteral("select * from 词组 ") + QChar(0) + QStringLiteral("where 词组=\"春风\""));
        QVERIFY2(!result.contains(QStringLiteral("秋月")), qPrintable(result));
        QVERIFY(!result.isEmpty());
        // Inside a literal it is just a character of the value, bound as it is.
        QCOMPARE(
            run(QStringLiteral("select * from 词组 where 词组=\"春") + QChar(0) + QStringLiteral("风\"")),
            QString());
    }
};

SHIHAI_TEST_MAIN(TestQueryText)
#include "test_querytext.moc"
