// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "presentation/associationmodel.h"
#include "tests/support/dbfixture.h"
#include "tests/support/modelfixture.h"

#include <QCoreApplication>
#include <QTest>

#include <memory>

using namespace schema;

// 词语联想 without widgets over a fresh database: searches, their lines and the status texts they
// leave.
class TestAssociationModel : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<QObject> owner;
    std::unique_ptr<Database> db;
    std::unique_ptr<AssociationModel> model;
    QString panels[2];

    void open()
    {
        model.reset();
        owner = std::make_unique<QObject>();
        db = std::make_unique<Database>(fx->path(), owner.get());
        model = std::make_unique<AssociationModel>(*db);
        connect(model.get(), &AssociationModel::statusChanged, owner.get(),
                [this](int panel, const QString &text) { panels[panel] = text; });
    }
    void search(const QString &mode, const QString &text) { model->search(mode, text); }
    // The keys of a result, sorted; the key column carries the table's name.
    static QStringList keys(Query *q)
    {
        QStringList out;
        for (int row = 0; row < q->rowCount(); ++row)
            out << q->cellText(row, q->fieldIndex(q->tableName()));
        out.sort();
        return out;
    }
    QString panel(int i) const { return panels[i]; }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        for (const char *word : {"春风", "迎春", "青春期", "秋月"})
            fx->insert(tableWords, {colWord, colMeaning}, {QString::fromUtf8(word), QStringLiteral("义")});
        for (const char *idiom : {"春华秋实", "四季如春", "满园春色", "一叶知秋"})
            fx->insert(tableIdioms, {colIdiom, colMeaning}, {QString::fromUtf8(idiom), QStringLiteral("义")});
        panels[0].clear();
        panels[1].clear();
        open();
    }
    void cleanup()
    {
        model.reset();
        db.reset();
        owner.reset();
        fx.reset();
    }

    void modesSearchBothTables_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("idioms");
        QTest::addColumn<QString>("condition");
        QTest::newRow("default") << QStringLiteral("-默认-") << QStringLiteral("%春") << QStringList{"迎春"}
                                 << QStringList{"四季如春"} << QStringLiteral("查询条件：字尾=春");
        QTest::newRow("prefix") << QStringLiteral("字首") << QStringLiteral("春%") << QStringList{"春风"}
                                << QStringList{"春华秋实"} << QStringLiteral("查询条件：字首=春");
        QTest::newRow("infix") << QStringLiteral("包含") << QStringLiteral("%春%")
                               << QStringList{"春风", "迎春", "青春期"}
                               << QStringList{"四季如春", "春华秋实", "满园春色"}
                               << QStringLiteral("查询条件：包含=春");
        QTest::newRow("suffix") << QStringLiteral("字尾") << QStringLiteral("%春") << QStringList{"迎春"}
                                << QStringList{"四季如春"} << QStringLiteral("查询条件：字尾=春");
    }
    void modesSearchBothTables()
    {
        QFETCH(QString, mode);
        QFETCH(QString, pattern);
        QFETCH(QStringList, words);
        QFETCH(QStringList, idioms);
        QFETCH(QString, condition);
        words.sort();
        idioms.sort();
        search(mode, QStringLiteral("春"));
        QCOMPARE(db->Cizu_ADOQuery->sql(),
                 QStringList{QStringLiteral("select * from 词组 where 词组 like \"%1\"").arg(pattern)});
        QCOMPARE(db->Chengyu_ADOQuery->sql(),
                 QStringList{QStringLiteral("select * from 成语 where 成语 like \"%1\"").arg(pattern)});
        QCOMPARE(keys(db->Cizu_ADOQuery), words);
        QCOMPARE(keys(db->Chengyu_ADOQuery), idioms);
        QCOMPARE(panel(0), condition);
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=%1 成语=%2").arg(words.size()).arg(idioms.size()));
    }

    void emptyTextListsEveryKeyInEveryMode()
    {
        fx->exec(QStringLiteral("INSERT INTO 成语 (成语, 含义) VALUES (NULL, '无键')"));
        for (const QString &mode : {QStringLiteral("-默认-"), QStringLiteral("字首"), QStringLiteral("字尾"),
                                    QStringLiteral("包含")}) {
            search(mode, QString());
            QCOMPARE(panel(0), QStringLiteral("查询条件：显示全部数据"));
            QCOMPARE(panel(1), QStringLiteral("查询结果：词组=4 成语=4"));
        }
        QCOMPARE(db->Cizu_ADOQuery->sql().value(0),
                 QStringLiteral("select * from 词组 where 词组 like \"%%\""));
    }

    void blankIsATextAndMayFindNothing()
    {
        QCOMPARE(errorOf([&] { search(QStringLiteral("-默认-"), QStringLiteral(" ")); }), QString());
        QCOMPARE(panel(0), QStringLiteral("查询条件：字尾= "));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=0 成语=0"));
        QCOMPARE(db->Cizu_ADOQuery->rowCount(), 0);
        QCOMPARE(db->Chengyu_ADOQuery->rowCount(), 0);
    }

    void typedModeRunsNoSearch()
    {
        search(QStringLiteral("字首"), QStringLiteral("秋"));
        search(QStringLiteral("开头"), QStringLiteral("春"));
        QCOMPARE(db->Cizu_ADOQuery->sql().value(0),
                 QStringLiteral("select * from 词组 where 词组 like \"秋%\""));
        QCOMPARE(keys(db->Cizu_ADOQuery), QStringList{"秋月"});
        QCOMPARE(panel(0), QStringLiteral("查询条件：开头=春"));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=1 成语=0"));
    }

    void quotesAreSearchedLiterallyAndPercentIsAWildcard()
    {
        fx->insert(tableWords, {colWord, colMeaning}, {QStringLiteral("说\"春\""), QString()});
        fx->insert(tableIdioms, {colIdiom, colMeaning}, {QStringLiteral("春's"), QString()});
        open();
        search(QStringLiteral("字尾"), QStringLiteral("\"春\""));
        QCOMPARE(db->Cizu_ADOQuery->sql().value(0),
                 QStringLiteral("select * from 词组 where 词组 like \"%\"\"春\"\"\""));
        QCOMPARE(keys(db->Cizu_ADOQuery), QStringList{"说\"春\""});
        QCOMPARE(panel(0), QStringLiteral("查询条件：字尾=\"春\""));
        search(QStringLiteral("包含"), QStringLiteral("'"));
        QCOMPARE(keys(db->Chengyu_ADOQuery), QStringList{"春's"});
        QCOMPARE(keys(db->Cizu_ADOQuery), QStringList{});
        // Prefix mode with a leading % finds the text anywhere.
        QCOMPARE(errorOf([&] { search(QStringLiteral("字首"), QStringLiteral("%秋")); }), QString());
        QCOMPARE(keys(db->Cizu_ADOQuery), QStringList{"秋月"});
        QCOMPARE(keys(db->Chengyu_ADOQuery), (QStringList{"一叶知秋", "春华秋实"}));
    }

    void refusedWriteStopsTheSearch()
    {
        search(QStringLiteral("字首"), QStringLiteral("春"));
        const QString before0 = panel(0), before1 = panel(1);
        fx->exec(QStringLiteral(
            "CREATE TRIGGER keep BEFORE UPDATE ON 词组 BEGIN SELECT RAISE(ABORT, 'locked row'); END"));
        Query *words = db->Cizu_ADOQuery;
        words->moveTo(0);
        words->edit();
        words->setText(colMeaning, QStringLiteral("春天的风"));
        QCOMPARE(errorOf([&] { search(QStringLiteral("字首"), QStringLiteral("秋")); }),
                 QStringLiteral("locked row"));
        // Neither result was replaced; the typed meaning is still there to be written or discarded.
        QCOMPARE(db->Cizu_ADOQuery->sql().value(0),
                 QStringLiteral("select * from 词组 where 词组 like \"春%\""));
        QCOMPARE(db->Chengyu_ADOQuery->sql().value(0),
                 QStringLiteral("select * from 成语 where 成语 like \"春%\""));
        QCOMPARE(db->Cizu_ADOQuery->state(), Query::State::Edit);
        QCOMPARE(db->Cizu_ADOQuery->text(colMeaning), QStringLiteral("春天的风"));
        QCOMPARE(panel(0), before0);
        QCOMPARE(panel(1), before1);
    }

    void closedResultLeavesThePanelsAlone()
    {
        model->show(QStringLiteral("-默认-"), QString());
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=4 成语=1"));
        db->Cizu_ADOQuery->close();
        QCOMPARE(errorOf([&] { model->show(QStringLiteral("-默认-"), QStringLiteral("春")); }),
                 QStringLiteral("Cannot perform this operation on a closed dataset"));
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示全部数据"));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=4 成语=1"));
        // The next search reopens it.
        search(QStringLiteral("-默认-"), QStringLiteral("春"));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=1 成语=1"));
    }
};

QTEST_GUILESS_MAIN(TestAssociationModel)
#include "test_associationmodel.moc"
