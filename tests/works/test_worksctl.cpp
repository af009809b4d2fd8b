// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/schema.h"
#include "tests/support/dbfixture.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>

using namespace schema;
using namespace Qt::StringLiterals;

// shihai-works as a script runs it, on a real file: what each command prints and writes, and its
// exit status (0 done, 1 nothing to list or export or duplicates left out, 2 an error).
class TestWorksCtl : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    struct Run {
        int status;
        QString out;
        QString err;
    };
    Run run(QStringList arguments, const QByteArray &input = {})
    {
        QProcess p;
        p.setWorkingDirectory(fx->dir());
        // As under a root shell or a CI job: no session's runtime folder.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"XDG_RUNTIME_DIR"_s);
        p.setProcessEnvironment(environment);
        p.start(QStringLiteral(SHIHAI_WORKS), arguments);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(60000))
            qFatal("shihai-works did not finish");
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QString file(const QString &name, const QByteArray &bytes = {})
    {
        const QString path = fx->dir() + u'/' + name;
        QFile f(path);
        if (!bytes.isNull()) {
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
        } else if (f.open(QIODevice::ReadOnly)) {
            return QString::fromUtf8(f.readAll());
        }
        return path;
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->insert(tableWorks, {colTitle, colCategory, colDate, colContent},
                   {u"晚"_s, u"乙类"_s, u"2022-01-01"_s, u"晚的诗"_s});
        fx->insert(tableWorks, {colTitle, colCategory, colDate, colContent},
                   {u"早\t题"_s, u"乙类"_s, u"2020-01-01"_s, u"早的诗\n第二句"_s});
        fx->insert(tableWorks, {colTitle, colCategory, colDate, colContent},
                   {u"甲一"_s, u"甲类"_s, u"2021-01-01"_s, u"甲的诗"_s});
    }
    void cleanup() { fx.reset(); }

    void listsAndExports()
    {
        Run r = run({u"list"_s});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out,
                 u"甲类\t2021-01-01\t1\t甲一\n乙类\t2022-01-01\t1\t晚\n乙类\t2020-01-01\t2\t早 题\n"_s);
        QCOMPARE(run({u"list"_s, u"--category"_s, u"丙类"_s}).status, 1);

        r = run({u"export"_s, u"--category"_s, u"乙类"_s});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, u"晚\n晚的诗\n\n早\t题\n早的诗\n第二句\n"_s);
        QCOMPARE(run({u"export"_s, u"--db"_s, fx->path(), u"全部.md"_s}).status, 0);
        QVERIFY(file(u"全部.md"_s).startsWith(u"## 甲一\n"_s));
        r = run({u"export"_s, u"--format"_s, u"pdf"_s, u"--horizontal"_s, u"全部"_s});
        QCOMPARE(r.status, 0);
        QVERIFY(file(u"全部"_s).startsWith(u"%PDF-"_s));
        QCOMPARE(r.err, u"已导出 3 篇作品到 全部\n"_s); // and no word from Qt
    }

    void importLeavesDuplicatesOutUnlessAll()
    {
        const QString poems = file(u"诗.txt"_s, "新作\n新的诗\n\n晚（重录）\n晚的诗\n");
        Run r = run({u"import"_s, u"--category"_s, u"丙类"_s, u"--dry-run"_s, poems});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, u"新\t1\t新作\n可能重复\t1\t晚（重录）\n"_s);
        QCOMPARE(fx->count(tableWorks), 4);
        r = run({u"import"_s, u"--category"_s, u"丙类"_s, poems});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(u"已导入 1 首诗到丙类"_s), qPrintable(r.err));
        QCOMPARE(fx->column("select 标题 || 标记 from 作品 where 类别='丙类'"), QStringList{u"新作§"_s});
        QCOMPARE(
            run({u"import"_s, u"--category"_s, u"丁类"_s, u"--all"_s, u"-"_s}, "甲\n一\n\n乙\n二\n").status,
            0);
        QCOMPARE(fx->count(tableWorks), 7);
    }

    void errorsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList{} << u"list、export 或 import"_s;
        QTest::newRow("unknown option")
            << QStringList{u"list"_s, u"--colour"_s} << u"不认识的选项 --colour"_s;
        QTest::newRow("option without its value")
            << QStringList{u"list"_s, u"--db"_s} << u"选项 --db 后面要有值"_s;
        QTest::newRow("unknown category")
            << QStringList{u"list"_s, u"--category"_s, u"草稿"_s} << u"不认识的类别"_s;
        QTest::newRow("unknown format")
            << QStringList{u"export"_s, u"--format"_s, u"doc"_s} << u"不认识的格式"_s;
        QTest::newRow("no database") << QStringList{u"list"_s, u"--db"_s, u"无.mdb"_s} << u"找不到作品库"_s;
        QTest::newRow("import without a category") << QStringList{u"import"_s, u"a.txt"_s} << u"--category"_s;
        QTest::newRow("an empty file")
            << QStringList{u"import"_s, u"--category"_s, u"甲类"_s, u"空.txt"_s} << u"文件是空的"_s;
        QTest::newRow("an unwritable place") << QStringList{u"export"_s, u"date/W.mdb/x.txt"_s} << u"无法"_s;
    }
    void errorsExitWithTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        file(u"空.txt"_s, "");
        const Run r = run(arguments);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(fx->count(tableWorks), 4);
    }
};

QTEST_GUILESS_MAIN(TestWorksCtl)
#include "test_worksctl.moc"
