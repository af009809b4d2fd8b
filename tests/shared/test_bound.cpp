// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/datasource.h"
#include "db/query.h"
#include "db/schema.h"
#include "db/sqlite.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/guard.h"
#include "tests/support/fixture.h"
#include "tests/support/typing.h"
#include "tests/testmain.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>

#include <memory>

using namespace schema;

// The bound grid, edits and text box over a real file, driven with keys and clicks as a user would.
class TestBound : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<Connection> conn;
    std::unique_ptr<ScriptedDialogs> dialogs;
    Query *words = nullptr;

    std::unique_ptr<DbGrid> grid(bool readOnly = false)
    {
        auto g = std::make_unique<DbGrid>(
            words->dataSource(), QList<GridColumn>{{colWord, 90, Qt::AlignHCenter}, {colMeaning, 300}},
            readOnly);
        g->resize(500, 300);
        g->show();
        return g;
    }
    QStringList stored() const
    {
        return fx->column(QStringLiteral("select 词组 || '=' || 含义 from 词组 order by rowid"));
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        for (int i = 1; i <= 3; ++i)
            fx->insert(tableWords, {colWord, colMeaning},
                       {QStringLiteral("词%1").arg(i), QStringLiteral("义%1").arg(i)});
        conn = std::make_unique<Connection>(fx->path());
        dialogs = std::make_unique<ScriptedDialogs>();
        words = new Query(conn.get(), QStringLiteral("Cizu_ADOQuery"), QStringLiteral("select * from 词组"));
        words->open();
    }
    void cleanup()
    {
        dialogs.reset();
        conn.reset();
        fx.reset();
    }

    void gridShowsRowsTitlesAndFollowsTheQuery()
    {
        auto g = grid();
        QCOMPARE(g->model()->rowCount(), 3);
        QCOMPARE(g->model()->headerData(0, Qt::Horizontal).toString(), colWord);
        QCOMPARE(g->columnWidth(0), 90);
        QCOMPARE(g->model()->index(2, 1).data().toString(), QStringLiteral("义3"));
        QCOMPARE(g->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("▶"));
        words->last();
        QCOMPARE(g->currentIndex().row(), 2);
        g->setCurrentIndex(g->model()->index(1, 0)); // a click on another row moves the query
        QCOMPARE(words->currentRow(), 1);
        words->close();
        QCOMPARE(g->model()->rowCount(), 0);
    }

    void typedCellIsWrittenWhenMovingToAnotherRow()
    {
        auto g = grid();
        g->setCurrentIndex(g->model()->index(0, 1));
        QVERIFY(g->model()->setData(g->currentIndex(), QStringLiteral("春风"), Qt::EditRole));
        QCOMPARE(words->state(), Query::State::Edit);
        QCOMPARE(g->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("I"));
        QCOMPARE(stored().first(), QStringLiteral("词1=义1")); // not yet written
        QTest::keyClick(g.get(), Qt::Key_Down);
        QCOMPARE(words->currentRow(), 1);
        QCOMPARE(stored().first(), QStringLiteral("词1=春风"));
    }

    void openEditorIsCommittedWhenThePageSettlesTheRow()
    {
        QWidget page;
        auto *g = new DbGrid(words->dataSource(), QList<GridColumn>{{colWord}, {colMeaning}}, false, &page);
        g->resize(500, 300);
        page.show();
        g->setCurrentIndex(g->model()->index(1, 1));
        g->setFocus();
        QTest::keyClick(g, Qt::Key_F2);
        auto *editor = g->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, QStringLiteral("未提交"));
        // What a page does before an action that replaces the query.
        commitOpenEditors(&page);
        words->settle();
        QCOMPARE(stored()[1], QStringLiteral("词2=未提交"));
        QVERIFY(!g->indexWidget(g->currentIndex()));
    }

    void insertKeyAndDownPastTheLastRowBeginRows()
    {
        auto g = grid();
        g->setCurrentIndex(g->model()->index(1, 0));
        g->setFocus();
        QTest::keyClick(g.get(), Qt::Key_Insert);
        QCOMPARE(words->state(), Query::State::Insert);
        QCOMPARE(g->model()->rowCount(), 4);
        QCOMPARE(g->currentIndex().row(), 1);
        QCOMPARE(g->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("*"));
        // Leaving a new row without values drops it.
        QTest::keyClick(g.get(), Qt::Key_Up);
        QCOMPARE(g->model()->rowCount(), 3);
        QCOMPARE(words->currentRow(), 0);

        words->last();
        QTest::keyClick(g.get(), Qt::Key_Down);
        QCOMPARE(g->model()->rowCount(), 4);
        QCOMPARE(words->currentRow(), 3);
        QTest::keyClick(g.get(), Qt::Key_Down); // an empty new row does not begin another
        QCOMPARE(g->model()->rowCount(), 4);
        QVERIFY(g->model()->setData(g->model()->index(3, 0), QStringLiteral("新词"), Qt::EditRole));
        QTest::keyClick(g.get(), Qt::Key_Up);
        QCOMPARE(fx->count(tableWords), 4);
        QCOMPARE(fx->value(QStringLiteral("select 词组 from 词组 order by rowid desc")),
                 QStringLiteral("新词"));
    }

    void ctrlDeleteAsksFirst()
    {
        auto g = grid();
        g->setCurrentIndex(g->model()->index(1, 0));
        g->setFocus();
        dialogs->answer = false;
        QTest::keyClick(g.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].kind, QStringLiteral("okcancel"));
        QCOMPARE(dialogs->calls[0].text, QStringLiteral("Delete record?"));
        QCOMPARE(fx->count(tableWords), 3);
        dialogs->answer = true;
        QTest::keyClick(g.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(fx->column(QStringLiteral("select 词组 from 词组")),
                 QStringList({QStringLiteral("词1"), QStringLiteral("词3")}));
        QCOMPARE(g->currentIndex().row(), 1);
    }

    void readOnlyGridIgnoresEditingKeys()
    {
        auto g = grid(true);
        g->setFocus();
        QVERIFY(!(g->model()->flags(g->model()->index(0, 0)) & Qt::ItemIsEditable));
        QTest::keyClick(g.get(), Qt::Key_Insert);
        QTest::keyClick(g.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(g->model()->rowCount(), 3);
        QVERIFY(dialogs->calls.isEmpty());
    }

    void refusedWriteKeepsTheGridOnTheRow()
    {
        fx->exec(QStringLiteral(
            "CREATE TRIGGER no BEFORE UPDATE ON 词组 BEGIN SELECT RAISE(ABORT, 'database is locked'); END"));
        auto g = grid();
        g->setCurrentIndex(g->model()->index(0, 1));
        QVERIFY(g->model()->setData(g->currentIndex(), QStringLiteral("改"), Qt::EditRole));
        g->setCurrentIndex(g->model()->index(2, 1));
        QCOMPARE(dialogs->errors(), QStringList{QStringLiteral("database is locked")});
        QCOMPARE(words->currentRow(), 0);
        QCOMPARE(g->currentIndex().row(), 0);
        QCOMPARE(g->model()->index(0, 1).data().toString(), QStringLiteral("改"));
        QCOMPARE(words->state(), Query::State::Edit);
    }

    void editShowsTheCurrentRowAndWritesTyping()
    {
        DbEdit edit(words->dataSource(), colMeaning);
        QCOMPARE(edit.text(), QStringLiteral("义1"));
        words->next();
        QCOMPARE(edit.text(), QStringLiteral("义2"));
        edit.setFocus();
        edit.selectAll();
        typeText(&edit, QStringLiteral("新"));
        QCOMPARE(words->state(), Query::State::Edit);
        QCOMPARE(words->text(colMeaning), QStringLiteral("新"));
        words->cancel();
        QCOMPARE(edit.text(), QStringLiteral("义2"));
        words->close();
        QCOMPARE(edit.text(), QString());
        QVERIFY(edit.isReadOnly());
    }

    void comboReportsOnlyTheUsersChanges()
    {
        DbComboBox box(words->dataSource(), colWord);
        box.addItems({QStringLiteral("甲"), QStringLiteral("乙")});
        QSignalSpy user(&box, &DbComboBox::userChanged);
        words->next();
        QCOMPARE(box.currentText(), QStringLiteral("词2"));
        QCOMPARE(user.count(), 0);
        box.setEditText(QStringLiteral("乙"));
        emit box.textActivated(QStringLiteral("乙")); // what picking an item emits
        QVERIFY(user.count() >= 1);
        QCOMPARE(words->text(colWord), QStringLiteral("乙"));
    }

    void textBoxShowsRichTextAsTextAndBeginsARowWhenEmpty()
    {
        fx->exec(QStringLiteral("UPDATE 作品 SET 内容='{\\rtf1\\ansi\\ansicpg936 \\''b4\\''ba\\par}'"));
        Query draft(conn.get(), QStringLiteral("Edit_ADOQuery"),
                    QStringLiteral("select * from 作品 where 标题='草稿'"));
        draft.open();
        DbRichEdit box(draft.dataSource(), colContent);
        QCOMPARE(box.toPlainText(), QStringLiteral("春"));

        Query none(conn.get(), QStringLiteral("q"), QStringLiteral("select * from 作品 where 标题='无'"));
        none.setNewRowHandler([](Query &q) { q.setText(colTitle, QStringLiteral("无")); });
        none.open();
        DbRichEdit empty(none.dataSource(), colContent);
        empty.setFocus();
        typeText(&empty, QStringLiteral("月\t光"));
        QCOMPARE(empty.toPlainText(), QStringLiteral("月\t光"));
        QCOMPARE(none.state(), Query::State::Insert);
        none.post();
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where 标题='无'")),
                 QStringLiteral("月\t光"));
    }
};

SHIHAI_TEST_MAIN(TestBound)
#include "test_bound.moc"
