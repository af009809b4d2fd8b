// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/recoveryfile.h"
#include "db/schema.h"
#include "pages/instance/singleinstance.h"
#include "pages/shared/recoveryprompt.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QDir>

#include <csignal>

using namespace schema;
using namespace faults;

// The real program started while a copy runs on the same database: it ends without a question and
// leaves that copy's recovery file as it is; once that copy has been killed, the next start takes
// over the lock it left and offers what it kept.
class TestSecondStart : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    QTemporaryDir userData; // the user's data folder, for the program too

    QString recoveryFile() const { return recovery::fileFor(fx->path()); }
    QString keptDraft() const
    {
        const auto contents = recovery::read(recoveryFile(), recovery::fingerprintOf(fx->path()));
        for (const recovery::Row &row : contents ? contents->rows : QList<recovery::Row>())
            for (const recovery::Field &f : row.fields)
                if (row.table == tableWorks && f.column == colContent)
                    return f.text;
        return {};
    }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path())); }
    void init() { fx = std::make_unique<Fixture>(); }
    void cleanup() { fx.reset(); }

    void secondStartLeavesTheRunningCopysRecoveryFileAlone()
    {
        LiveProgram::Options typing;
        typing.typing = {QJsonObject{{QStringLiteral("control"), QStringLiteral("Edit_DBRichEdit")},
                                     {QStringLiteral("text"), QStringLiteral("床前明月光")}}};
        LiveProgram first(fx->dir(), typing);
        QTRY_COMPARE_WITH_TIMEOUT(keptDraft(), QStringLiteral("床前明月光"), 10000);
        const QByteArray kept = fileHash(recoveryFile());

        const ProgramRun second = runProgram(fx->dir());
        QVERIFY2(second.cleanExit(0), qPrintable(second.diagnostics));
        QCOMPARE(second.boxes.size(), 0);
        QCOMPARE(fileHash(recoveryFile()), kept);
        QVERIFY(QDir(fx->dir() + QStringLiteral("/date"))
                    .entryList({QStringLiteral("W.mdb.recovery-*")})
                    .isEmpty());

        first.signal(SIGKILL);
        QCOMPARE(first.finish().exitStatus, QProcess::CrashExit);
        QVERIFY(QFileInfo::exists(SingleInstance::lockFileFor(fx->path()))); // left by the killed copy
        LiveProgram next(fx->dir(), {});
        QVERIFY(next.waitFor([](const QJsonObject &r) { return r.contains(QStringLiteral("answered")); }));
        next.signal(SIGTERM);
        const ProgramRun run = next.finish();
        QVERIFY2(run.cleanExit(0), qPrintable(run.diagnostics));
        QCOMPARE(run.boxes.size(), 1);
        QCOMPARE(run.boxes[0].value(QStringLiteral("box")).toString(), recoveryprompt::question);
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where 标题='草稿'")),
                 QStringLiteral("床前明月光"));
        QVERIFY(!QFileInfo::exists(recoveryFile()));
    }
};

SHIHAI_TEST_MAIN(TestSecondStart)
#include "test_secondstart.moc"
