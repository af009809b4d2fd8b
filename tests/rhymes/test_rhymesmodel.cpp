// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/dberror.h"
#include "presentation/rhymesmodel.h"
#include "tests/creation/rhymerows.h"
#include "tests/support/dbfixture.h"
#include "tests/support/modelfixture.h"

#include <QCoreApplication>
#include <QTest>

#include <memory>

using namespace schema;

// 编辑整理 without widgets over a fresh database: the four lookups, the status texts, and what a
// lookup writes or refuses.
class TestRhymesModel : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<OpenModel<RhymesModel>> m;

    RhymesModel &model() { return m->model; }
    QString panel(int i) const { return m->panels[i]; }
    Query *psy() const { return m->db.View_psy_ADOQuery; }
    Query *jsy() const { return m->db.View_jsy_ADOQuery; }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        addRhymes(*fx);
        m = std::make_unique<OpenModel<RhymesModel>>(fx->path());
    }
    void cleanup()
    {
        m.reset();
        fx.reset();
    }

    void lookupCases_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("final");
        QTest::addColumn<QString>("tone");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("psy");
        QTest::addColumn<QStringList>("jsy");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("counts");
        // Rows with an empty 简易 (mang, rang) are shown on this page.
        QTest::newRow("final and tone")
            << "[a]开头"
            << "ang"
            << "阳平"
            << QStringList({"select * from 平舌音 where ", "韵母=\"ang\"", " and ", "声调=\"阳平\"",
                            " order by 音节"})
            << QStringList({"ang", "fang", "mang", "pang"}) << QStringList({"chang", "rang", "shang"})
            << "查询条件：韵母=ang 声调=阳平"
            << "数据条目：平舌音=4 卷舌音=3";
        // 阴 sorts above 阳, 去 above 上 in the engine's order of the characters.
        QTest::newRow("final only") << "[a]开头"
                                    << "ang"
                                    << "-全部-"
                                    << QStringList({"select * from 平舌音 where ", "韵母=\"ang\"",
                                                    " order by 声调 DESC,音节"})
                                    << QStringList({"bang", "ang", "fang", "mang", "pang", "sang", "bang"})
                                    << QStringList({"zhang", "chang", "rang", "shang"})
                                    << "查询条件：韵母=ang"
                                    << "数据条目：平舌音=7 卷舌音=4";
        // A final left behind by a group given up again is ignored.
        QTest::newRow("tone only") << "-全部-"
                                   << "o"
                                   << "去声" << QStringList({"select * from 平舌音 where ", "声调=\"去声\""})
                                   << QStringList({"ba", "sang"}) << QStringList({"zha"})
                                   << "查询条件：声调=去声"
                                   << "数据条目：平舌音=2 卷舌音=1";
        QTest::newRow("all") << "-全部-"
                             << "o"
                             << "-全部-" << QStringList({"select * from 平舌音"})
                             << QStringList(
                                    {"pang", "bang", "ang", "mang", "fang", "ba", "sang", "bang", "lü"})
                             << QStringList({"shang", "chang", "rang", "zhang", "zha"})
                             << "查询条件：显示所有记录"
                             << "数据条目：平舌音=9 卷舌音=5";
        // A typed group names a condition: the final is whatever the finals selector shows.
        QTest::newRow("typed group") << "[a]"
                                     << "-全部-"
                                     << "-全部-"
                                     << QStringList({"select * from 平舌音 where ", "韵母=\"-全部-\"",
                                                     " order by 声调 DESC,音节"})
                                     << QStringList() << QStringList() << "查询条件：韵母=-全部-"
                                     << "数据条目：平舌音=0 卷舌音=0";
        QTest::newRow("blank final") << "[ü]开头"
                                     << " "
                                     << "上声"
                                     << QStringList({"select * from 平舌音 where ", "韵母=\" \"", " and ",
                                                     "声调=\"上声\"", " order by 音节"})
                                     << QStringList() << QStringList() << "查询条件：韵母=  声调=上声"
                                     << "数据条目：平舌音=0 卷舌音=0";
    }
    void lookupCases()
    {
        QFETCH(QString, group);
        QFETCH(QString, final);
        QFETCH(QString, tone);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, psy);
        QFETCH(QStringList, jsy);
        QFETCH(QString, condition);
        QFETCH(QString, counts);
        QCOMPARE(errorOf([&] { model().lookUp(group, final, tone); }), QString());
        QCOMPARE(this->psy()->sql(), lines);
        QCOMPARE(this->jsy()->sql(), lines.replaceInStrings("平舌音", "卷舌音"));
        QCOMPARE(queryColumn(this->psy(), colSyllable), psy);
        QCOMPARE(queryColumn(this->jsy(), colSyllable), jsy);
        QCOMPARE(panel(0), condition);
        QCOMPARE(panel(1), counts);
    }

    void showDescribesTheSelectorsAsTheyAreNow_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("final");
        QTest::addColumn<QString>("tone");
        QTest::addColumn<QString>("condition");
        QTest::newRow("all") << "-全部-"
                             << "-全部-"
                             << "-全部-"
                             << "查询条件：显示所有记录";
        QTest::newRow("tone") << "-全部-"
                              << "-全部-"
                              << "阴平"
                              << "查询条件：声调=阴平";
        QTest::newRow("final") << "[e]开头"
                               << "e"
                               << "-全部-"
                               << "查询条件：韵母=e";
        QTest::newRow("both") << "[e]开头"
                              << "e"
                              << "阴平"
                              << "查询条件：韵母=e 声调=阴平";
    }
    void showDescribesTheSelectorsAsTheyAreNow()
    {
        QFETCH(QString, group);
        QFETCH(QString, final);
        QFETCH(QString, tone);
        QFETCH(QString, condition);
        model().show(group, final, tone);
        QCOMPARE(panel(0), condition);
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=9 卷舌音=5"));
        QCOMPARE(psy()->sql(), QStringList{"select * from 平舌音"});
    }

    void unwrittenEditIsWrittenBeforeTheLookup()
    {
        typeInto(psy(), 0, colCommon, "旁庞膀");
        typeInto(jsy(), 0, colCommon, "裳常");
        model().lookUp("[a]开头", "ang", "阳平");
        QCOMPARE(fx->value("select 简易 from 平舌音 where 音节='pang'"), QStringLiteral("旁庞膀"));
        QCOMPARE(fx->value("select 简易 from 卷舌音 where 音节='shang'"), QStringLiteral("裳常"));
        QCOMPARE(queryColumn(psy(), colCommon), QStringList({"昂", "房防", "", "旁庞膀"}));
    }

    void refusedWriteStopsTheLookup()
    {
        fx->exec("CREATE TRIGGER keep BEFORE UPDATE ON 平舌音 BEGIN SELECT RAISE(ABORT, 'locked row'); END");
        model().show("-全部-", "-全部-", "-全部-");
        typeInto(psy(), 0, colCommon, "旁庞膀");

        QCOMPARE(errorOf([&] { model().lookUp("[a]开头", "ang", "阳平"); }), QStringLiteral("locked row"));
        QCOMPARE(psy()->state(), Query::State::Edit);
        QCOMPARE(psy()->text(colCommon), QStringLiteral("旁庞膀"));
        QCOMPARE(psy()->sql(), QStringList{"select * from 平舌音"});
        QCOMPARE(jsy()->sql(), QStringList{"select * from 卷舌音"});
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
    }

    void failedOpenLeavesTheQueryClosed()
    {
        model().show("-全部-", "-全部-", "-全部-");
        fx->exec("DROP TABLE 平舌音");
        QCOMPARE(errorOf([&] { model().lookUp("-全部-", "-全部-", "阳平"); }),
                 QStringLiteral("no such table: 平舌音"));
        QVERIFY(!psy()->isOpen());
        QCOMPARE(psy()->rowCount(), 0);
        QCOMPARE(jsy()->sql(), QStringList{"select * from 卷舌音"});
        QCOMPARE(jsy()->rowCount(), 5);
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=9 卷舌音=5"));

        QCOMPARE(errorOf([&] { model().show("-全部-", "-全部-", "阳平"); }),
                 QStringLiteral("Cannot perform this operation on a closed dataset"));
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
    }
};

QTEST_GUILESS_MAIN(TestRhymesModel)
#include "test_rhymesmodel.moc"
