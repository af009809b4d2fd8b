// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "tests/creation/rhymedata.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>

#include <memory>

using namespace schema;

// 编辑整理 inside the main window: the wiring of its bar, editing in place and closing.
class TestRhymesWindow : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;

    template <class T> T *child(const QString &name) { return fx->child<T>(name); }
    TW *showOnRhymes()
    {
        TW *w = fx->open();
        fx->showPage(1);
        return w;
    }
    QString panel(int i) const { return fx->panel(i); }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        addRhymes(prepared);
    }
    void init() { fx = std::make_unique<WindowFixture>(prepared); }
    void cleanup() { fx.reset(); }

    void firstShowingCountsEveryRow()
    {
        showOnRhymes();
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=9 卷舌音=5"));
        QCOMPARE(child<QToolButton>("SpeedButton2")->geometry(), QRect(328, 6, 65, 25));
        QCOMPARE(child<QSplitter>("View_Splitter")->handleWidth(), 2);
        auto *psy = child<DbGrid>("View_psy_DBGrid");
        auto *jsy = child<DbGrid>("View_jsy_DBGrid");
        QCOMPARE(psy->height(), 345);
        QCOMPARE(jsy->height(), 129);
        for (DbGrid *grid : {psy, jsy}) {
            QStringList titles;
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                titles << grid->model()->headerData(c, Qt::Horizontal).toString();
            QCOMPARE(titles, QStringList({"韵母", "音节", "声调", "简易", "繁杂"}));
            QCOMPARE(grid->columnWidth(3), 325);
            QCOMPARE(grid->columnWidth(4), 324);
            QVERIFY(!grid->isReadOnly());
        }
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    void choosingAndLookingUpThroughTheBar()
    {
        showOnRhymes();
        auto *group = child<QComboBox>("ComboBox4");
        auto *final = child<QComboBox>("ComboBox5");
        auto *tone = child<QComboBox>("ComboBox6");
        group->setCurrentIndex(0);
        QVERIFY(final->isEnabled());
        QCOMPARE(final->currentText(), QStringLiteral("a"));
        final->setCurrentIndex(4);
        tone->setCurrentIndex(1);
        QCOMPARE(look::fill(tone), look::moneyGreen);
        tone->setCurrentIndex(4);
        QCOMPARE(look::fill(tone), look::skyBlue);

        QTest::mouseClick(child<QToolButton>("SpeedButton2"), Qt::LeftButton);
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=ang"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=7 卷舌音=4"));

        // Back to all without a lookup: the page describes the selectors, the counts the rows shown.
        group->setCurrentIndex(6);
        QVERIFY(!final->isEnabled());
        QCOMPARE(final->currentText(), QStringLiteral("-全部-"));
        QCOMPARE(look::fill(group), look::skyBlue);
        auto *pages = child<QTabWidget>("W_PageControl");
        pages->setCurrentIndex(0);
        pages->setCurrentIndex(1);
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=7 卷舌音=4"));
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    void cellStillBeingTypedIsWrittenBeforeTheLookup()
    {
        showOnRhymes();
        auto *grid = child<DbGrid>("View_jsy_DBGrid");
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 3));
        QTest::keyClick(grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(grid->currentIndex()));
        QVERIFY(editor);
        editor->setText(QStringLiteral("裳常"));
        QTest::mouseClick(child<QToolButton>("SpeedButton2"), Qt::LeftButton);
        QVERIFY(fx->dialogs->errors().isEmpty());
        QCOMPARE(fx->value("select 简易 from 卷舌音 where 音节='shang'"), QStringLiteral("裳常"));
    }

    void closingWritesAnUnwrittenGridRow()
    {
        TW *w = showOnRhymes();
        auto *grid = child<DbGrid>("View_psy_DBGrid");
        QVERIFY(grid->model()->setData(grid->model()->index(3, 3), QStringLiteral("忙芒")));
        QVERIFY(w->close());
        QCOMPARE(fx->value("select 简易 from 平舌音 where 音节='mang'"), QStringLiteral("忙芒"));
    }
};

SHIHAI_TEST_MAIN(TestRhymesWindow)
#include "test_rhymeswindow.moc"
