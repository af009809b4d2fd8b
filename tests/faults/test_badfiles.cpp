// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "db/query.h"
#include "db/schema.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

using namespace schema;
using namespace faults;

namespace {

enum class Bad {
    NoFolder,
    NoFile,
    FolderIsAFile,
    FileIsAFolder,
    Empty,
    RandomBytes,
    Text,
    Truncated,
    GarbageAfterHeader,
    NoTable,
    NoColumn,
    Locked
};

const QString cannotOpen = QStringLiteral("unable to open database file");

} // namespace
Q_DECLARE_METATYPE(Bad)

// Start-up over a file that is missing, damaged, incomplete or locked: the window is not built, the
// engine's message is shown in an error box, the program ends with status 1 and the file is left as
// it was. A file that lacks a column only a later action needs opens, and each action reports it.
class TestBadFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> fx;
    std::unique_ptr<Shell> shell;

    // Enough rows that every table spans several pages.
    void fill() const
    {
        fx->exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 299) "
            "INSERT INTO 平舌音 (韵母, 音节, 声调, 简易) SELECT 'ang', 'bang' || i, '阳平', '帮' || i FROM n;"
            "INSERT INTO 卷舌音 SELECT * FROM 平舌音;"
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 299) "
            "INSERT INTO 作品 (标题, 类别, 数量, 日期, 内容) SELECT '诗' || i, '甲类', 1, '2007-01-01', "
            "printf('%.200c', '句') FROM n;"
            "INSERT INTO 词组 SELECT 简易, 音节 FROM 平舌音;"
            "INSERT INTO 成语 SELECT 简易 || '秋实', 音节 FROM 平舌音;"));
    }
    // A table without one column: its indexes go first, as the engine keeps no index on a dropped column.
    void dropColumn(const QString &table, const QString &column) const
    {
        for (const QString &index :
             fx->column(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='%1'")
                            .arg(table)))
            fx->exec(QStringLiteral("DROP INDEX \"%1\"").arg(index));
        fx->exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column));
    }
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    void prepare(Bad bad, const QString &table, const QString &column)
    {
        const QString date = fx->dir() + QStringLiteral("/date");
        switch (bad) {
        case Bad::NoFolder:
            QVERIFY(QDir(date).removeRecursively());
            break;
        case Bad::NoFile:
            QVERIFY(QFile::remove(fx->path()));
            break;
        case Bad::FolderIsAFile:
            QVERIFY(QDir(date).removeRecursively());
            writeFile(date, "date");
            break;
        case Bad::FileIsAFolder:
            QVERIFY(QFile::remove(fx->path()));
            QVERIFY(QDir(date).mkdir(QStringLiteral("W.mdb")));
            break;
        case Bad::Empty:
            writeFile(fx->path(), {});
            break;
        case Bad::RandomBytes: {
            QByteArray bytes(64 * 1024, Qt::Uninitialized);
            QRandomGenerator random(20070331);
            random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
            writeFile(fx->path(), bytes);
            break;
        }
        case Bad::Text:
            writeFile(fx->path(), "诗海拾贝的数据\r\n不在这里。\r\n");
            break;
        case Bad::Truncated: {
            fill();
            QFile f(fx->path());
            QVERIFY(f.resize(2 * 4096));
            break;
        }
        case Bad::GarbageAfterHeader: {
            fill();
            QFile f(fx->path());
            QVERIFY(f.open(QIODevice::ReadWrite));
            const qint64 size = f.size();
            QByteArray garbage(int(size - 4096), '\xA5');
            f.seek(4096);
            f.write(garbage);
            break;
        }
        case Bad::NoTable:
            fx->exec(QStringLiteral("DROP TABLE %1").arg(table));
            break;
        case Bad::NoColumn:
            dropColumn(table, column);
            break;
        case Bad::Locked:
            shell = std::make_unique<Shell>(fx->path());
            QCOMPARE(shell->run(QStringLiteral("BEGIN EXCLUSIVE;")), QStringList());
            break;
        }
    }
    QByteArray pathHash() const
    {
        return QFileInfo(fx->path()).isFile() ? fileHash(fx->path()) : QByteArray();
    }

    // Every page action once, as a user might try them, answering every box.
    void useEveryPage(TW &w, ScriptedDialogs &dialogs)
    {
        auto *pages = w.findChild<QTabWidget *>(QStringLiteral("W_PageControl"));
        auto click = [&](const char *name) {
            QTest::mouseClick(w.findChild<QToolButton *>(QString::fromLatin1(name)), Qt::LeftButton);
        };
        auto box = [&](const char *name) { return w.findChild<QComboBox *>(QString::fromLatin1(name)); };
        auto type = [](QWidget *target, const QString &text) {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(target, &commit);
        };
        box("ComboBox1")->setCurrentIndex(0);
        box("ComboBox3")->setCurrentIndex(1);
        click("Edit_ok_SpeedButton");
        type(w.findChild<QTextEdit *>(QStringLiteral("Edit_DBRichEdit")), QStringLiteral("一句"));
        click("Edit_save_SpeedButton");

        pages->setCurrentIndex(1);
        box("ComboBox4")->setCurrentIndex(0);
        click("SpeedButton2");
        box("ComboBox6")->setCurrentIndex(2);
        click("SpeedButton2");

        pages->setCurrentIndex(2);
        type(w.findChild<QLineEdit *>(QStringLiteral("Think_Edit")), QStringLiteral("春"));
        click("Think_SpeedButton");

        pages->setCurrentIndex(3);
        click("next_SpeedButton");
        type(w.findChild<QLineEdit *>(QStringLiteral("zz_DBEdit")), QStringLiteral("杜甫"));
        click("ok_SpeedButton");
        click("add_SpeedButton");
        type(w.findChild<QLineEdit *>(QStringLiteral("bt_DBEdit")), QStringLiteral("新作"));
        click("ok_SpeedButton");
        box("Show_ComboBox")->setCurrentIndex(4);
        dialogs.answer = true;
        click("del_SpeedButton");
        pages->setCurrentIndex(4);
        if (!w.close()) {
            for (Query *q : w.database().queries())
                q->cancel();
            QVERIFY(w.close());
        }
    }

private slots:
    void initTestCase() { TW::setUpApplication(); }
    void init() { fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        shell.reset();
        fx.reset();
    }

    void startUpStopsWithTheEngineMessage_data()
    {
        QTest::addColumn<Bad>("bad");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("message");
        QTest::newRow("no date folder") << Bad::NoFolder << QString() << QString() << cannotOpen;
        QTest::newRow("no file") << Bad::NoFile << QString() << QString() << cannotOpen;
        QTest::newRow("date is a file") << Bad::FolderIsAFile << QString() << QString() << cannotOpen;
        QTest::newRow("W.mdb is a folder") << Bad::FileIsAFolder << QString() << QString() << cannotOpen;
        QTest::newRow("empty file") << Bad::Empty << QString() << QString()
                                    << QStringLiteral("no such table: 平舌音");
        QTest::newRow("random bytes")
            << Bad::RandomBytes << QString() << QString() << QStringLiteral("file is not a database");
        QTest::newRow("a text file") << Bad::Text << QString() << QString()
                                     << QStringLiteral("file is not a database");
        QTest::newRow("cut short") << Bad::Truncated << QString() << QString()
                                   << QStringLiteral("database disk image is malformed");
        QTest::newRow("garbage after the first page") << Bad::GarbageAfterHeader << QString() << QString()
                                                      << QStringLiteral("database disk image is malformed");
        for (const QString &t : {tablePsy, tableJsy, tableWorks, tableWords, tableIdioms})
            QTest::addRow("no table %s", qPrintable(t))
                << Bad::NoTable << t << QString() << QStringLiteral("no such table: ") + t;
        // The columns that the start-up queries name.
        const QList<std::pair<QString, QString>> named = {{tablePsy, colCommon},  {tableJsy, colCommon},
                                                          {tableWorks, colTitle}, {tableWorks, colCategory},
                                                          {tableWorks, colDate},  {tableIdioms, colIdiom}};
        for (const auto &[t, c] : named)
            QTest::addRow("no column %s.%s", qPrintable(t), qPrintable(c))
                << Bad::NoColumn << t << c << QStringLiteral("no such column: ") + c;
        QTest::newRow("locked by another process")
            << Bad::Locked << QString() << QString() << QStringLiteral("database is locked");
    }
    void startUpStopsWithTheEngineMessage()
    {
        QFETCH(Bad, bad);
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, message);
        prepare(bad, table, column);
        const QByteArray before = pathHash();

        // The window itself.
        try {
            fx->open();
            QFAIL("the window must not be built");
        } catch (const std::runtime_error &e) {
            QCOMPARE(QString::fromUtf8(e.what()), message);
        }
        // The program: one error box with the message, titled with the program's name, then status 1.
        const ProgramRun run = runProgram(fx->dir());
        QVERIFY2(run.cleanExit(1), qPrintable(run.diagnostics));
        QCOMPARE(run.boxes.size(), 1);
        QCOMPARE(run.boxes[0].value(QStringLiteral("box")).toString(), message);
        QCOMPARE(run.boxes[0].value(QStringLiteral("title")).toString(), QStringLiteral("诗海拾贝"));
        QCOMPARE(run.boxes[0].value(QStringLiteral("icon")).toInt(), 3); // QMessageBox::Critical
        QCOMPARE(pathHash(), before);
        QVERIFY(!QFileInfo::exists(fx->path() + QStringLiteral("-journal")));
    }

    // A column that only later actions use: the program opens, each action that needs the column
    // reports it, nothing crashes and the file stays sound.
    void missingColumnIsReportedByTheActionsThatNeedIt_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        const QList<std::pair<QString, QStringList>> columns = {
            {tablePsy, {colFinal, colSyllable, colTone, colRare}},
            {tableJsy, {colFinal, colSyllable, colTone, colRare}},
            {tableWorks, {colMark, colCount, colAuthor, colSource, colUrl, colRemarks, colContent}},
            {tableWords, {colWord, colMeaning}},
            {tableIdioms, {colMeaning}}};
        for (const auto &[t, cs] : columns)
            for (const QString &c : cs)
                QTest::addRow("%s.%s", qPrintable(t), qPrintable(c)) << t << c;
    }
    void missingColumnIsReportedByTheActionsThatNeedIt()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        fx->insert(tableWorks, {colTitle, colCategory, colDate},
                   {QStringLiteral("秋兴"), QStringLiteral("甲类"), QStringLiteral("2007-03-01")});
        fx->insert(tableWorks, {colTitle, colCategory, colDate},
                   {QStringLiteral("春望"), QStringLiteral("甲类"), QStringLiteral("2006-05-01")});
        fx->insert(tableWords, {colWord}, {QStringLiteral("春风")});
        dropColumn(table, column);
        useEveryPage(*fx->open(), *fx->dialogs);
        for (const QString &error : fx->dialogs->errors())
            QVERIFY2(error.contains(column), qPrintable(error));
        fx->drop();
        QCOMPARE(integrityCheck(fx->path()), QStringLiteral("ok"));
        QCOMPARE(fx->count(tableWorks) >= 3, true);
    }

    // The program over such a file shows the window, reports what the show needs, and closes.
    void programRunsWithoutAColumnItOnlyCounts()
    {
        fx->insert(tableWorks, {colTitle, colCategory, colDate},
                   {QStringLiteral("秋兴"), QStringLiteral("甲类"), QStringLiteral("2007-03-01")});
        dropColumn(tableWorks, colCount);
        const QByteArray before = fileHash(fx->path());
        const ProgramRun run = runProgram(fx->dir(), Run::CloseWhenShown);
        QVERIFY2(run.cleanExit(0), qPrintable(run.diagnostics));
        QCOMPARE(run.boxes.size(), 1);
        QCOMPARE(run.boxes[0].value(QStringLiteral("box")).toString(),
                 QStringLiteral("Show_ADOQuery: Field '数量' not found"));
        QCOMPARE(run.closes, QList<bool>{true});
        QCOMPARE(fileHash(fx->path()), before);
    }
};

SHIHAI_TEST_MAIN(TestBadFiles)
#include "test_badfiles.moc"
