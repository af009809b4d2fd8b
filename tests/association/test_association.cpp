#include "db/database.h"
#include "db/query.h"
#include "db/schema.h"
#include "pages/association/associationpage.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/guard.h"
#include "pages/shared/statusbar.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QHeaderView>

#include <memory>

using namespace schema;

// The page 词语联想 over a fresh database, without the main window: searches, their lines and the
// status texts they leave.
class TestAssociation : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<QObject> owner;
    std::unique_ptr<Database> db;
    std::unique_ptr<StatusBar> status;
    std::unique_ptr<AssociationPage> page;
    std::unique_ptr<ScriptedDialogs> dialogs;

    void open()
    {
        owner = std::make_unique<QObject>();
        db = std::make_unique<Database>(fx->path(), owner.get());
        status = std::make_unique<StatusBar>();
        page = std::make_unique<AssociationPage>(*db, status.get());
    }
    void search(const QString &mode, const QString &text)
    {
        page->Think_ComboBox->setEditText(mode);
        page->Think_Edit->setText(text);
        page->Think_SpeedButtonClick();
    }
    // The keys of a result, sorted; the key column carries the table's name.
    static QStringList keys(Query *q)
    {
        QStringList out;
        for (int row = 0; row < q->rowCount(); ++row)
            out << q->cellText(row, q->fieldIndex(q->tableName()));
        out.sort();
        return out;
    }
    QString panel(int i) const { return status->panelText(i); }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        for (const char *word : {"春风", "迎春", "青春期", "秋月"})
            fx->insert(tableWords, {colWord, colMeaning}, {QString::fromUtf8(word), QStringLiteral("义")});
        for (const char *idiom : {"春华秋实", "四季如春", "满园春色", "一叶知秋"})
            fx->insert(tableIdioms, {colIdiom, colMeaning}, {QString::fromUtf8(idiom), QStringLiteral("义")});
        dialogs = std::make_unique<ScriptedDialogs>();
        open();
    }
    void cleanup()
    {
        page.reset();
        status.reset();
        db.reset();
        owner.reset();
        dialogs.reset();
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
        search(QStringLiteral("-默认-"), QStringLiteral(" "));
        QCOMPARE(panel(0), QStringLiteral("查询条件：字尾= "));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=0 成语=0"));
        QCOMPARE(page->cizu_DBGrid->model()->rowCount(), 0);
        QCOMPARE(page->chengyu_DBGrid->model()->rowCount(), 0);
        QVERIFY(dialogs->calls.isEmpty());
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
        search(QStringLiteral("字首"), QStringLiteral("%秋"));
        QCOMPARE(keys(db->Cizu_ADOQuery), QStringList{"秋月"});
        QCOMPARE(keys(db->Chengyu_ADOQuery), (QStringList{"一叶知秋", "春华秋实"}));
        QVERIFY(dialogs->calls.isEmpty());
    }

    void gridsShowKeyAndMeaningAndWriteEdits()
    {
        const struct {
            DbGrid *grid;
            QString key;
            int meaningWidth;
        } grids[] = {{page->cizu_DBGrid, colWord, 659}, {page->chengyu_DBGrid, colIdiom, 658}};
        for (const auto &g : grids) {
            QVERIFY(!g.grid->isReadOnly());
            QCOMPARE(g.grid->model()->headerData(0, Qt::Horizontal).toString(), g.key);
            QCOMPARE(g.grid->model()->headerData(1, Qt::Horizontal).toString(), colMeaning);
            QCOMPARE(g.grid->horizontalHeader()->sectionSize(0), 90);
            QCOMPARE(g.grid->horizontalHeader()->sectionSize(1), g.meaningWidth);
            const QModelIndex key = g.grid->model()->index(0, 0);
            QVERIFY(Qt::Alignment(key.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHCenter);
        }
        // Start-up rows: every word, the idioms that begin with 春.
        QCOMPARE(page->cizu_DBGrid->model()->rowCount(), 4);
        QCOMPARE(keys(db->Chengyu_ADOQuery), QStringList{"春华秋实"});

        QAbstractItemModel *idioms = page->chengyu_DBGrid->model();
        QVERIFY(idioms->setData(idioms->index(0, 1), QStringLiteral("比喻文采和德行")));
        QVERIFY(idioms->setData(idioms->index(0, 0), QStringLiteral("春花秋实")));
        // The search writes the row before it replaces the result.
        search(QStringLiteral("包含"), QStringLiteral("秋实"));
        QCOMPARE(fx->value(QStringLiteral("select 含义 from 成语 where 成语='春花秋实'")),
                 QStringLiteral("比喻文采和德行"));
        QCOMPARE(keys(db->Chengyu_ADOQuery), QStringList{"春花秋实"});
    }

    void refusedWriteStopsTheSearch()
    {
        search(QStringLiteral("字首"), QStringLiteral("春"));
        const QString before0 = panel(0), before1 = panel(1);
        fx->exec(QStringLiteral(
            "CREATE TRIGGER keep BEFORE UPDATE ON 词组 BEGIN SELECT RAISE(ABORT, 'locked row'); END"));
        QAbstractItemModel *words = page->cizu_DBGrid->model();
        QVERIFY(words->setData(words->index(0, 1), QStringLiteral("春天的风")));

        page->Think_Edit->setText(QStringLiteral("秋"));
        QVERIFY(!guarded(page.get(), [&] { page->Think_SpeedButtonClick(); }));
        QCOMPARE(dialogs->errors(), QStringList{QStringLiteral("locked row")});
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
        page->ThinkShow();
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=4 成语=1"));
        db->Cizu_ADOQuery->close();
        page->Think_Edit->setText(QStringLiteral("春"));
        QVERIFY(!guarded(page.get(), [&] { page->ThinkShow(); }));
        QCOMPARE(dialogs->errors(),
                 QStringList{QStringLiteral("Cannot perform this operation on a closed dataset")});
        QCOMPARE(panel(0), QStringLiteral("查询条件：显示全部数据"));
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=4 成语=1"));
        // The next search reopens it.
        page->Think_SpeedButtonClick();
        QCOMPARE(panel(1), QStringLiteral("查询结果：词组=1 成语=1"));
    }
};

SHIHAI_TEST_MAIN(TestAssociation)
#include "test_association.moc"
