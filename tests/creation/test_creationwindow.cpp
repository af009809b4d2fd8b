// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "tests/creation/rhymedata.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>

#include <memory>

using namespace schema;

// 开始创作 inside the main window: the wiring of its controls, what the window shows and what
// closing it keeps.
class TestCreationWindow : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;

    template <class T> T *child(const QString &name) { return fx->child<T>(name); }
    QString panel(int i) const { return fx->panel(i); }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        addRhymes(prepared);
    }
    void init() { fx = std::make_unique<WindowFixture>(prepared); }
    void cleanup() { fx.reset(); }

    void opensWithStatusAndTheEditorFocused()
    {
        TW *w = fx->open();
        auto *editor = child<DbRichEdit>("Edit_DBRichEdit");
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=8 卷舌音=4"));
        QCOMPARE(w->focusWidget(), editor);

        auto *pages = child<QTabWidget>("W_PageControl");
        child<QComboBox>("ComboBox1")->setFocus();
        pages->setCurrentIndex(4);
        pages->setCurrentIndex(0);
        QCOMPARE(w->focusWidget(), editor);
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=8 卷舌音=4"));
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    void layoutOfGridsAndEditor()
    {
        fx->open();
        QCOMPARE(child<QToolButton>("Edit_ok_SpeedButton")->geometry(), QRect(328, 6, 65, 25));
        QCOMPARE(child<QToolButton>("Edit_ok_SpeedButton")->text(), QStringLiteral("查看"));
        QCOMPARE(child<QToolButton>("Edit_save_SpeedButton")->geometry(), QRect(682, 6, 81, 25));
        QCOMPARE(child<QToolButton>("Edit_save_SpeedButton")->text(), QStringLiteral("保存草稿"));
        auto *psy = child<DbGrid>("Edit_psy_DBGrid");
        auto *jsy = child<DbGrid>("Edit_jsy_DBGrid");
        QCOMPARE(psy->height(), 345);
        QCOMPARE(jsy->height(), 129);
        QCOMPARE(child<QSplitter>("Edit_Splitter")->handleWidth(), 2);
        for (DbGrid *grid : {psy, jsy}) {
            QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("音节"));
            QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("简易"));
            QCOMPARE(grid->columnWidth(1), 400);
        }
        QVERIFY(psy->isReadOnly());
        QVERIFY(!jsy->isReadOnly());
        auto *editor = child<DbRichEdit>("Edit_DBRichEdit");
        QCOMPARE(editor->font().family(), QStringLiteral("新宋体"));
        QCOMPARE(editor->font().pixelSize(), 12);
        QCOMPARE(editor->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(child<QFrame>("Panel5")->geometry(), QRect(0, 40, 476, 478));
        QCOMPARE(child<QFrame>("Panel9")->geometry(), QRect(476, 40, 308, 478));
        QCOMPARE(editor->parentWidget(), child<QFrame>("Panel9"));
    }

    void choosingAndLookingUpThroughTheBar()
    {
        fx->open();
        auto *group = child<QComboBox>("ComboBox1");
        auto *final = child<QComboBox>("ComboBox2");
        auto *tone = child<QComboBox>("ComboBox3");
        auto *ok = child<QToolButton>("Edit_ok_SpeedButton");
        group->setCurrentIndex(0);
        QVERIFY(final->isEnabled());
        QCOMPARE(final->currentText(), QStringLiteral("a"));
        QCOMPARE(look::fill(group), look::moneyGreen);
        final->setCurrentIndex(4);
        // Picking the group already shown is still a choice: the final goes back to the first.
        group->activated(0);
        QCOMPARE(final->currentText(), QStringLiteral("a"));
        final->setCurrentIndex(4);

        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(fx->dialogs->calls.size(), 1);
        QCOMPARE(fx->dialogs->calls[0].text, QStringLiteral("请选择完整的条件进行查询"));
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示所有记录"));

        tone->setCurrentIndex(1);
        QCOMPARE(look::fill(tone), look::moneyGreen);
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(fx->dialogs->calls.size(), 1);
        QCOMPARE(panel(0), QStringLiteral("查询条件：韵母=ang 声调=阳平"));
        QCOMPARE(panel(1), QStringLiteral("数据条目：平舌音=3 卷舌音=2"));
        QCOMPARE(gridColumn(child<DbGrid>("Edit_jsy_DBGrid"), 0), QStringList({"chang", "shang"}));
    }

    void typedDraftIsStoredOnClosing()
    {
        TW *w = fx->open();
        auto *editor = child<DbRichEdit>("Edit_DBRichEdit");
        typeText(editor, "春眠不觉晓");
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(w->focusWidget(), editor);
        child<QTabWidget>("W_PageControl")->setCurrentIndex(1);
        child<QTabWidget>("W_PageControl")->setCurrentIndex(0);
        QCOMPARE(editor->toPlainText(), QStringLiteral("春眠不觉晓\t"));
        QVERIFY(w->close());
        QCOMPARE(fx->value("select 内容 from 作品 where 标题='草稿'"), QStringLiteral("春眠不觉晓\t"));
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    void withoutADraftRowTypingIsStillStoredOnClosing()
    {
        fx->exec("DELETE FROM 作品");
        TW *w = fx->open();
        typeText(child<DbRichEdit>("Edit_DBRichEdit"), "处处闻啼鸟");
        QVERIFY(w->close());
        QCOMPARE(fx->column("select 标题 || '/' || 类别 || '/' || 内容 from 作品"),
                 QStringList{"草稿/草稿/处处闻啼鸟"});
    }

    void saveButtonStoresTheDraft()
    {
        TW *w = fx->open();
        typeText(child<DbRichEdit>("Edit_DBRichEdit"), "夜来风雨声");
        QTest::mouseClick(child<QToolButton>("Edit_save_SpeedButton"), Qt::LeftButton);
        QCOMPARE(fx->value("select 内容 from 作品 where 标题='草稿'"), QStringLiteral("夜来风雨声"));
        QCOMPARE(w->database().Edit_ADOQuery->state(), Query::State::Browse);
        QVERIFY(fx->dialogs->calls.isEmpty());
    }
};

SHIHAI_TEST_MAIN(TestCreationWindow)
#include "test_creationwindow.moc"
