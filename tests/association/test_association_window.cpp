// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/schema.h"
#include "pages/association/associationpage.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QToolButton>

#include <memory>

using namespace schema;

// 词语联想 in the whole window: what the first showing reports, the colouring of the two fields and
// the button that runs the search.
class TestAssociationWindow : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;
    QComboBox *mode = nullptr;
    QLineEdit *text = nullptr;

    void showThinkPage() { fx->showPage(2); }
    QString panel(int i) const { return fx->panel(i); }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        for (const char *word : {"春风", "迎春", "秋月"})
            prepared.insert(tableWords, {colWord, colMeaning}, {QString::fromUtf8(word), QString()});
        for (const char *idiom : {"春华秋实", "春暖花开", "四季如春"})
            prepared.insert(tableIdioms, {colIdiom, colMeaning}, {QString::fromUtf8(idiom), QString()});
    }
    void init()
    {
        fx = std::make_unique<WindowFixture>(prepared);
        fx->open();
        mode = fx->child<QComboBox>(QStringLiteral("Think_ComboBox"));
        text = fx->child<QLineEdit>(QStringLiteral("Think_Edit"));
    }
    void cleanup() { fx.reset(); }

    void firstShowingReportsAllWordsAndTheSpringIdioms()
    {
        showThinkPage();
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示全部数据"));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=3 成语=2"));
        QCOMPARE(panel(2), StatusBar::updateDate);
        QCOMPARE(QApplication::focusWidget(), text);
        QCOMPARE(mode->currentText(), QStringLiteral("-默认-"));
        QCOMPARE(look::fill(mode), look::skyBlue);
        QCOMPARE(look::fill(text), look::skyBlue);
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    void panelZeroFollowsTheFieldsNotTheLastSearch()
    {
        showThinkPage();
        text->setText(QStringLiteral("春"));
        fx->child<QToolButton>(QStringLiteral("Think_SpeedButton"))->click();
        QCOMPARE(panel(0), QStringLiteral("查询条件：字尾=春"));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=1 成语=1"));

        mode->setCurrentIndex(0);
        text->setText(QStringLiteral("秋"));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=1 成语=1")); // only the button searches
        fx->showPage(4);
        showThinkPage();
        QCOMPARE(panel(0), QStringLiteral("查询条件：字首=秋"));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=1 成语=1"));
    }

    void choosingAModeColoursBothAndFocusesTheText()
    {
        showThinkPage();
        mode->setFocus();
        mode->setCurrentIndex(2); // 字尾
        QCOMPARE(look::fill(mode), look::moneyGreen);
        QCOMPARE(look::fill(text), look::moneyGreen);
        QCOMPARE(QApplication::focusWidget(), text);
    }

    void onlyAMouseClickColoursTheText()
    {
        showThinkPage();
        mode->setFocus();
        QTest::keyClick(mode, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), text);
        QCOMPARE(look::fill(text), look::skyBlue);

        QTest::mouseClick(text, Qt::LeftButton);
        QCOMPARE(look::fill(text), look::moneyGreen);
        QCOMPARE(look::fill(mode), look::skyBlue);
    }
};

SHIHAI_TEST_MAIN(TestAssociationWindow)
#include "test_association_window.moc"
