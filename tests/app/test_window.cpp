// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "pages/shared/statusbar.h"
#include "presentation/worksmodel.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>

#include <memory>

using namespace schema;
using namespace Qt::StringLiterals;

// The whole window over a fresh database: its frame, pages and what closing writes.
class TestWindow : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;

    // The texts of the buttons of the next question, as shown (without their shortcut letters),
    // answered with `answer`.
    static void answerNextQuestion(QStringList &buttons, QMessageBox::StandardButton answer)
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, [&buttons, answer] { answerNextQuestion(buttons, answer); });
            return;
        }
        for (QAbstractButton *b : box->buttons())
            buttons << b->text().remove(QRegularExpression(QStringLiteral("\\(?&.\\)?")));
        box->button(answer)->click();
    }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        prepared.insert(
            tableWorks, {colTitle, colCategory, colCount, colDate},
            {QStringLiteral("秋兴八首"), QStringLiteral("甲类"), 8, QStringLiteral("2007-01-01")});
    }
    void init() { fx = std::make_unique<WindowFixture>(prepared); }
    void cleanup() { fx.reset(); }

    void missingDatabaseStopsConstructionWithTheEngineMessage()
    {
        QTemporaryDir empty;
        WorkingDirectory there(empty.path());
        try {
            TW w;
            QFAIL("the window must not be built without its database");
        } catch (const std::runtime_error &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("unable to open database file"));
        }
    }

    void frameIsFixedAndCaptioned()
    {
        TW *w = fx->open();
        QCOMPARE(w->windowTitle(), QStringLiteral("诗海拾贝"));
        QCOMPARE(QApplication::applicationName(), QStringLiteral("诗海拾贝"));
        QCOMPARE(w->size(), QSize(792, 566));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        auto *status = w->findChild<StatusBar *>(QStringLiteral("W_StatusBar"));
        QVERIFY(status);
        QCOMPARE(status->height(), 20);
        QCOMPARE(status->panelText(2), QStringLiteral("更新日期：2007-03-31"));
    }

    void pagesInOrderAndOpensOnCreation()
    {
        TW *w = fx->open();
        auto *pages = w->findChild<QTabWidget *>(QStringLiteral("W_PageControl"));
        QVERIFY(pages);
        const QStringList names = {QStringLiteral("Edit"), QStringLiteral("View"), QStringLiteral("Think"),
                                   QStringLiteral("Show"), QStringLiteral("About")};
        const QStringList captions = {QStringLiteral("开始创作"), QStringLiteral("编辑整理"),
                                      QStringLiteral("词语联想"), QStringLiteral("经典案例"),
                                      QStringLiteral("关于软件")};
        QCOMPARE(pages->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(pages->widget(i)->objectName(), names[i]);
            QCOMPARE(pages->tabText(i), captions[i]);
        }
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("Edit"));
        // Every page change keeps panel 2.
        for (int i = 4; i >= 0; --i) {
            pages->setCurrentIndex(i);
            QCOMPARE(w->statusPanels()->panelText(2), StatusBar::updateDate);
        }
        QVERIFY(fx->dialogs->errors().isEmpty());
    }

    // The bar paints its panels; a screen reader still finds each as text, where it stands.
    void statusPanelsAreReadableByAssistiveTools()
    {
        TW *w = fx->open();
        StatusBar *bar = w->statusPanels();
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::StatusBar);
        QCOMPARE(iface->childCount(), 3);
        const QRect barRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
        for (int i = 0; i < 3; ++i) {
            QAccessibleInterface *panel = iface->child(i);
            QCOMPARE(panel->role(), QAccessible::StaticText);
            QCOMPARE(panel->text(QAccessible::Name), bar->panelText(i));
            QCOMPARE(panel->parent(), iface);
            QCOMPARE(iface->indexOfChild(panel), i);
            QVERIFY(barRect.contains(panel->rect()));
            QCOMPARE(iface->childAt(panel->rect().center().x(), panel->rect().center().y()), panel);
        }
        QCOMPARE(iface->child(2)->text(QAccessible::Name), StatusBar::updateDate);
        QCOMPARE(iface->child(1)->rect().left() - iface->child(0)->rect().left(), 330);

        w->findChild<QTabWidget *>(QStringLiteral("W_PageControl"))->setCurrentIndex(2);
        QCOMPARE(iface->child(0)->text(QAccessible::Name), u"查询条件：显示全部数据"_s);
        QCOMPARE(iface->child(0)->text(QAccessible::Name), bar->panelText(0));
    }

    // Qt's own texts are Chinese whatever the system's language: the buttons of both kinds of
    // question (their titles stay as given), an edit's context menu; and dates take the Chinese
    // short format.
    void qtTextsAndDatesAreChinese()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TW::setUpApplication();
        QCOMPARE(dates::display(QDate(2026, 12, 9)), u"2026/12/9"_s);
        fx->dialogs.reset(); // the program's own message boxes
        QStringList buttons;
        QTimer::singleShot(0, [&] { answerNextQuestion(buttons, QMessageBox::No); });
        QCOMPARE(Dialogs::current().ask(nullptr, u"Confirm"_s, WorksModel::deleteQuestion),
                 Dialogs::Answer::No);
        QCOMPARE(buttons, QStringList({u"是"_s, u"否"_s}));
        buttons.clear();
        QTimer::singleShot(0, [&] { answerNextQuestion(buttons, QMessageBox::Cancel); });
        QVERIFY(!Dialogs::current().askOkCancel(nullptr, u"Confirm"_s, u"Delete record?"_s));
        QCOMPARE(buttons, QStringList({u"确定"_s, u"取消"_s}));

        QLineEdit edit(u"床前明月光"_s);
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList items;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                items << a->text().remove(QRegularExpression(QStringLiteral("\\(?&.\\)?|\t.*")));
        QCOMPARE(items,
                 QStringList({u"撤消"_s, u"重做"_s, u"剪切"_s, u"复制"_s, u"粘贴"_s, u"删除"_s, u"全选"_s}));
    }

    void menuHasItsItemsAllHidden()
    {
        TW *w = fx->open();
        auto *menu = w->findChild<QMenuBar *>(QStringLiteral("W_MainMenu"));
        QVERIFY(menu);
        QVERIFY(!menu->isVisible());
        QStringList captions;
        for (QAction *a : menu->actions()) {
            QVERIFY(!a->isVisible());
            captions << a->text();
        }
        QCOMPARE(captions,
                 QStringList({QStringLiteral("写作"), QStringLiteral("资料"), QStringLiteral("关于")}));
        QVERIFY(w->findChild<QAction *>(QStringLiteral("N8")));
    }

    void closingWritesTheDraftAndTheCurrentWork()
    {
        TW *w = fx->open();
        Database &db = w->database();
        db.Edit_ADOQuery->edit();
        db.Edit_ADOQuery->setText(colContent, QStringLiteral("未保存的诗句"));
        db.Show_ADOQuery->edit();
        db.Show_ADOQuery->setText(colAuthor, QStringLiteral("杜甫"));
        QVERIFY(w->close());
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where 标题='草稿'")),
                 QStringLiteral("未保存的诗句"));
        QCOMPARE(fx->value(QStringLiteral("select 作者 from 作品 where 标题='秋兴八首'")),
                 QStringLiteral("杜甫"));
    }

    void closingWritesOtherChangedRowsToo()
    {
        fx->insert(tableWords, {colWord, colMeaning}, {QStringLiteral("春风"), QString()});
        TW *w = fx->open();
        Query *words = w->database().Cizu_ADOQuery;
        words->edit();
        words->setText(colMeaning, QStringLiteral("春天的风"));
        QVERIFY(w->close());
        QCOMPARE(fx->value(QStringLiteral("select 含义 from 词组")), QStringLiteral("春天的风"));
    }

    void refusedWriteKeepsTheWindowOpen()
    {
        TW *w = fx->open();
        fx->exec(QStringLiteral(
            "CREATE TRIGGER keep BEFORE UPDATE ON 作品 BEGIN SELECT RAISE(ABORT, 'locked row'); END"));
        Query *draft = w->database().Edit_ADOQuery;
        draft->edit();
        draft->setText(colContent, QStringLiteral("一句"));
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(fx->dialogs->errors(), QStringList{QStringLiteral("locked row")});
        QCOMPARE(draft->text(colContent), QStringLiteral("一句"));
        fx->exec(QStringLiteral("DROP TRIGGER keep"));
        QVERIFY(w->close());
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where 标题='草稿'")),
                 QStringLiteral("一句"));
    }

    void closingAddsNoRowToEmptyQueries()
    {
        fx->exec(QStringLiteral("DELETE FROM 作品"));
        TW *w = fx->open();
        QVERIFY(w->close());
        QCOMPARE(fx->count(tableWorks), 0);
    }
};

SHIHAI_TEST_MAIN(TestWindow)
#include "test_window.moc"
