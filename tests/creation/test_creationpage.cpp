// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "pages/creation/creationpage.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/guard.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "presentation/creationmodel.h"
#include "tests/creation/rhymedata.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace schema;

// The page 开始创作 over a fresh database, without the main window: selectors, lookup, draft.
class TestCreationPage : public QObject {
    Q_OBJECT

    struct Page {
        QObject owner;
        Database db;
        StatusBar status;
        CreationPage page;
        explicit Page(const QString &path)
            : db(path, &owner)
            , page(new CreationModel(db), &status)
        {
        }
    };

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<Page> p;

    CreationPage &page() { return p->page; }
    QString panel(int i) const { return p->status.panelText(i); }
    // Runs a handler as the window does: an error ends it in an error box.
    template <class Action> bool run(Action &&action) { return guarded(&p->page, action); }

    void chooseGroup(const QString &group)
    {
        page().ComboBox1->setEditText(group);
        page().ComboBox1Change();
    }
    void chooseTone(const QString &tone)
    {
        page().ComboBox3->setEditText(tone);
        page().ComboBox3Change();
    }
    void choose(const QString &group, int finalIndex, const QString &tone)
    {
        chooseGroup(group);
        page().ComboBox2->setCurrentIndex(finalIndex);
        chooseTone(tone);
    }
    QStringList items(const QComboBox *box) const
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
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

    void selectorsStartUnset()
    {
        p = std::make_unique<Page>(fx->path());
        QCOMPARE(items(page().ComboBox1),
                 QStringList({"[a]开头", "[e]开头", "[i]开头", "[o]开头", "[u]开头", "[ü]开头"}));
        QCOMPARE(items(page().ComboBox2), QStringList({"a", "ai", "an", "ao", "ang", "", "", ""}));
        QCOMPARE(items(page().ComboBox3), QStringList({"阴平", "阳平", "上声", "去声"}));
        for (QComboBox *box : {page().ComboBox1, page().ComboBox2, page().ComboBox3}) {
            QCOMPARE(box->currentText(), QStringLiteral("请选择"));
            QCOMPARE(look::fill(box), look::skyBlue);
        }
        QVERIFY(page().ComboBox1->isEnabled());
        QVERIFY(!page().ComboBox2->isEnabled());
        QVERIFY(page().ComboBox3->isEnabled());
        QCOMPARE(page().ComboBox1->maxVisibleItems(), 6);
        QCOMPARE(page().ComboBox2->maxVisibleItems(), 8);
        QCOMPARE(page().ComboBox3->maxVisibleItems(), 4);
    }

    void groupChoiceFillsTheFinals_data()
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
    void groupChoiceFillsTheFinals()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, list);
        p = std::make_unique<Page>(fx->path());
        chooseGroup(group);
        QCOMPARE(items(page().ComboBox2), list);
        QCOMPARE(page().ComboBox2->currentText(), list[0]);
        QVERIFY(page().ComboBox2->isEnabled());
        QCOMPARE(look::fill(page().ComboBox1), look::moneyGreen);
        QCOMPARE(look::fill(page().ComboBox2), look::moneyGreen);
        QCOMPARE(look::fill(page().ComboBox3), look::skyBlue);
    }

    void rechoosingAGroupResetsTheFinal()
    {
        p = std::make_unique<Page>(fx->path());
        chooseGroup("[a]开头");
        page().ComboBox2->setCurrentIndex(4);
        QCOMPARE(page().ComboBox2->currentText(), QStringLiteral("ang"));
        chooseGroup("[e]开头");
        QCOMPARE(page().ComboBox2->currentText(), QStringLiteral("e"));
        chooseGroup("[a]开头");
        QCOMPARE(page().ComboBox2->currentText(), QStringLiteral("a"));
        // The final chosen sat where the new group has a blank item: the final still becomes "o".
        page().ComboBox2->setCurrentIndex(4);
        chooseGroup("[o]开头");
        QCOMPARE(page().ComboBox2->currentText(), QStringLiteral("o"));
        page().ComboBox2->setCurrentIndex(6);
        QCOMPARE(page().ComboBox2->currentText(), QStringLiteral(" "));
        chooseGroup("[o]开头");
        QCOMPARE(page().ComboBox2->currentText(), QStringLiteral("o"));
    }

    void typedTextsOtherThanAGroupChangeNothing()
    {
        p = std::make_unique<Page>(fx->path());
        chooseGroup("[x]开头");
        QVERIFY(!page().ComboBox2->isEnabled());
        QCOMPARE(page().ComboBox2->currentText(), QStringLiteral("请选择"));
        QCOMPARE(look::fill(page().ComboBox1), look::skyBlue);
        QCOMPARE(look::fill(page().ComboBox2), look::skyBlue);

        chooseGroup("[i]开头");
        page().ComboBox2->setCurrentIndex(7);
        chooseGroup("[i]");
        QCOMPARE(page().ComboBox2->currentText(), QStringLiteral("ing"));
        QCOMPARE(page().ComboBox2->itemText(1), QStringLiteral("ia"));
        QCOMPARE(look::fill(page().ComboBox1), look::moneyGreen);

        chooseTone("平声");
        QCOMPARE(page().ComboBox3->currentText(), QStringLiteral("平声"));
        QCOMPARE(look::fill(page().ComboBox3), look::moneyGreen);
    }

    // The button hands the selectors as shown to the lookup; its rows appear in the grids, and
    // incomplete conditions are told in a message box.
    void lookupButtonShowsTheRowsOfTheSelectors()
    {
        p = std::make_unique<Page>(fx->path());
        choose("[a]开头", 4, "阳平");
        QTest::mouseClick(page().Edit_ok_SpeedButton, Qt::LeftButton);
        QCOMPARE(gridColumn(page().Edit_psy_DBGrid, 1), QStringList({"昂", "房防", "旁庞"}));
        QCOMPARE(gridColumn(page().Edit_jsy_DBGrid, 0), QStringList({"chang", "shang"}));
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=ang 声调=阳平"));
        QVERIFY(dialogs->calls.isEmpty());

        page().ComboBox3->setEditText("请选择");
        QTest::mouseClick(page().Edit_ok_SpeedButton, Qt::LeftButton);
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].kind, QStringLiteral("message"));
        QCOMPARE(dialogs->calls[0].text, QStringLiteral("请选择完整的条件进行查询"));
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
        QCOMPARE(gridColumn(page().Edit_jsy_DBGrid, 0), QStringList({"chang", "shang"}));

        // A refused lookup is shown in an error box by the page itself.
        fx->exec("DROP TABLE 平舌音");
        page().ComboBox3->setEditText("阴平");
        QTest::mouseClick(page().Edit_ok_SpeedButton, Qt::LeftButton);
        QCOMPARE(dialogs->errors(), QStringList{"no such table: 平舌音"});
        QCOMPARE(page().Edit_psy_DBGrid->model()->rowCount(), 0);
    }

    void saveStoresTheDraftWithoutAMessage()
    {
        p = std::make_unique<Page>(fx->path());
        DbRichEdit *editor = page().Edit_DBRichEdit;
        typeText(editor, "床前明月光");
        QTest::keyClick(editor, Qt::Key_Tab);
        typeText(editor, "疑是地上霜");
        QCOMPARE(p->db.Edit_ADOQuery->state(), Query::State::Edit);

        QVERIFY(run([&] { page().Edit_save_SpeedButtonClick(); }));
        const QString stored = "select 内容 from 作品 where 标题='草稿'";
        QCOMPARE(fx->value(stored), QStringLiteral("床前明月光\t疑是地上霜"));
        QCOMPARE(p->db.Edit_ADOQuery->state(), Query::State::Browse);
        QVERIFY(run([&] { page().Edit_save_SpeedButtonClick(); }));
        QCOMPARE(fx->value(stored), QStringLiteral("床前明月光\t疑是地上霜"));
        QCOMPARE(fx->count(tableWorks), 1);
        QVERIFY(dialogs->calls.isEmpty());
    }

    // 保存草稿 says so in panel 0 for two seconds, then the panel shows its text again; a text given
    // to the panel meanwhile stays. A refused write says nothing of the kind.
    void saveSaysSoForTwoSeconds()
    {
        p = std::make_unique<Page>(fx->path());
        page().EditShow();
        const QString before = panel(0);
        auto *moment = p->status.findChild<QTimer *>(QStringLiteral("W_StatusBar_brief0"));
        QVERIFY(moment);
        typeText(page().Edit_DBRichEdit, "春");
        QTest::mouseClick(page().findChild<QToolButton *>("Edit_save_SpeedButton"), Qt::LeftButton);
        QCOMPARE(panel(0), QStringLiteral("草稿已保存"));
        QVERIFY(moment->isActive());
        QCOMPARE(moment->interval(), 2000);
        moment->start(0); // the two seconds are over
        QTRY_COMPARE(panel(0), before);

        QTest::mouseClick(page().findChild<QToolButton *>("Edit_save_SpeedButton"), Qt::LeftButton);
        choose("[a]开头", 4, "阳平");
        QTest::mouseClick(page().Edit_ok_SpeedButton, Qt::LeftButton);
        const QString lookedUp = panel(0);
        QVERIFY(lookedUp != before && lookedUp != QStringLiteral("草稿已保存"));
        QSignalSpy over(moment, &QTimer::timeout);
        moment->start(0);
        QVERIFY(over.wait());
        QCOMPARE(panel(0), lookedUp);

        fx->exec("DROP TABLE 作品");
        typeText(page().Edit_DBRichEdit, "秋");
        QVERIFY(!run([&] { page().Edit_save_SpeedButtonClick(); }));
        QCOMPARE(panel(0), lookedUp);
        QVERIFY(!moment->isActive());
    }

    void firstTypingWithoutADraftRowCreatesIt()
    {
        fx->exec("DELETE FROM 作品");
        p = std::make_unique<Page>(fx->path());
        typeText(page().Edit_DBRichEdit, "新诗");
        QVERIFY(run([&] { page().Edit_save_SpeedButtonClick(); }));
        QCOMPARE(fx->column("select 标题 || '/' || 类别 || '/' || 内容 from 作品"),
                 QStringList{"草稿/草稿/新诗"});
        typeText(page().Edit_DBRichEdit, "一首");
        QVERIFY(run([&] { page().Edit_save_SpeedButtonClick(); }));
        QCOMPARE(fx->column("select 内容 from 作品"), QStringList{"新诗一首"});
    }
};

SHIHAI_TEST_MAIN(TestCreationPage)
#include "test_creationpage.moc"
