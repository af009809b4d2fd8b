// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/recoveryfile.h"
#include "db/schema.h"
#include "pages/shared/recoveryprompt.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>

#include <csignal>

using namespace schema;
using namespace faults;

namespace {

const QString draftSql = QStringLiteral("select 内容 from 作品 where 标题='草稿'");
const QString workSql = QStringLiteral("select 作者 || '|' || 内容 from 作品 where 标题='秋兴'");

QJsonObject typeInto(const char *control, const QString &text)
{
    return {{QStringLiteral("control"), QString::fromLatin1(control)}, {QStringLiteral("text"), text}};
}

// Into the draft on 开始创作, then the author and the content of the work shown on 经典案例.
QJsonArray draftAndWork()
{
    return {typeInto("Edit_DBRichEdit", QStringLiteral("床前明月光")),
            QJsonObject{{QStringLiteral("page"), 3}}, typeInto("zz_DBEdit", QStringLiteral("李白")),
            typeInto("nr_DBRichEdit", QStringLiteral("疑是地上霜"))};
}

LiveProgram::Options typing(const QJsonArray &steps, int paceMs = 0, bool obeyPermissions = false)
{
    LiveProgram::Options options;
    options.typing = steps;
    options.paceMs = paceMs;
    options.obeyPermissions = obeyPermissions;
    return options;
}

bool typedAll(const QJsonObject &report)
{
    return report.contains(QStringLiteral("typedAll"));
}

bool answered(const QJsonObject &report)
{
    return report.contains(QStringLiteral("answered"));
}

} // namespace

// The real program, ended the ways a desktop or a system ends it while texts are typed and not yet
// written: termination signals write them as closing does; after a kill the next start offers what
// the recovery file kept.
class TestSignals : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    QTemporaryDir userData; // the user's data folder, for the program too

    QString recoveryFile() const { return recovery::fileFor(fx->path()); }
    QString fallbackFile() const { return recovery::fallbackFileFor(recovery::fingerprintOf(fx->path())); }
    std::optional<recovery::Contents> kept(const QString &file) const
    {
        return recovery::read(file, recovery::fingerprintOf(fx->path()));
    }
    std::optional<recovery::Contents> kept() const { return kept(recoveryFile()); }
    // The draft's text as the recovery file holds it; empty when it holds none.
    QString keptDraft() const
    {
        const auto contents = kept();
        for (const recovery::Row &row : contents ? contents->rows : QList<recovery::Row>())
            for (const recovery::Field &f : row.fields)
                if (row.table == tableWorks && f.column == colContent)
                    return f.text;
        return {};
    }
    QStringList setAsideFiles() const
    {
        return QDir(fx->dir() + QStringLiteral("/date"))
            .entryList({QStringLiteral("W.mdb.recovery-*")}, QDir::Files, QDir::Name);
    }
    // The next start asks the question, is answered and ended by SIGTERM.
    ProgramRun answerAndEnd(bool yes)
    {
        LiveProgram::Options options;
        options.answerNo = !yes;
        LiveProgram next(fx->dir(), options);
        if (!next.waitFor(answered))
            return next.finish(0);
        next.signal(SIGTERM);
        return next.finish();
    }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path())); }
    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->insert(tableWorks, {colTitle, colCategory, colCount, colDate, colAuthor},
                   {QStringLiteral("秋兴"), QStringLiteral("甲类"), 8, QStringLiteral("2007-03-01"),
                    QStringLiteral("杜甫")});
    }
    void cleanup()
    {
        QFile::setPermissions(QFileInfo(fx->path()).path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(fx->path(), QFile::ReadOwner | QFile::WriteOwner);
        fx.reset();
    }

    void terminationSignalWritesEverythingTyped_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGQUIT") << SIGQUIT;
    }
    void terminationSignalWritesEverythingTyped()
    {
        QFETCH(int, number);
        LiveProgram program(fx->dir(), typing(draftAndWork()));
        QVERIFY(program.waitFor(typedAll));
        program.signal(number);
        const ProgramRun run = program.finish();
        QVERIFY2(run.cleanExit(0), qPrintable(run.diagnostics));
        QCOMPARE(run.boxes.size(), 0);
        QCOMPARE(fx->value(draftSql), QStringLiteral("床前明月光"));
        QCOMPARE(fx->value(workSql), QStringLiteral("李白|疑是地上霜"));
        QVERIFY(!QFileInfo::exists(recoveryFile()));
    }

    // Refused writes leave the texts in the recovery file (in the user's data folder when the
    // database's folder takes no new file); once the database may be written again, the next start
    // puts them back and they are written.
    void readOnlyDatabaseKeepsTheTextsForTheNextStart_data()
    {
        QTest::addColumn<bool>("wholeFolder");
        QTest::newRow("file without write permission") << false;
        QTest::newRow("folder without write permission") << true;
    }
    void readOnlyDatabaseKeepsTheTextsForTheNextStart()
    {
        QFETCH(bool, wholeFolder);
        const QString folder = QFileInfo(fx->path()).path();
        if (wholeFolder)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        else
            QFile::setPermissions(fx->path(), QFile::ReadOwner | QFile::ReadOther);
        const QByteArray before = fileHash(fx->path());
        LiveProgram program(fx->dir(), typing(draftAndWork(), 0, true));
        QVERIFY(program.waitFor(typedAll));
        program.signal(SIGTERM);
        const ProgramRun run = program.finish();
        QVERIFY(run.cleanExit(0));
        QVERIFY(run.diagnostics.contains(QStringLiteral("attempt to write a readonly database")));
        QCOMPARE(fileHash(fx->path()), before);
        // What the file holds is shown by the next start, which writes it.
        const auto contents = kept(wholeFolder ? fallbackFile() : recoveryFile());
        QVERIFY(contents && contents->problem == recovery::Problem::None && contents->rows.size() == 2);

        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(fx->path(), QFile::ReadOwner | QFile::WriteOwner);
        const ProgramRun next = answerAndEnd(true);
        QVERIFY2(next.cleanExit(0), qPrintable(next.diagnostics));
        QCOMPARE(next.boxes.size(), 1);
        QCOMPARE(next.boxes[0].value(QStringLiteral("box")).toString(), recoveryprompt::question);
        QCOMPARE(fx->value(draftSql), QStringLiteral("床前明月光"));
        QCOMPARE(fx->value(workSql), QStringLiteral("李白|疑是地上霜"));
        QVERIFY(!QFileInfo::exists(recoveryFile()));
        QVERIFY(!QFileInfo::exists(fallbackFile()));
    }

    // Killed at moments the test does not choose, once the file is known to hold a part of what was
    // typed: the next start offers it; 是 writes exactly what the file held, 否 keeps the file aside
    // and leaves the database as it was.
    void killedWhileTypingOffersWhatWasKept()
    {
        QRandomGenerator random(20070331);
        const QString poem = QStringLiteral("春眠不觉晓处处闻啼鸟夜来风雨声花落知多少");
        const int rounds = 9;
        int setAside = 0;
        for (int round = 0; round < rounds; ++round) {
            const QString full = QStringLiteral("第%1轮").arg(round) + poem;
            const QString before = fx->value(draftSql);
            LiveProgram typist(fx->dir(), typing({typeInto("Edit_DBRichEdit", full)}, 15));
            const int k = 1 + int(random.bounded(full.size()));
            QVERIFY(typist.waitFor(
                [k](const QJsonObject &r) { return r.value(QStringLiteral("count")).toInt() >= k; }));
            QTRY_VERIFY_WITH_TIMEOUT(keptDraft().size() >= k, 20000);
            QTest::qWait(int(random.bounded(400))); // typing goes on until an unchosen moment
            typist.signal(SIGKILL);
            const ProgramRun killed = typist.finish();
            QCOMPARE(killed.exitStatus, QProcess::CrashExit);
            QCOMPARE(killed.boxes.size(), 0); // the last round's file was dealt with
            const QString left = keptDraft();
            QVERIFY2(left.size() >= k && full.startsWith(left), qPrintable(left));
            const QByteArray bytes = [&] {
                QFile f(recoveryFile());
                return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            }();

            const bool yes = round % 3 != 2;
            const ProgramRun next = answerAndEnd(yes);
            QVERIFY2(next.cleanExit(0), qPrintable(next.diagnostics));
            QCOMPARE(next.boxes.size(), 1);
            QCOMPARE(next.boxes[0].value(QStringLiteral("box")).toString(), recoveryprompt::question);
            QVERIFY(!QFileInfo::exists(recoveryFile()));
            QCOMPARE(fx->value(draftSql), yes ? left : before);
            if (!yes) {
                ++setAside;
                const QStringList aside = setAsideFiles();
                QCOMPARE(aside.size(), setAside);
                QCOMPARE(fileHash(fx->dir() + QStringLiteral("/date/") + aside.last()),
                         QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
            }
        }
        QCOMPARE(integrityCheck(fx->path()), QStringLiteral("ok"));
    }
};

SHIHAI_TEST_MAIN(TestSignals)
#include "test_signals.moc"
