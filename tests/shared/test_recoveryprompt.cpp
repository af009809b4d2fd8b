// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/query.h"
#include "db/recoveryfile.h"
#include "db/schema.h"
#include "pages/shared/recoveryprompt.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

using namespace schema;
using namespace recovery;

// The question about a recovery file the last run left, over a real database and a bare window:
// what each answer does to the rows, the file and the keeper.
class TestRecoveryPrompt : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<Database> db;
    RecoveryKeeper *keeper = nullptr;
    QStringList listed; // categories the prompt asked 经典案例 to list

    QString file() const { return fileFor(fx->path()); }
    QList<Row> kept() const
    {
        const auto contents = read(file(), fingerprintOf(fx->path()));
        return contents ? contents->rows : QList<Row>();
    }
    QStringList setAside() const
    {
        return QDir(fx->dir() + QStringLiteral("/date")).entryList({QStringLiteral("W.mdb.recovery-*")});
    }
    QByteArray bytesOf(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Leaves a file as a killed run would, then opens the window's database and keeper over it.
    QByteArray start(const QList<Row> &rows)
    {
        const QByteArray bytes = encode(fingerprintOf(fx->path()), rows);
        writeAtomically(file(), bytes);
        window = std::make_unique<QWidget>();
        window->setWindowTitle(QStringLiteral("诗海拾贝"));
        db = std::make_unique<Database>(fx->path(), window.get());
        keeper = recoveryprompt::keeperFor(window.get(), *db, fx->path());
        return bytes;
    }
    bool offer()
    {
        return recoveryprompt::offer(window.get(), *db, *keeper, [this](const QString &c) { listed << c; });
    }
    qint64 draftRowid() const { return fx->value(QStringLiteral("select rowid from 作品")).toLongLong(); }
    QList<Row> draftAndWord() const
    {
        return {{tableWorks, draftRowid(), {{colContent, QStringLiteral("床前明月光")}}},
                {tableWords, std::nullopt, {{colWord, QStringLiteral("秋月")}}}};
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        dialogs = std::make_unique<ScriptedDialogs>();
        listed.clear();
    }
    void cleanup()
    {
        db.reset();
        window.reset();
        dialogs.reset();
        fx.reset();
    }

    // 是: the texts are back in their rows as typed, nothing is written yet, and the keeper, no longer
    // holding the old file, keeps them anew.
    void yesPutsTheTextsBackAndKeepsThemAnew()
    {
        const QList<Row> rows = draftAndWord();
        start(rows);
        QVERIFY(offer());
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].title, QStringLiteral("诗海拾贝"));
        QCOMPARE(dialogs->calls[0].text, recoveryprompt::question);
        QCOMPARE(db->Edit_ADOQuery->state(), Query::State::Edit);
        QCOMPARE(db->Edit_ADOQuery->text(colContent), QStringLiteral("床前明月光"));
        QCOMPARE(db->Cizu_ADOQuery->state(), Query::State::Insert);
        QCOMPARE(fx->count(tableWords), 0);
        QVERIFY(listed.isEmpty());
        const QString more = QStringLiteral("床前明月光，疑是地上霜");
        db->Edit_ADOQuery->setText(colContent, more);
        QVERIFY(keeper->keepNow());
        QCOMPARE(kept(), (QList<Row>{{tableWorks, draftRowid(), {{colContent, more}}}, rows[1]}));
    }

    // 否 sets the file aside whole; no answer at all (the program ended while asking) leaves it in
    // place and held for the next start. Either way no row changes.
    void noOrNoAnswerPutsNothingBack_data()
    {
        QTest::addColumn<bool>("unanswered");
        QTest::newRow("否") << false;
        QTest::newRow("no answer") << true;
    }
    void noOrNoAnswerPutsNothingBack()
    {
        QFETCH(bool, unanswered);
        const QByteArray bytes = start(draftAndWord());
        dialogs->answer = false;
        dialogs->unanswered = unanswered;
        QVERIFY(!offer());
        for (Query *q : db->queries())
            QCOMPARE(q->state(), Query::State::Browse);
        QVERIFY(keeper->keepNow());
        if (unanswered) {
            QCOMPARE(bytesOf(file()), bytes);
            QVERIFY(setAside().isEmpty());
        } else {
            QVERIFY(!QFileInfo::exists(file()));
            QCOMPARE(setAside().size(), 1);
            QCOMPARE(bytesOf(fx->dir() + QStringLiteral("/date/") + setAside().first()), bytes);
        }
    }

    // A text that has nowhere to go (two new words, one words query) is shown as an error; the file
    // is set aside whole and what did go back is kept anew.
    void aTextWithNowhereToGoSetsTheFileAside()
    {
        const QList<Row> rows = {{tableWords, std::nullopt, {{colWord, QStringLiteral("秋月")}}},
                                 {tableWords, std::nullopt, {{colWord, QStringLiteral("春风")}}}};
        const QByteArray bytes = start(rows);
        QVERIFY(offer());
        QCOMPARE(dialogs->errors().size(), 1);
        QVERIFY2(dialogs->errors().first().contains(tableWords), qPrintable(dialogs->errors().first()));
        QCOMPARE(setAside().size(), 1);
        QCOMPARE(bytesOf(fx->dir() + QStringLiteral("/date/") + setAside().first()), bytes);
        QVERIFY(keeper->keepNow());
        QCOMPARE(kept(), QList<Row>{rows.first()});
    }
};

SHIHAI_TEST_MAIN(TestRecoveryPrompt)
#include "test_recoveryprompt.moc"
