// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/schema.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QRandomGenerator>
#include <QSet>

#include <csignal>

using namespace schema;
using namespace faults;

// A second process posting in a loop is killed without warning, again and again: the file always
// passes the engine's integrity check and holds every post that had returned, and the program
// opens it afterwards.
class TestCrash : public QObject {
    Q_OBJECT

private slots:
    void killedWhilePostingLosesNothingThatReturned()
    {
        Fixture fx;
        fx.insert(tableWords, {colWord, colMeaning}, {QStringLiteral("春风"), QStringLiteral("义")});
        QRandomGenerator random(20070331);
        QSet<QString> present = {QStringLiteral("春风")};
        int journals = 0;
        const int rounds = 40;
        for (int round = 0; round < rounds; ++round) {
            const QString prefix = QStringLiteral("r%1").arg(round);
            QProcess writer;
            writer.start(writerProgram(), {fx.path(), prefix});
            QVERIFY(writer.waitForStarted());
            // Killed after a varying number of returned posts, at a moment the test does not choose.
            const int reports = 3 + int(random.bounded(40));
            QByteArray out;
            while (out.count('\n') < reports) {
                QVERIFY2(writer.waitForReadyRead(60000), writer.readAllStandardError().constData());
                out += writer.readAllStandardOutput();
            }
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
            out += writer.readAllStandardOutput();
            if (QFileInfo::exists(fx.path() + QStringLiteral("-journal")))
                ++journals; // killed inside a write: the next opener rolls it back

            QString lastDraft;
            for (const QByteArray &line : out.split('\n')) {
                const QString report = QString::fromUtf8(line);
                const QString key = report.section(u' ', 1);
                if (report.startsWith(QStringLiteral("insert ")))
                    present << key;
                else if (report.startsWith(QStringLiteral("remove ")))
                    present.remove(key);
                else if (report.startsWith(QStringLiteral("draft ")))
                    lastDraft = key;
            }
            QCOMPARE(integrityCheck(fx.path()), QStringLiteral("ok"));
            const QStringList stored = fx.column(QStringLiteral("select 词组 from 词组"));
            for (const QString &key : std::as_const(present))
                QVERIFY2(stored.contains(key), qPrintable(key + QStringLiteral(" was posted but is gone")));
            // Besides the reported posts, at most the one under way when the kill came.
            const QString draft = fx.value(QStringLiteral("select 内容 from 作品 where 标题='草稿'"));
            const int last = lastDraft.section(u'-', 1).toInt();
            QVERIFY2(draft == lastDraft || draft == QStringLiteral("%1-%2").arg(prefix).arg(last + 1),
                     qPrintable(draft + QStringLiteral(" after ") + lastDraft));
            QVERIFY(stored.size() <= present.size() + 1);
            present = QSet<QString>(stored.begin(), stored.end()); // the unreported post under way may be in
        }
        qInfo("killed %d times while posting, %d of them inside a write; nothing lost", rounds, journals);

        // The program's own layer opens the file, as at start-up.
        QObject owner;
        Database db(fx.path(), &owner);
        QCOMPARE(db.Cizu_ADOQuery->recordCount(), int(present.size()));
    }
};

SHIHAI_TEST_MAIN(TestCrash)
#include "test_crash.moc"
