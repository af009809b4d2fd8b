// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTextEdit>
#include <QThread>
#include <QToolButton>

#include <memory>

using namespace schema;
using namespace faults;

namespace {

const QString locked = QStringLiteral("database is locked");

// The message of the refused call, or empty when it went through.
template <class Action> QString refusal(Action &&action)
{
    try {
        action();
        return QString();
    } catch (const DbError &e) {
        return e.message();
    }
}

void reopen(Query *q)
{
    q->close();
    q->open();
}

QString hex(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toHex().toUpper());
}

} // namespace

// The file shared with other processes: the sqlite3 shell holding a lock, a second copy of the data
// layer and the shell writing the same rows. Nothing is lost, every refused write keeps its row, and
// each side sees the others' committed changes once it reopens its query.
class TestSharing : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;
    int scenarios = 0;

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        for (const char *word : {"春风", "秋月", "风月"})
            prepared.insert(tableWords, {colWord, colMeaning},
                            {QString::fromUtf8(word), QStringLiteral("义")});
        prepared.insert(tableWorks, {colTitle, colCategory, colCount, colDate},
                        {QStringLiteral("秋兴"), QStringLiteral("甲类"), 8, QStringLiteral("2007-03-01")});
    }
    void init() { fx = std::make_unique<WindowFixture>(prepared); }
    void cleanup() { fx.reset(); }
    void cleanupTestCase() { qInfo("lock and sharing scenarios survived: %d", scenarios); }

    // A write lock of another process: each post waits for it, is refused with the engine's message
    // and keeps its row; the same post goes through once the lock is gone.
    void lockRefusesWritesUntilItIsReleased_data()
    {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<bool>("readsRefused");
        QTest::newRow("exclusive") << QStringLiteral("BEGIN EXCLUSIVE;") << true;
        QTest::newRow("pending write")
            << QStringLiteral("BEGIN IMMEDIATE; UPDATE 词组 SET 含义='壳' WHERE rowid=2;") << false;
    }
    void lockRefusesWritesUntilItIsReleased()
    {
        QFETCH(QString, lock);
        QFETCH(bool, readsRefused);
        QObject owner;
        Database db(fx->path(), &owner);
        Query *draft = db.Edit_ADOQuery;
        Query *words = db.Cizu_ADOQuery;
        Shell shell(fx->path());
        QCOMPARE(shell.run(lock), QStringList());
        QCOMPARE(shell.takeErrors(), QString());

        draft->edit();
        draft->setText(colContent, QStringLiteral("锁住时写的"));
        QElapsedTimer waited;
        waited.start();
        QCOMPARE(refusal([&] { draft->post(); }), locked);
        QVERIFY(waited.elapsed() >= 1000); // it waited for the lock before giving up
        QCOMPARE(draft->state(), Query::State::Edit);
        QCOMPARE(draft->text(colContent), QStringLiteral("锁住时写的"));

        words->append();
        words->setText(colWord, QStringLiteral("新词"));
        QCOMPARE(refusal([&] { words->post(); }), locked);
        QCOMPARE(words->state(), Query::State::Insert);
        QCOMPARE(words->text(colWord), QStringLiteral("新词"));
        words->cancel();
        words->first();
        QCOMPARE(refusal([&] { words->remove(); }), locked);
        QCOMPARE(words->rowCount(), 3);
        QCOMPARE(words->text(colWord), QStringLiteral("春风"));

        Query other(db.connection(), QStringLiteral("other"), QStringLiteral("select * from 词组"));
        QCOMPARE(refusal([&] { other.open(); }), readsRefused ? locked : QString());

        QCOMPARE(shell.run(QStringLiteral("COMMIT;")), QStringList());
        QCOMPARE(refusal([&] { draft->post(); }), QString());
        QCOMPARE(refusal([&] { words->remove(); }), QString());
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where 标题='草稿'")),
                 QStringLiteral("锁住时写的"));
        QCOMPARE(fx->column(QStringLiteral("select 词组 from 词组 order by rowid")),
                 QStringList({QStringLiteral("秋月"), QStringLiteral("风月")}));
        QCOMPARE(integrityCheck(fx->path()), QStringLiteral("ok"));
        ++scenarios;
    }

    // In the window: saving the draft and closing both wait for the lock, are refused with the
    // engine's message and keep the typing; once the lock is gone both go through.
    void windowKeepsTypingWhileLockedAndClosesAfterwards()
    {
        TW &w = *fx->open();
        const ScriptedDialogs &dialogs = *fx->dialogs;
        auto *editor = w.findChild<QTextEdit *>(QStringLiteral("Edit_DBRichEdit"));
        retype(editor, QStringLiteral("未保存的诗句"));
        fx->showPage(3);
        auto *author = w.findChild<QLineEdit *>(QStringLiteral("zz_DBEdit"));
        retype(author, QStringLiteral("杜甫"));

        Shell shell(fx->path());
        shell.run(QStringLiteral("BEGIN EXCLUSIVE;"));
        QTest::mouseClick(w.findChild<QToolButton *>(QStringLiteral("Edit_save_SpeedButton")),
                          Qt::LeftButton);
        QCOMPARE(dialogs.errors(), QStringList{locked});
        QVERIFY(!w.close());
        QCOMPARE(dialogs.errors(), QStringList({locked, locked}));
        QVERIFY(w.isVisible());
        QCOMPARE(editor->toPlainText(), QStringLiteral("未保存的诗句"));
        QCOMPARE(author->text(), QStringLiteral("杜甫"));

        shell.run(QStringLiteral("COMMIT;"));
        QVERIFY(w.close());
        QCOMPARE(dialogs.errors().size(), 2);
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where 标题='草稿'")),
                 QStringLiteral("未保存的诗句"));
        QCOMPARE(fx->value(QStringLiteral("select 作者 from 作品 where 标题='秋兴'")),
                 QStringLiteral("杜甫"));
        ++scenarios;
    }

    // Two copies of the data layer and the shell on one file: each sees the others' committed
    // changes after reopening, a stale row writes only what was changed in it, and a row deleted
    // by another is refused rather than written back.
    void copiesAndTheShellSeeEachOthersCommits()
    {
        QObject owner;
        Database a(fx->path(), &owner);
        Database b(fx->path(), &owner);
        Shell shell(fx->path());
        Query *wa = a.Cizu_ADOQuery;
        Query *wb = b.Cizu_ADOQuery;

        // a writes; the shell sees it; b sees it after reopening.
        wa->edit();
        wa->setText(colMeaning, QStringLiteral("甲写的"));
        wa->post();
        QCOMPARE(shell.run(QStringLiteral("SELECT hex(含义) FROM 词组 WHERE rowid=1;")),
                 QStringList{hex(QStringLiteral("甲写的"))});
        QCOMPARE(wb->text(colMeaning), QStringLiteral("义"));
        reopen(wb);
        QCOMPARE(wb->text(colMeaning), QStringLiteral("甲写的"));

        // The shell writes; both copies see it after reopening.
        shell.run(QStringLiteral(
            "UPDATE 词组 SET 含义='壳写的' WHERE rowid=2; INSERT INTO 词组 VALUES ('壳词', '壳义');"));
        QCOMPARE(shell.takeErrors(), QString());
        for (Query *q : {wa, wb}) {
            reopen(q);
            QCOMPARE(q->rowCount(), 4);
            q->moveTo(1);
            QCOMPARE(q->text(colMeaning), QStringLiteral("壳写的"));
            q->last();
            QCOMPARE(q->text(colWord), QStringLiteral("壳词"));
        }

        // b adds a row; a and the shell see it.
        wb->append();
        wb->setText(colWord, QStringLiteral("乙词"));
        wb->post();
        reopen(wa);
        QCOMPARE(wa->rowCount(), 5);
        QCOMPARE(shell.run(QStringLiteral("SELECT count(*) FROM 词组;")), QStringList{QStringLiteral("5")});

        // The same row changed in two places: each keeps the column it changed.
        wa->first();
        wa->edit();
        wa->setText(colMeaning, QStringLiteral("甲又写"));
        shell.run(QStringLiteral("UPDATE 词组 SET 词组='春光' WHERE rowid=1;"));
        wa->post();
        QCOMPARE(fx->value(QStringLiteral("select 词组 || '=' || 含义 from 词组 where rowid=1")),
                 QStringLiteral("春光=甲又写"));
        QCOMPARE(wa->text(colWord), QStringLiteral("春光"));

        // A row that another deleted is not written back.
        shell.run(QStringLiteral("DELETE FROM 词组 WHERE rowid=3;"));
        wa->moveTo(2);
        wa->edit();
        wa->setText(colMeaning, QStringLiteral("写给已删的行"));
        QCOMPARE(refusal([&] { wa->post(); }), dberror::rowMissing);
        QCOMPARE(wa->state(), Query::State::Edit);
        QCOMPARE(wa->text(colMeaning), QStringLiteral("写给已删的行"));
        QCOMPARE(fx->count(tableWords), 4);
        wa->cancel();

        QCOMPARE(shell.takeErrors(), QString());
        QCOMPARE(integrityCheck(fx->path()), QStringLiteral("ok"));
        ++scenarios;
    }

    // Another process posting in a loop while this one does: every post of both is in the file.
    void twoProcessesPostingAtOnceLoseNothing()
    {
        const int count = 150;
        QProcess writer;
        writer.start(writerProgram(), {fx->path(), QStringLiteral("甲"), QString::number(count)});
        QVERIFY(writer.waitForStarted());
        QObject owner;
        Database db(fx->path(), &owner);
        Shell shell(fx->path());
        Query *words = db.Cizu_ADOQuery;
        for (int i = 0; i < count; ++i) {
            words->append();
            words->setText(colWord, QStringLiteral("乙-%1").arg(i));
            // A busy file may refuse a post however long the engine waits (a loaded machine): the
            // row then stays typed, and posting again writes it. Only that refusal is allowed.
            for (int tries = 1;; ++tries) {
                const QString refused = refusal([&] { words->post(); });
                if (refused.isEmpty())
                    break;
                QCOMPARE(refused, QStringLiteral("database is locked"));
                QCOMPARE(words->state(), Query::State::Insert);
                QCOMPARE(words->text(colWord), QStringLiteral("乙-%1").arg(i));
                QVERIFY2(tries < 200, "the other process never let go of the file");
                QThread::msleep(10); // a refusal given at once, where waiting could deadlock
            }
            if (i % 30 == 0) {
                shell.run(QStringLiteral("SELECT count(*) FROM 词组;"));
                QCOMPARE(shell.takeErrors(), QString());
            }
        }
        QVERIFY(writer.waitForFinished(120000));
        QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
        QVERIFY2(writer.exitCode() == 0, writer.readAllStandardError().constData());

        QStringList expected;
        QSet<QString> removed;
        for (const QByteArray &line : writer.readAllStandardOutput().split('\n')) {
            const QString report = QString::fromUtf8(line);
            if (report.startsWith(QStringLiteral("insert ")))
                expected << report.mid(7);
            else if (report.startsWith(QStringLiteral("remove ")))
                removed << report.mid(7);
        }
        QCOMPARE(expected.size(), count);
        expected.removeIf([&](const QString &k) { return removed.contains(k); });
        for (int i = 0; i < count; ++i)
            expected << QStringLiteral("乙-%1").arg(i);
        expected << QStringLiteral("春风") << QStringLiteral("秋月") << QStringLiteral("风月");
        expected.sort();
        QStringList stored = fx->column(QStringLiteral("select 词组 from 词组"));
        stored.sort();
        QCOMPARE(stored, expected);
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where 标题='草稿'")),
                 QStringLiteral("甲-%1").arg(count - 1));
        QCOMPARE(integrityCheck(fx->path()), QStringLiteral("ok"));
        ++scenarios;
    }
};

SHIHAI_TEST_MAIN(TestSharing)
#include "test_sharing.moc"
