// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "db/query.h"
#include "db/schema.h"
#include "pages/shared/dbgrid.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

using namespace schema;
using namespace faults;

// A file the user may read but not write: the program opens it and shows everything, every write
// is refused with the engine's message while the row keeps what the user typed, the window closes
// once the user gives up the changes, and the file is never touched. Checked as an ordinary user
// would meet it, also when the tests run as root.
class TestReadOnly : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;

    QString folder() const { return fx->dir() + QStringLiteral("/date"); }
    // Write permission taken from the file, or from its folder (no journal can be made there).
    void protect(bool wholeFolder) const
    {
        if (wholeFolder)
            QFile::setPermissions(folder(),
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        else
            QFile::setPermissions(fx->path(), QFile::ReadOwner | QFile::ReadOther);
    }
    void unprotect() const
    {
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(fx->path(), QFile::ReadOwner | QFile::WriteOwner);
    }
    template <class T> T *find(const QString &name) const { return fx->child<T>(name); }
    void setPage(int index) const { fx->showPage(index); }
    void click(const QString &button) const { QTest::mouseClick(find<QToolButton>(button), Qt::LeftButton); }
    // The one error the last action showed.
    QString takeError() const
    {
        const QStringList errors = fx->dialogs->errors();
        fx->dialogs->clear();
        return errors.size() == 1 ? errors.first() : QStringLiteral("%1 errors").arg(errors.size());
    }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        const QStringList rhyme = {colFinal, colSyllable, colTone, colCommon};
        for (const char *syllable : {"zhang", "chang", "shang"})
            prepared.insert(tableJsy, rhyme,
                            {QStringLiteral("ang"), QString::fromLatin1(syllable), QStringLiteral("阴平"),
                             QStringLiteral("字")});
        prepared.insert(
            tablePsy, rhyme,
            {QStringLiteral("ang"), QStringLiteral("bang"), QStringLiteral("阴平"), QStringLiteral("邦")});
        for (const char *word : {"春风", "秋月"})
            prepared.insert(tableWords, {colWord, colMeaning},
                            {QString::fromUtf8(word), QStringLiteral("义")});
        prepared.insert(tableWorks, {colTitle, colCategory, colCount, colDate, colAuthor},
                        {QStringLiteral("秋兴"), QStringLiteral("甲类"), 8, QStringLiteral("2007-03-01"),
                         QStringLiteral("杜甫")});
    }
    void init() { fx = std::make_unique<WindowFixture>(prepared); }
    void cleanup()
    {
        fx->drop();
        unprotect();
        fx.reset();
    }

    void everyWriteIsRefusedAndTheRowKeepsItsValues_data()
    {
        QTest::addColumn<bool>("wholeFolder");
        QTest::addColumn<QString>("message");
        QTest::newRow("file without write permission")
            << false << QStringLiteral("attempt to write a readonly database");
        // The engine gives the same message when it cannot make its journal in the folder.
        QTest::newRow("folder without write permission")
            << true << QStringLiteral("attempt to write a readonly database");
    }
    void everyWriteIsRefusedAndTheRowKeepsItsValues()
    {
        QFETCH(bool, wholeFolder);
        QFETCH(QString, message);
        protect(wholeFolder);
        const PermissionsObeyed obeyed;
        QVERIFY(wholeFolder ? !QFile(folder() + QStringLiteral("/probe")).open(QIODevice::WriteOnly)
                            : isWriteProtected(fx->path()));
        const QByteArray before = fileHash(fx->path());

        TW *w = fx->open();
        QCOMPARE(fx->dialogs->calls.size(), 0);
        Database &db = w->database();

        // The draft.
        auto *draft = find<QTextEdit>(QStringLiteral("Edit_DBRichEdit"));
        retype(draft, QStringLiteral("新的一句"));
        click(QStringLiteral("Edit_save_SpeedButton"));
        QCOMPARE(takeError(), message);
        QCOMPARE(draft->toPlainText(), QStringLiteral("新的一句"));
        QCOMPARE(db.Edit_ADOQuery->state(), Query::State::Edit);

        // A cell of the lower grid, written by moving down.
        auto *lower = find<DbGrid>(QStringLiteral("Edit_jsy_DBGrid"));
        QVERIFY(typeIntoCell(lower, 0, 1, QStringLiteral("改")));
        QTest::keyClick(lower, Qt::Key_Down);
        QCOMPARE(takeError(), message);
        QCOMPARE(lower->currentIndex().row(), 0);
        QCOMPARE(db.Edit_jsy_ADOQuery->state(), Query::State::Edit);
        QCOMPARE(db.Edit_jsy_ADOQuery->text(colCommon), QStringLiteral("改"));

        // Deleting a row of the rhyme browser.
        setPage(1);
        auto *rhymes = find<DbGrid>(QStringLiteral("View_psy_DBGrid"));
        rhymes->setFocus();
        fx->dialogs->answer = true;
        QTest::keyClick(rhymes, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(fx->dialogs->calls.size(), 2); // the question, then the refusal
        QCOMPARE(takeError(), message);
        QCOMPARE(db.View_psy_ADOQuery->rowCount(), 1);

        // A new word.
        setPage(2);
        auto *words = find<DbGrid>(QStringLiteral("cizu_DBGrid"));
        words->setFocus();
        QTest::keyClick(words, Qt::Key_Insert);
        QVERIFY(typeIntoCell(words, 0, 0, QStringLiteral("新词")));
        QTest::keyClick(words, Qt::Key_Down);
        QCOMPARE(takeError(), message);
        QCOMPARE(db.Cizu_ADOQuery->state(), Query::State::Insert);
        QCOMPARE(db.Cizu_ADOQuery->text(colWord), QStringLiteral("新词"));

        // A changed work, a new work and a deletion.
        setPage(3);
        auto *author = find<QLineEdit>(QStringLiteral("zz_DBEdit"));
        retype(author, QStringLiteral("李白"));
        click(QStringLiteral("ok_SpeedButton"));
        QCOMPARE(takeError(), message);
        QCOMPARE(author->text(), QStringLiteral("李白"));
        click(QStringLiteral("Cancel_SpeedButton"));
        QCOMPARE(author->text(), QStringLiteral("杜甫"));
        click(QStringLiteral("add_SpeedButton"));
        retype(find<QLineEdit>(QStringLiteral("bt_DBEdit")), QStringLiteral("新作"));
        click(QStringLiteral("ok_SpeedButton"));
        QCOMPARE(takeError(), message);
        QCOMPARE(db.Show_ADOQuery->state(), Query::State::Insert);
        QCOMPARE(find<QLineEdit>(QStringLiteral("bt_DBEdit"))->text(), QStringLiteral("新作"));
        click(QStringLiteral("Cancel_SpeedButton"));
        click(QStringLiteral("del_SpeedButton"));
        QCOMPARE(fx->dialogs->calls.size(), 2);
        QCOMPARE(takeError(), message);
        QCOMPARE(db.Show_ADOQuery->rowCount(), 1);
        QCOMPARE(find<QLineEdit>(QStringLiteral("bt_DBEdit"))->text(), QStringLiteral("秋兴"));

        // Closing tries to write the draft: refused, the window stays with the text.
        QVERIFY(!w->close());
        QCOMPARE(takeError(), message);
        QVERIFY(w->isVisible());
        QCOMPARE(draft->toPlainText(), QStringLiteral("新的一句"));
        // Given up (undone in the editor, Escape in the grids), the window closes.
        setPage(0);
        draft->setFocus();
        QTest::keyClick(draft, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(draft, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(draft->toPlainText(), QString());
        QTest::keyClick(lower, Qt::Key_Escape);
        QTest::keyClick(words, Qt::Key_Escape);
        QVERIFY(w->close());
        QCOMPARE(fx->dialogs->calls.size(), 0);
        fx->drop();

        QCOMPARE(fileHash(fx->path()), before);
        QVERIFY(!QFileInfo::exists(fx->path() + QStringLiteral("-journal")));
    }

    // The program itself, as a user without write permission starts it: it opens, shows no error
    // and closes with status 0.
    void programOpensAndClosesAReadOnlyFile_data() { everyWriteIsRefusedAndTheRowKeepsItsValues_data(); }
    void programOpensAndClosesAReadOnlyFile()
    {
        QFETCH(bool, wholeFolder);
        protect(wholeFolder);
        QVERIFY(!childMayWrite(wholeFolder ? folder() + QStringLiteral("/probe") : fx->path()));
        const QByteArray before = fileHash(fx->path());
        const ProgramRun run = runProgram(fx->dir(), Run::CloseWhenShown, true);
        QVERIFY2(run.cleanExit(0), qPrintable(run.diagnostics));
        QCOMPARE(run.boxes.size(), 0);
        QCOMPARE(run.closes, QList<bool>{true});
        QCOMPARE(fileHash(fx->path()), before);
    }
};

SHIHAI_TEST_MAIN(TestReadOnly)
#include "test_readonly.moc"
