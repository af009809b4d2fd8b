// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "pages/rhymes/rhymespage.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "presentation/rhymesmodel.h"
#include "tests/creation/rhymedata.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QToolButton>

#include <memory>

using namespace schema;

// The page 编辑整理 over a fresh database, without the main window: selectors, the four lookups,
// editing in the grids.
class TestRhymesPage : public QObject {
    Q_OBJECT

    struct Page {
        QObject owner;
        Database db;
        StatusBar status;
        RhymesPage page;
        explicit Page(const QString &path)
            : db(path, &owner)
            , page(new RhymesModel(db), &status)
        {
        }
    };

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<Page> p;

    RhymesPage &page() { return p->page; }
    QString panel(int i) const { return p->status.panelText(i); }
    void open() { p = std::make_unique<Page>(fx->path()); }

    void chooseGroup(const QString &group)
    {
        page().ComboBox4->setEditText(group);
        page().ComboBox4Change();
    }
    void chooseTone(const QString &tone)
    {
        page().ComboBox6->setEditText(tone);
        page().ComboBox6Change();
    }
    void choose(const QString &group, int finalIndex, const QString &tone)
    {
        chooseGroup(group);
        if (finalIndex >= 0)
            page().ComboBox5->setCurrentIndex(finalIndex);
        chooseTone(tone);
    }
    QStringList items(const QComboBox *box) const
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    void selectCell(DbGrid *grid, int row, int column)
    {
        grid->setCurrentIndex(grid->model()->index(row, column));
    }
    bool typeCell(DbGrid *grid, int row, int column, const QString &text)
    {
        return grid->model()->setData(grid->model()->index(row, column), text);
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        addRhymes(*fx);
        dialogs = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        p.reset();
        dialogs.reset();
        fx.reset();
    }

    void selectorsStartAtAll()
    {
        open();
        QCOMPARE(items(page().ComboBox4),
                 QStringList({"[a]开头", "[e]开头", "[i]开头", "[o]开头", "[u]开头", "[ü]开头", "-全部-"}));
        QCOMPARE(items(page().ComboBox5), QStringList({"a", "ai", "an", "ao", "ang", "", "", ""}));
        QCOMPARE(items(page().ComboBox6), QStringList({"阴平", "阳平", "上声", "去声", "-全部-"}));
        for (QComboBox *box : {page().ComboBox4, page().ComboBox5, page().ComboBox6}) {
            QCOMPARE(box->currentText(), QStringLiteral("-全部-"));
            QCOMPARE(look::fill(box), look::skyBlue);
        }
        QVERIFY(!page().ComboBox5->isEnabled());
        QCOMPARE(page().ComboBox4->maxVisibleItems(), 7);
        QCOMPARE(page().ComboBox6->maxVisibleItems(), 5);
    }

    void groupThenAllThenGroup_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("a") << "[a]开头" << QStringList({"a", "ai", "ao", "an", "ang", " ", " ", " "});
        QTest::newRow("e") << "[e]开头" << QStringList({"e", "ei", "en", "eng", " ", " ", " ", " "});
        QTest::newRow("i") << "[i]开头" << QStringList({"i", "ia", "iao", "ian", "iang", "ie", "in", "ing"});
        QTest::newRow("o") << "[o]开头" << QStringList({"o", "ou", "ong", " ", " ", " ", " ", " "});
        QTest::newRow("u") << "[u]开头" << QStringList({"u", "ua", "uai", "uan", "uang", "ui", "un", "uo"});
        QTest::newRow("ü") << "[ü]开头" << QStringList({"ü", "üe", " ", " ", " ", " ", " ", " "});
    }
    void groupThenAllThenGroup()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, list);
        open();
        QComboBox *final = page().ComboBox5;
        chooseGroup(group);
        QCOMPARE(items(final), list);
        QCOMPARE(final->currentText(), list[0]);
        QVERIFY(final->isEnabled());
        QCOMPARE(look::fill(page().ComboBox4), look::moneyGreen);
        QCOMPARE(look::fill(final), look::moneyGreen);

        final->setCurrentIndex(1);
        chooseGroup("-全部-");
        QCOMPARE(final->currentText(), QStringLiteral("-全部-"));
        QVERIFY(!final->isEnabled());
        QCOMPARE(look::fill(page().ComboBox4), look::skyBlue);
        QCOMPARE(look::fill(final), look::skyBlue);
        QCOMPARE(items(final), list);

        chooseGroup(group);
        QCOMPARE(final->currentText(), list[0]);
        QVERIFY(final->isEnabled());
        QCOMPARE(look::fill(page().ComboBox4), look::moneyGreen);
        QCOMPARE(look::fill(final), look::moneyGreen);
    }

    void typedTextsChangeNothing()
    {
        open();
        chooseGroup("ang");
        QCOMPARE(page().ComboBox5->currentText(), QStringLiteral("-全部-"));
        QVERIFY(!page().ComboBox5->isEnabled());
        QCOMPARE(look::fill(page().ComboBox4), look::skyBlue);

        chooseGroup("[u]开头");
        page().ComboBox5->setCurrentIndex(6);
        chooseGroup("[u]");
        QCOMPARE(page().ComboBox5->currentText(), QStringLiteral("un"));
        QVERIFY(page().ComboBox5->isEnabled());
        QCOMPARE(look::fill(page().ComboBox5), look::moneyGreen);
    }

    void toneFillFollowsEveryChange()
    {
        open();
        chooseTone("阳平");
        QCOMPARE(look::fill(page().ComboBox6), look::moneyGreen);
        chooseTone("-全部-");
        QCOMPARE(look::fill(page().ComboBox6), look::skyBlue);
        chooseTone("入声");
        QCOMPARE(look::fill(page().ComboBox6), look::moneyGreen);
    }

    // The button narrows both grids by the selectors as shown: a group chosen and given up again
    // leaves its finals behind, which the lookup ignores; a typed group takes the final shown.
    void lookupButtonNarrowsByTheSelectorsAsShown()
    {
        open();
        chooseGroup("[o]开头");
        chooseGroup("-全部-");
        chooseTone("去声");
        QTest::mouseClick(page().SpeedButton2, Qt::LeftButton);
        QCOMPARE(gridColumn(page().View_psy_DBGrid, 1), QStringList({"ba", "sang"}));
        QCOMPARE(gridColumn(page().View_jsy_DBGrid, 1), QStringList({"zha"}));
        QCOMPARE(panel(0), QStringLiteral("查询条件：声调=去声"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=2 卷舌音=1"));

        chooseGroup("[a]");
        chooseTone("-全部-");
        QTest::mouseClick(page().SpeedButton2, Qt::LeftButton);
        QCOMPARE(p->db.View_psy_ADOQuery->sql().value(1), QStringLiteral("韵母=\"-全部-\""));
        QCOMPARE(page().View_psy_DBGrid->model()->rowCount(), 0);
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=-全部-"));

        chooseGroup("[a]开头");
        page().ComboBox5->setCurrentIndex(4);
        chooseTone("阳平");
        QTest::mouseClick(page().SpeedButton2, Qt::LeftButton);
        QCOMPARE(gridColumn(page().View_jsy_DBGrid, 1), QStringList({"chang", "rang", "shang"}));
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=ang 声调=阳平"));
        QVERIFY(dialogs->calls.isEmpty());
    }

    void anEditIsWrittenByMovingToAnotherRow()
    {
        open();
        DbGrid *grid = page().View_psy_DBGrid;
        selectCell(grid, 0, 3);
        QVERIFY(typeCell(grid, 0, 3, "旁庞膀"));
        QCOMPARE(fx->value("select 简易 from 平舌音 where 音节='pang'"), QStringLiteral("旁庞"));
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentIndex().row(), 1);
        QCOMPARE(fx->value("select 简易 from 平舌音 where 音节='pang'"), QStringLiteral("旁庞膀"));
        QCOMPARE(p->db.View_psy_ADOQuery->state(), Query::State::Browse);
    }

    void newRowsAreBegunAndWritten()
    {
        open();
        DbGrid *grid = page().View_jsy_DBGrid;
        selectCell(grid, 0, 0);
        QTest::keyClick(grid, Qt::Key_Insert);
        QCOMPARE(p->db.View_jsy_ADOQuery->state(), Query::State::Insert);
        QCOMPARE(grid->model()->rowCount(), 6);
        const QStringList values = {"ang", "shang", "上声", "赏晌", "垧"};
        for (int c = 0; c < 5; ++c)
            QVERIFY(typeCell(grid, 0, c, values[c]));
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(fx->column("select 韵母 || 音节 || 声调 || 简易 || 繁杂 from 卷舌音 where 声调='上声'"),
                 QStringList{"angshang上声赏晌垧"});

        // Down past the last row begins a row; leaving it untouched stores nothing.
        selectCell(grid, 5, 0);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(p->db.View_jsy_ADOQuery->state(), Query::State::Insert);
        QCOMPARE(grid->model()->rowCount(), 7);
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(grid->model()->rowCount(), 6);
        QCOMPARE(fx->count(tableJsy), 6);
    }

    void deletionAsksFirst()
    {
        open();
        DbGrid *grid = page().View_psy_DBGrid;
        selectCell(grid, 8, 1);
        dialogs->answer = false;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].kind, QStringLiteral("okcancel"));
        QCOMPARE(dialogs->calls[0].text, QStringLiteral("Delete record?"));
        QCOMPARE(fx->count(tablePsy), 9);

        dialogs->answer = true;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(fx->count(tablePsy), 8);
        QVERIFY(!fx->column("select 音节 from 平舌音").contains("lü"));
        QCOMPARE(grid->model()->rowCount(), 8);
    }
};

SHIHAI_TEST_MAIN(TestRhymesPage)
#include "test_rhymespage.moc"
