// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/testmain.h"
#include "tools/structure/structure.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace structure;

// The structure check on a small tree it writes: circles between units, long files of the libraries,
// upward includes and the layer matrix, and what the command makes of them.
class TestStructure : public QObject {
    Q_OBJECT

    QTemporaryDir tree;

    void write(const QString &path, const QStringList &includes, int extraLines = 0)
    {
        QDir(tree.path()).mkpath(QFileInfo(path).path());
        QFile f(tree.filePath(path));
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (const QString &i : includes)
            f.write("#include \"" + i.toUtf8() + "\"\n");
        for (int n = 0; n < extraLines; ++n)
            f.write("// line\n");
    }

private slots:
    void initTestCase()
    {
        // db/a and db/b include each other through a header and a source; db/self is one unit.
        write(QStringLiteral("db/a.h"), {QStringLiteral("db/b.h")});
        write(QStringLiteral("db/b.h"), {});
        write(QStringLiteral("db/b.cpp"), {QStringLiteral("db/b.h"), QStringLiteral("db/a.h")});
        write(QStringLiteral("db/self.h"), {});
        write(QStringLiteral("db/self.cpp"), {QStringLiteral("db/self.h"), QStringLiteral("self.moc")});
        write(QStringLiteral("db/long.cpp"), {}, 451);
        write(QStringLiteral("db/edge.cpp"), {}, 450);
        // prosody below pages: one include down, one up.
        write(QStringLiteral("pages/w.h"), {QStringLiteral("prosody/p.h")});
        write(QStringLiteral("prosody/p.h"), {QStringLiteral("pages/w.h")});
        // A circle among tests counts only when asked; build folders never.
        write(QStringLiteral("tests/t.h"), {QStringLiteral("u.h")});
        write(QStringLiteral("tests/u.h"), {QStringLiteral("tests/t.h")});
        write(QStringLiteral("build/x.h"), {QStringLiteral("build/y.h")});
        write(QStringLiteral("build/y.h"), {QStringLiteral("build/x.h")});
    }

    void findsCirclesLongFilesAndUpwardIncludes()
    {
        const Report report = analyse(tree.path(), Options());
        QCOMPARE(report.circles.size(), 2);
        const Circle &db = report.circles[0];
        QCOMPARE(db.units, (QStringList{QStringLiteral("db/a"), QStringLiteral("db/b")}));
        QCOMPARE(db.includes.size(), 2);
        QCOMPARE(db.includes[0].file, QStringLiteral("db/a.h"));
        QCOMPARE(db.includes[1].file, QStringLiteral("db/b.cpp"));
        QCOMPARE(db.includes[1].line, 2);
        QCOMPARE(report.circles[1].units,
                 (QStringList{QStringLiteral("pages/w"), QStringLiteral("prosody/p")}));

        QCOMPARE(report.longFiles.size(), 1);
        QCOMPARE(report.longFiles[0].file, QStringLiteral("db/long.cpp"));
        QCOMPARE(report.longFiles[0].lines, 451);
        QCOMPARE(report.upward.size(), 1);
        QCOMPARE(report.upward[0].file, QStringLiteral("prosody/p.h"));

        QCOMPARE(report.folders, (QStringList{QStringLiteral("db"), QStringLiteral("prosody"),
                                              QStringLiteral("pages"), QStringLiteral("tests")}));
        QCOMPARE(report.layers[QStringLiteral("db")][QStringLiteral("db")], 4);
        QCOMPARE(report.layers[QStringLiteral("pages")][QStringLiteral("prosody")], 1);
        QCOMPARE(report.layers[QStringLiteral("tests")][QStringLiteral("tests")], 2);
        QVERIFY(!report.clean());

        Options withTests;
        withTests.withTests = true;
        const Report all = analyse(tree.path(), withTests);
        QCOMPARE(all.circles.size(), 3);
        QCOMPARE(all.circles[2].units, (QStringList{QStringLiteral("tests/t"), QStringLiteral("tests/u")}));
    }

    // The builders' rooms in tools/ are layers above the libraries, lowest first, and the commands
    // above them; every file of code counts for length, tests and benchmarks do not.
    void toolRoomsAreLayersAndCountForLength()
    {
        QTemporaryDir tools;
        const auto put = [&](const QString &path, const QStringList &includes, int extraLines = 0) {
            QDir(tools.path()).mkpath(QFileInfo(path).path());
            QFile f(tools.filePath(path));
            QVERIFY(f.open(QIODevice::WriteOnly));
            for (const QString &i : includes)
                f.write("#include \"" + i.toUtf8() + "\"\n");
            f.write(QByteArray("// line\n").repeated(extraLines));
        };
        put(QStringLiteral("db/x.cpp"), {QStringLiteral("tools/common/c.h")});
        put(QStringLiteral("tools/common/c.h"), {});
        put(QStringLiteral("tools/common/c.cpp"), {QStringLiteral("tools/dictionary/d.h")});
        put(QStringLiteral("tools/dictionary/d.h"), {QStringLiteral("tools/common/c.h")});
        put(QStringLiteral("tools/dictionary/long.cpp"), {}, 451);
        put(QStringLiteral("tools/rhymebooks/r.h"), {QStringLiteral("tools/evaluate/e.h")});
        put(QStringLiteral("tools/rhymebooks/cipubook/p.cpp"), {QStringLiteral("tools/rhymebooks/r.h")});
        put(QStringLiteral("tools/classics/k.cpp"),
            {QStringLiteral("tools/rhymebooks/r.h"), QStringLiteral("db/x.h")});
        put(QStringLiteral("db/x.h"), {});
        put(QStringLiteral("tools/evaluate/e.h"), {QStringLiteral("tools/common/c.h")});
        put(QStringLiteral("tools/classics/k.h"), {});
        put(QStringLiteral("tests/big.cpp"), {QStringLiteral("tools/evaluate/e.h")}, 500);
        put(QStringLiteral("bench/big.cpp"), {}, 500);

        const Report report = analyse(tools.path(), Options());
        QStringList upward;
        for (const Include &i : report.upward)
            upward << i.file + u'>' + i.target;
        QCOMPARE(upward, (QStringList{QStringLiteral("db/x.cpp>tools/common/c.h"),
                                      QStringLiteral("tools/common/c.cpp>tools/dictionary/d.h"),
                                      QStringLiteral("tools/rhymebooks/r.h>tools/evaluate/e.h")}));
        QCOMPARE(report.longFiles.size(), 1);
        QCOMPARE(report.longFiles[0].file, QStringLiteral("tools/dictionary/long.cpp"));
        QCOMPARE(report.folders,
                 (QStringList{QStringLiteral("db"), QStringLiteral("tools/common"),
                              QStringLiteral("tools/dictionary"), QStringLiteral("tools/rhymebooks"),
                              QStringLiteral("tools/classics"), QStringLiteral("tools/evaluate"),
                              QStringLiteral("tests"), QStringLiteral("bench")}));
        // A folder inside a room is of the room.
        QCOMPARE(report.layers[QStringLiteral("tools/rhymebooks")][QStringLiteral("tools/rhymebooks")], 1);
        // The common room and the dictionary include each other through their units: a circle.
        QCOMPARE(report.circles.size(), 1);
        QCOMPARE(report.circles[0].units,
                 (QStringList{QStringLiteral("tools/common/c"), QStringLiteral("tools/dictionary/d")}));
    }

    // Known exceptions are still shown but let the check pass; a known file no longer long is named.
    void knownExceptionsPassButAreShown()
    {
        Options options;
        options.knownLong = {QStringLiteral("db/long.cpp"), QStringLiteral("db/edge.cpp")};
        options.knownCircles = {{QStringLiteral("db/b"), QStringLiteral("db/a")}};
        const Report report = analyse(tree.path(), options);
        QCOMPARE(report.circles.size(), 2);
        QCOMPARE(report.longFiles.size(), 1);
        QVERIFY(report.circles[0].known);
        QVERIFY(!report.circles[1].known);
        QVERIFY(report.longFiles[0].known);
        QCOMPARE(report.noLongerLong, QStringList{QStringLiteral("db/edge.cpp")});
        const QString text = describe(report, options);
        QVERIFY(text.contains(QStringLiteral("db/a <-> db/b (known, allowed for now)")));
        QVERIFY(text.contains(QStringLiteral("    db/b.cpp:2 includes db/a.h")));
        QVERIFY(text.contains(QStringLiteral("db/edge.cpp: no longer over the limit")));
    }

    // The command exits 1 while an unknown circle, long file or upward include is left, 0 without.
    void commandExitsOneUntilEveryFindingIsKnown()
    {
        const auto run = [&](const QStringList &options) {
            QProcess p;
            p.start(QStringLiteral(SHIHAI_STRUCTURE_EXE), QStringList{tree.path()} + options);
            return p.waitForFinished(30000) ? p.exitCode() : -1;
        };
        QCOMPARE(run({}), 1);
        QDir(tree.path()).remove(QStringLiteral("prosody/p.h"));
        QCOMPARE(run({QStringLiteral("--known-long"), QStringLiteral("db/long.cpp")}), 1);
        QCOMPARE(run({QStringLiteral("--known-long"), QStringLiteral("db/long.cpp"),
                      QStringLiteral("--known-circle"), QStringLiteral("db/a,db/b")}),
                 0);
        QCOMPARE(run({QStringLiteral("--limit"), QStringLiteral("many")}), 2);
    }
};

SHIHAI_TEST_MAIN(TestStructure)
#include "test_structure.moc"
