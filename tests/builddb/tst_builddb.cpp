// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite.h"
#include "tests/builddb/fixtures.h"
#include "tests/testmain.h"
#include "tools/common/builderror.h"
#include "tools/dictionary/builder.h"
#include "tools/dictionary/pinyin.h"
#include "tools/dictionary/works.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace builddb;
using namespace Qt::StringLiterals;

namespace {

// Every row of a query, each column as text ("NULL" for a null).
QList<QStringList> rows(const QString &path, const QString &sql)
{
    QList<QStringList> out;
    try {
        SqliteFile file(path, SqliteFile::Mode::ReadOnly);
        Statement st(file, sql.toUtf8());
        while (st.step()) {
            QStringList row;
            for (int i = 0; i < st.columnCount(); ++i)
                row << (st.isNull(i) ? u"NULL"_s : st.text(i));
            out << row;
        }
    } catch (const DbError &e) {
        out << QStringList{u"SQL error: "_s + e.message()};
    }
    return out;
}

QString value(const QString &path, const QString &sql)
{
    return rows(path, sql).value(0).value(0);
}

} // namespace

class BuildDbTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_sources;

    BuildOptions fixtureOptions(const QString &output) const
    {
        BuildOptions options;
        options.output = output;
        options.sources = {m_sources.path(), m_sources.path() + u"/unihan"_s};
        options.date = QDate(2024, 3, 5);
        return options;
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"node"_s).isEmpty())
            QSKIP("node is needed to read the idiom list");
        fixtures::writeSources(m_sources.path());
    }

    void buildsEveryTableFromTheSources()
    {
        QTemporaryDir out;
        const QString db = out.filePath(u"date/W.mdb"_s);
        QString log;
        QTextStream stream(&log);
        const BuildSummary summary = buildDatabase(fixtureOptions(db), stream);

        QCOMPARE(QDir(out.filePath(u"date"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"W.mdb"_s});
        QCOMPARE(rows(db, u"SELECT 韵母, 音节, 声调, 简易, 繁杂 FROM 平舌音"_s),
                 (QList<QStringList>{{u"a"_s, u"ba"_s, u"阴平"_s, u"八"_s, u""_s},
                                     {u"ü"_s, u"lü"_s, u"上声"_s, u"吕"_s, u""_s}}));
        QCOMPARE(rows(db, u"SELECT 韵母, 音节, 声调, 简易, 繁杂 FROM 卷舌音"_s),
                 (QList<QStringList>{{u"ang"_s, u"chang"_s, u"阴平"_s, u""_s, u"鲳"_s},
                                     {u"ang"_s, u"chang"_s, u"阳平"_s, u"场"_s, u""_s},
                                     {u"ang"_s, u"chang"_s, u"上声"_s, u"场"_s, u""_s}}));
        QCOMPARE(rows(db, u"SELECT 成语, 含义 FROM 成语"_s),
                 (QList<QStringList>{{u"八面来风"_s, u"形容消息灵通。后泛指各处。"_s}}));
        QCOMPARE(rows(db, u"SELECT 词组, 含义 FROM 词组"_s),
                 (QList<QStringList>{{u"八方"_s, u"四面八方。"_s}, {u"场地"_s, u""_s}}));

        // The draft, and the works with their marks, the build day and integer counts.
        QCOMPARE(rows(db, u"SELECT 类别, 内容 FROM 作品 WHERE 标题 = '草稿'"_s),
                 (QList<QStringList>{{u"草稿"_s, u""_s}}));
        QCOMPARE(rows(db, u"SELECT 类别, 标记, count(*), sum(数量) FROM 作品 WHERE 类别 <> '草稿' "
                          "GROUP BY 类别 ORDER BY 类别"_s),
                 (QList<QStringList>{{u"丁类"_s, markOf(u"丁类"_s), u"1"_s, u"1"_s},
                                     {u"丙类"_s, markOf(u"丙类"_s), u"4"_s, u"4"_s},
                                     {u"乙类"_s, markOf(u"乙类"_s), u"4"_s, u"4"_s},
                                     {u"戊类"_s, markOf(u"戊类"_s), u"4"_s, u"4"_s},
                                     {u"甲类"_s, markOf(u"甲类"_s), u"2"_s, u"4"_s}}));
        QCOMPARE(
            rows(db,
                 u"SELECT DISTINCT 日期, typeof(日期), typeof(数量), 网址 FROM 作品 WHERE 类别 <> '草稿'"_s),
            (QList<QStringList>{{u"2024-03-05"_s, u"text"_s, u"integer"_s, u""_s}}));
        QCOMPARE(value(db, u"SELECT 内容 FROM 作品 WHERE 标题 = '鹿鸣'"_s), u"呦呦鹿鸣，食野之草。"_s);

        qsizetype indexes = 0;
        for (const QString &sql : schema::createStatements())
            indexes += sql.startsWith(u"CREATE INDEX"_s);
        QCOMPARE(value(db, u"SELECT count(*) FROM sqlite_master WHERE type = 'index'"_s),
                 QString::number(indexes));

        QCOMPARE(summary.plainRows, 2);
        QCOMPARE(summary.retroflexRows, 3);
        QCOMPARE(summary.words, 2);
        for (const QString &stage : {u"Unihan"_s, u"rhyme tables"_s, u"words and idioms"_s,
                                     u"classic works"_s, u"database written"_s, u"Summary"_s})
            QVERIFY2(log.contains(stage), qPrintable(stage));
    }

    void failedBuildLeavesNoFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QByteArray>("content"); // empty: the file is removed
        QTest::newRow("missing word frequencies")
            << u"node_modules/@pinyin-pro/data/json/complete.json"_s << QByteArray();
        QTest::newRow("malformed explanation")
            << u"node_modules/cnchar-data/explanation/八.json"_s << QByteArray(R"({"八方": )");
        QTest::newRow("meaning not a text")
            << u"node_modules/cnchar-data/explanation/八.json"_s << QByteArray(R"({"八方": 8})");
        QTest::newRow("missing Unihan readings") << u"unihan/Unihan_Readings.txt.bz2"_s << QByteArray();
        QTest::newRow("broken idiom module")
            << u"node_modules/cnchar-idiom/package.json"_s << QByteArray(R"({"main":"nowhere.js"})");
        QTest::newRow("malformed 元曲")
            << u"node_modules/chinese-poetry/dist/yuanqu/yuanqu.json"_s << QByteArray(R"({"not": "a list"})");
    }

    void failedBuildLeavesNoFile()
    {
        QFETCH(QString, source);
        QFETCH(QByteArray, content);
        QTemporaryDir broken;
        fixtures::writeSources(broken.path());
        const QString path = broken.filePath(source);
        if (content.isEmpty())
            QFile::remove(path);
        else
            fixtures::writeFile(path, content);

        QTemporaryDir out;
        BuildOptions options = fixtureOptions(out.filePath(u"W.mdb"_s));
        options.sources = {broken.path(), broken.path() + u"/unihan"_s};
        QString log;
        QTextStream stream(&log);
        try {
            buildDatabase(options, stream);
            QFAIL("the build succeeded");
        } catch (const BuildError &e) {
            const QString named = source.endsWith(u"package.json"_s) ? QFileInfo(path).path() : path;
            QCOMPARE(QDir::cleanPath(e.file()), QDir::cleanPath(named));
        }
        QVERIFY(QDir(out.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void keepsAnExistingDatabase()
    {
        QTemporaryDir out;
        const QString db = out.filePath(u"W.mdb"_s);
        fixtures::writeFile(db, "the user's works");
        QString log;
        QTextStream stream(&log);
        QVERIFY_THROWS_EXCEPTION(BuildError, buildDatabase(fixtureOptions(db), stream));
        QFile file(db);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("the user's works"));
    }

    void commandLineReportsAndFails()
    {
        QTemporaryDir out;
        const QString db = out.filePath(u"W.mdb"_s);
        QProcess tool;
        tool.start(QStringLiteral(SHIHAI_BUILDDB_EXE),
                   {u"--sources"_s, m_sources.path(), u"--unihan"_s, m_sources.path() + u"/unihan"_s, db});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY(QString::fromUtf8(tool.readAllStandardOutput()).contains(u"Summary"_s));
        QVERIFY(QFile::exists(db));

        const QString other = out.filePath(u"other.mdb"_s);
        tool.start(QStringLiteral(SHIHAI_BUILDDB_EXE),
                   {u"--sources"_s, out.path(), u"--unihan"_s, out.path(), other});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains(out.path() + u"/Unihan_"_s));
        QVERIFY(!QFile::exists(other));
    }

    void buildsTheRealDatabase()
    {
        const QString root = qEnvironmentVariable("SHIHAI_SOURCE_DIR");
        BuildOptions options;
        if (!root.isEmpty())
            options.sources.root = root;
        if (!QFile::exists(options.sources.nodeModule(u"chinese-poetry/dist/yuanqu/yuanqu.json"_s)) ||
            !QFile::exists(options.sources.unihanFile(u"Unihan_Readings.txt.bz2"_s)))
            QSKIP("the data packages are not installed");
        QTemporaryDir out;
        options.output = out.filePath(u"W.mdb"_s);
        QString log;
        QTextStream stream(&log);
        QElapsedTimer clock;
        clock.start();
        const BuildSummary summary = buildDatabase(options, stream);
        qInfo("full build: %.1f s, %.1f MB", clock.elapsed() / 1000.0, summary.fileSize / 1e6);
        QVERIFY(clock.elapsed() < 60000);
        const QString &db = options.output;

        const auto count = [&](const QString &table) {
            return value(db, u"SELECT count(*) FROM "_s + table).toInt();
        };
        QVERIFY2(count(schema::tablePsy) > 1000 && count(schema::tablePsy) < 1100, qPrintable(log));
        QVERIFY(count(schema::tableJsy) > 190 && count(schema::tableJsy) < 230);
        QVERIFY(count(schema::tableIdioms) > 30000 && count(schema::tableIdioms) < 31500);
        QVERIFY(count(schema::tableWords) > 230000 && count(schema::tableWords) < 280000);
        QVERIFY(summary.commonChars > 3500 && summary.commonChars < 3900);
        QVERIFY(summary.rareChars > 4800 && summary.rareChars < 5200);
        for (const Category &c : categories())
            QVERIFY2(summary.worksByCategory.value(c.name) > 200, qPrintable(c.name));

        const QList<QStringList> used =
            rows(db, u"SELECT DISTINCT 韵母 FROM 平舌音 UNION SELECT DISTINCT 韵母 FROM 卷舌音"_s);
        QCOMPARE(used.size(), 30);
        for (const QStringList &final : used)
            QVERIFY(finals().contains(final.first()));

        // A handful of rows a poet would look up.
        QVERIFY(
            value(db, u"SELECT 简易 FROM 卷舌音 WHERE 音节 = 'chang' AND 声调 = '阳平'"_s).contains(u"场"_s));
        QVERIFY(
            value(db, u"SELECT 简易 FROM 平舌音 WHERE 音节 = 'lü' AND 声调 = '去声'"_s).startsWith(u"律"_s) ||
            value(db, u"SELECT 简易 FROM 平舌音 WHERE 音节 = 'lü' AND 声调 = '去声'"_s).contains(u"绿"_s));
        QCOMPARE(value(db, u"SELECT 韵母 FROM 平舌音 WHERE 音节 = 'jun' LIMIT 1"_s), u"in"_s);
        QCOMPARE(value(db, u"SELECT 韵母 FROM 平舌音 WHERE 音节 = 'er' LIMIT 1"_s), u"i"_s);
        QCOMPARE(value(db, u"SELECT 数量 || 作者 || 标记 FROM 作品 WHERE 标题 = '秋兴八首'"_s),
                 u"8杜甫『』"_s);
        QVERIFY(value(db, u"SELECT 含义 FROM 成语 WHERE 成语 = '春风得意'"_s).contains(u"。后"_s));
        QCOMPARE(value(db, u"SELECT count(*) FROM 词组 WHERE 词组 = '春风' AND 含义 = ''"_s), u"1"_s);
        QCOMPARE(value(db, u"SELECT count(*) FROM 词组 WHERE 含义 GLOB '*[◇⊥∠◆●『〓∮∥≮≤♂♀﹐﹑﹕﹔■□]*'"_s),
                 u"0"_s);
        QCOMPARE(value(db, u"SELECT count(*) FROM 作品 WHERE 内容 GLOB '*[風雲鄉歸]*'"_s), u"0"_s);
    }
};

SHIHAI_TEST_MAIN(BuildDbTest)
#include "tst_builddb.moc"
