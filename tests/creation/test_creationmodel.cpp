// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/dberror.h"
#include "presentation/creationmodel.h"
#include "tests/creation/rhymerows.h"
#include "tests/support/dbfixture.h"
#include "tests/support/modelfixture.h"

#include <QCoreApplication>
#include <QTest>

#include <memory>

using namespace schema;

// 开始创作 without widgets over a fresh database: the lookup by final and tone, its status texts,
// and what it writes or refuses.
class TestCreationModel : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<OpenModel<CreationModel>> m;

    CreationModel &model() { return m->model; }
    QString panel(int i) const { return m->panels[i]; }
    Query *psy() const { return m->db.Edit_psy_ADOQuery; }
    Query *jsy() const { return m->db.Edit_jsy_ADOQuery; }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        addRhymes(*fx);
    }
    void cleanup()
    {
        m.reset();
        fx.reset();
    }

    void lookupReplacesBothQueries()
    {
        m = std::make_unique<OpenModel<CreationModel>>(fx->path());
        model().lookUp("[a]开头", "ang", "阳平");
        QCOMPARE(psy()->sql(), QStringList({"select * from 平舌音 where ", "韵母=\"ang\"", " and ",
                                            "声调=\"阳平\"", " and ", "简易<>\"\"", " order by 音节"}));
        QCOMPARE(jsy()->sql(), QStringList({"select * from 卷舌音 where ", "韵母=\"ang\"", " and ",
                                            "声调=\"阳平\"", " and ", "简易<>\"\"", " order by 音节"}));
        QCOMPARE(queryColumn(psy(), colCommon), QStringList({"昂", "房防", "旁庞"}));
        QVERIFY(CreationModel::lookupMessage("[a]开头", "阳平").isEmpty());
    }

    void lookupShowsRowsAndCounts_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("final");
        QTest::addColumn<QString>("tone");
        QTest::addColumn<QStringList>("psy");
        QTest::addColumn<QStringList>("jsy");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("counts");
        // mang and rang have no common characters and stay hidden.
        QTest::newRow("ang 阳平") << "[a]开头"
                                  << "ang"
                                  << "阳平" << QStringList({"ang", "fang", "pang"})
                                  << QStringList({"chang", "shang"}) << "查询条件：韵母=ang 声调=阳平"
                                  << "数据条目：平舌音=3 卷舌音=2";
        QTest::newRow("ü 上声") << "[ü]开头"
                                << "ü"
                                << "上声" << QStringList({"lü"}) << QStringList()
                                << "查询条件：韵母=ü 声调=上声"
                                << "数据条目：平舌音=1 卷舌音=0";
        QTest::newRow("nothing") << "[o]开头"
                                 << "o"
                                 << "去声" << QStringList() << QStringList() << "查询条件：韵母=o 声调=去声"
                                 << "数据条目：平舌音=0 卷舌音=0";
        QTest::newRow("blank final") << "[o]开头"
                                     << " "
                                     << "阴平" << QStringList() << QStringList()
                                     << "查询条件：韵母=  声调=阴平"
                                     << "数据条目：平舌音=0 卷舌音=0";
    }
    void lookupShowsRowsAndCounts()
    {
        QFETCH(QString, group);
        QFETCH(QString, final);
        QFETCH(QString, tone);
        QFETCH(QStringList, psy);
        QFETCH(QStringList, jsy);
        QFETCH(QString, condition);
        QFETCH(QString, counts);
        m = std::make_unique<OpenModel<CreationModel>>(fx->path());
        model().lookUp(group, final, tone);
        QCOMPARE(queryColumn(this->psy(), colSyllable), psy);
        QCOMPARE(queryColumn(this->jsy(), colSyllable), jsy);
        QCOMPARE(panel(0), condition);
        QCOMPARE(panel(1), counts);
    }

    void incompleteConditionsAreRefused_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("tone");
        QTest::newRow("group only") << "[a]开头"
                                    << "请选择";
        QTest::newRow("tone only") << "请选择"
                                   << "阳平";
        QTest::newRow("neither") << "请选择"
                                 << "请选择";
    }
    void incompleteConditionsAreRefused()
    {
        QFETCH(QString, group);
        QFETCH(QString, tone);
        m = std::make_unique<OpenModel<CreationModel>>(fx->path());
        model().lookUp("[a]开头", "ang", "阳平");

        QCOMPARE(CreationModel::lookupMessage(group, tone), QStringLiteral("请选择完整的条件进行查询"));
        model().lookUp(group, "ang", tone);
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=3 卷舌音=2"));
        QCOMPARE(psy()->sql()[3], QStringLiteral("声调=\"阳平\""));
        QCOMPARE(queryColumn(jsy(), colSyllable), QStringList({"chang", "shang"}));
    }

    void showWritesTheSelectorsWithoutRequerying()
    {
        m = std::make_unique<OpenModel<CreationModel>>(fx->path());
        model().show("请选择", "请选择", "请选择");
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=8 卷舌音=4"));

        model().show("[a]开头", "ang", "阳平");
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=ang 声调=阳平"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=8 卷舌音=4"));
        QCOMPARE(psy()->sql(), QStringList{"select * from 平舌音 where 简易<>''"});
        QCOMPARE(psy()->rowCount(), 8);
    }

    void quotesInTypedSelectorsAreSearchedAsText()
    {
        fx->insert(tablePsy, {colFinal, colSyllable, colTone, colCommon}, {"x\"y", "xy", "阴'平", "某"});
        m = std::make_unique<OpenModel<CreationModel>>(fx->path());
        QCOMPARE(errorOf([&] { model().lookUp("[a]开头", "x\"y", "阴'平"); }), QString());
        QCOMPARE(psy()->sql()[1], QStringLiteral("韵母=\"x\"\"y\""));
        QCOMPARE(queryColumn(psy(), colSyllable), QStringList{"xy"});
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=x\"y 声调=阴'平"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=1 卷舌音=0"));
    }

    void failedOpenLeavesTheQueryClosedUntilTheNextLookup()
    {
        m = std::make_unique<OpenModel<CreationModel>>(fx->path());
        model().lookUp("[a]开头", "ang", "阳平");
        fx->exec("DROP TABLE 平舌音");

        QCOMPARE(errorOf([&] { model().lookUp("[a]开头", "ang", "阴平"); }),
                 QStringLiteral("no such table: 平舌音"));
        QVERIFY(!psy()->isOpen());
        QCOMPARE(psy()->rowCount(), 0);
        QCOMPARE(jsy()->sql()[3], QStringLiteral("声调=\"阳平\""));
        QCOMPARE(queryColumn(jsy(), colSyllable), QStringList({"chang", "shang"}));
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=ang 声调=阳平"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=3 卷舌音=2"));

        QCOMPARE(errorOf([&] { model().show("[a]开头", "ang", "阴平"); }),
                 QStringLiteral("Cannot perform this operation on a closed dataset"));
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=ang 声调=阳平"));

        fx->exec(createStatements()[0]);
        model().lookUp("[a]开头", "ang", "阴平");
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=0 卷舌音=1"));
        QCOMPARE(errorOf([&] { model().show("[a]开头", "ang", "阴平"); }), QString());
    }

    void unwrittenGridEditIsWrittenBeforeTheLookup()
    {
        m = std::make_unique<OpenModel<CreationModel>>(fx->path());
        typeInto(jsy(), 0, colCommon, "裳常");
        model().lookUp("[a]开头", "ang", "阳平");
        QCOMPARE(fx->value("select 简易 from 卷舌音 where 音节='shang'"), QStringLiteral("裳常"));
        QCOMPARE(queryColumn(jsy(), colCommon), QStringList({"长常肠", "裳常"}));
    }

    void refusedGridWriteStopsTheLookup()
    {
        m = std::make_unique<OpenModel<CreationModel>>(fx->path());
        fx->exec("CREATE TRIGGER keep BEFORE UPDATE ON 卷舌音 BEGIN SELECT RAISE(ABORT, 'locked row'); END");
        model().show("请选择", "请选择", "请选择");
        typeInto(jsy(), 0, colCommon, "裳常");

        QCOMPARE(errorOf([&] { model().lookUp("[a]开头", "ang", "阳平"); }), QStringLiteral("locked row"));
        QCOMPARE(jsy()->state(), Query::State::Edit);
        QCOMPARE(jsy()->text(colCommon), QStringLiteral("裳常"));
        QCOMPARE(jsy()->sql(), QStringList{"select * from 卷舌音 where 简易<>''"});
        QCOMPARE(psy()->sql(), QStringList{"select * from 平舌音 where 简易<>''"});
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
        QCOMPARE(fx->value("select 简易 from 卷舌音 where 音节='shang'"), QStringLiteral("裳"));
    }

    // The character 查韵 offers for a click: the one left or right of the nearest caret, a
    // character beyond the Basic Plane whole, never punctuation or the end of the text.
    void characterAtAClick()
    {
        const QString ext = QString::fromUcs4(U"\U00020000");
        const QString text = QStringLiteral("东风") + ext + QStringLiteral("，");
        QCOMPARE(CreationModel::characterAt(text, 0, false), QStringLiteral("东"));
        QCOMPARE(CreationModel::characterAt(text, 0, true), QStringLiteral("东"));
        QCOMPARE(CreationModel::characterAt(text, 1, true), QStringLiteral("东"));
        QCOMPARE(CreationModel::characterAt(text, 1, false), QStringLiteral("风"));
        QCOMPARE(CreationModel::characterAt(text, 2, false), ext);
        QCOMPARE(CreationModel::characterAt(text, 3, false), ext);
        QCOMPARE(CreationModel::characterAt(text, 4, true), ext);
        QCOMPARE(CreationModel::characterAt(text, 4, false), QString());
        QCOMPARE(CreationModel::characterAt(text, 5, true), QString());
        QCOMPARE(CreationModel::characterAt(text, 5, false), QString());
        QCOMPARE(CreationModel::characterAt(QString(), 0, true), QString());
    }
};

QTEST_GUILESS_MAIN(TestCreationModel)
#include "test_creationmodel.moc"
