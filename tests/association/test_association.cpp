// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/query.h"
#include "db/schema.h"
#include "pages/association/associationpage.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/guard.h"
#include "pages/shared/statusbar.h"
#include "presentation/associationmodel.h"
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
        page = std::make_unique<AssociationPage>(new AssociationModel(*db), status.get());
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
};

SHIHAI_TEST_MAIN(TestAssociation)
#include "test_association.moc"
