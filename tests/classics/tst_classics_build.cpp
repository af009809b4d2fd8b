// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/sqlite.h"
#include "prosody/core/referencefile.h"
#include "tests/builddb/fixtures.h"
#include "tests/classics/corpus.h"
#include "tests/testmain.h"
#include "tools/classics/classics.h"
#include "tools/common/builderror.h"

#include <QDir>
#include <QTemporaryDir>

using namespace builddb;
using namespace Qt::StringLiterals;
using fixtures::query;

namespace {

const ClassicPoem *find(const QList<ClassicPoem> &poems, const QString &title, const QString &author)
{
    for (const ClassicPoem &p : poems)
        if (p.title == title && p.author == author)
            return &p;
    return nullptr;
}

// "天2 船2 眠1" for a group of a book.
QString countsOf(const RhymeWordTally &tally, prosody::Book book, const QString &group)
{
    QStringList out;
    for (const RhymeWordCount &c : tally.counts)
        if (c.book == book && c.group == group)
            out << c.hanzi + QString::number(c.count);
    return out.join(u' ');
}

} // namespace

class ClassicsBuildTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_books;
    std::unique_ptr<Converter> m_t2s;

    QString dist() const { return m_dir.filePath(u"node_modules/chinese-poetry/dist"_s); }

    ClassicsOptions options(const QString &output) const
    {
        ClassicsOptions o;
        o.output = output;
        o.rhymeBooks = m_books;
        o.sources.root = m_dir.path();
        return o;
    }

private slots:
    void initTestCase()
    {
        corpus::writePoetry(m_dir.path());
        m_books = m_dir.filePath(u"books/rhymebooks.db"_s);
        corpus::writeBooks(m_books);
        m_t2s = std::make_unique<Converter>();
    }

    void readsEveryCollectionSimplifiedAndMergesRepeats()
    {
        CorpusReport report;
        const QList<ClassicPoem> poems = readClassics(dist(), *m_t2s, report);
        QCOMPARE(report.read.value(u"全唐诗"_s), 7);
        QCOMPARE(report.read.value(u"宋词"_s), 5);
        QCOMPARE(report.read.value(u"唐诗三百首"_s) + report.read.value(u"千家诗"_s) +
                     report.read.value(u"宋词三百首"_s),
                 3);
        QCOMPARE(report.merged, 3); // 江楼 and 浣溪沙 of the primers, 城头 under a heading
        QCOMPARE(report.withoutText, 2);
        QCOMPARE(poems.size(), 10);

        // The primer's text is kept (天, not the 山 of 全唐诗), in simplified characters.
        const ClassicPoem *jianglou = find(poems, u"江楼"_s, u"张九"_s);
        QVERIFY(jianglou);
        QCOMPARE(jianglou->sources, (QStringList{u"唐诗三百首"_s, u"全唐诗"_s}));
        QCOMPARE(jianglou->lines,
                 (QStringList{u"高楼望远天，落日照江船。"_s, u"独坐听风雨，孤灯伴客眠。"_s}));
        QCOMPARE(find(poems, u"城头"_s, u"王五"_s)->sources, QStringList{u"全唐诗"_s});
        QVERIFY(find(poems, u"城头"_s, u"赵六"_s)); // another poet's poem stays apart
        QCOMPARE(find(poems, u"浣溪沙"_s, u"周七"_s)->sources, (QStringList{u"宋词三百首"_s, u"宋词"_s}));
        QCOMPARE(find(poems, u"浣溪沙"_s, u"周七"_s)->form, u"词"_s);
        QCOMPARE(find(poems, u"春日"_s, u"程颢"_s)->dynasty, u"宋"_s);

        // Notes leave the text, even when they run over a line; marks of restored characters go.
        const ClassicPoem *yebo = find(poems, u"夜泊"_s, u"李十"_s);
        QCOMPARE(yebo->lines, QStringList{u"夜雨入池塘，孤舟泊野航。何人吹笛起，此去雁成行。"_s});
        QCOMPARE(yebo->notes, QStringList{u"一作「孤帆泊野塘」"_s});

        // Two 词 of one poet opening alike stay two; a preface becomes a note.
        QStringList prefaces;
        for (const ClassicPoem &p : poems)
            if (p.title == u"忆江南")
                prefaces << p.notes.join(u'/');
        QCOMPARE(prefaces, (QStringList{u"序：作于湖上。"_s, QString()}));
    }

    void showsThePrimersFirstThenEachPartByDynasty()
    {
        CorpusReport report;
        QList<ClassicPoem> poems = readClassics(dist(), *m_t2s, report);
        QCOMPARE(orderForSearch(poems), (QStringList{u"唐"_s, u"宋"_s}));
        QStringList titles;
        for (const ClassicPoem &p : poems)
            titles << p.title;
        // 送别 is tagged 唐诗三百首 in 全唐诗: a primer's poem of 唐, ahead of 千家诗's poem of 宋.
        QCOMPARE(titles, (QStringList{u"江楼"_s, u"送别"_s, u"春日"_s, u"浣溪沙"_s, u"城头"_s, u"城头"_s,
                                      u"夜泊"_s, u"忆江南"_s, u"忆江南"_s, u"杨柳枝"_s}));
    }

    void cleanLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("notes");
        QTest::newRow("note") << QStringList{u"山高（一作「长」）水远，"_s} << QStringList{u"山高水远，"_s}
                              << QStringList{u"一作「长」"_s};
        QTest::newRow("nested") << QStringList{u"风（甲（乙）丙）起。"_s} << QStringList{u"风起。"_s}
                                << QStringList{u"甲（乙）丙"_s};
        QTest::newRow("unbalanced") << QStringList{u"山（未完"_s} << QStringList{u"山（未完"_s}
                                    << QStringList{};
        QTest::newRow("note only") << QStringList{u"（缺）"_s, u"[月]出。"_s} << QStringList{u"月出。"_s}
                                   << QStringList{u"缺"_s};
    }

    void cleanLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, notes);
        const CleanText clean = builddb::cleanLines(lines);
        QCOMPARE(clean.lines, kept);
        QCOMPARE(clean.notes, notes);
    }

    void countsRhymeWordsOfRegulatedVerseByBookAndGroup()
    {
        const QList<QStringList> poems = {
            {u"高楼望远天，落日照江船。"_s, u"独坐听风雨，孤灯伴客眠。"_s},
            {u"城头晚角鸣，客子正宵行。"_s, u"烟起千家暗，星垂一水明。"_s},
            {u"夜雨入池塘，孤舟泊野航。"_s, u"何人吹笛起，此去雁成行。"_s},
            // More than two faults: ancient-style verse.
            {u"木木木木天，木木木木船。"_s, u"木木木木竹，木木木木眠。"_s},
            // A rhyme of 仄: ancient-style verse.
            {u"山中风雨急，林下叶声落。"_s, u"归来不见人，空山闻竹屋。"_s},
            // One fault (重 is 出韵): counted; 重 has two level groups, neither the poem's.
            {u"高楼望远天，落日照江船。"_s, u"独坐听风雨，孤灯伴客重。"_s},
            // No regulated form.
            {u"春水初生绿满塘。"_s, u"小桥西畔是谁家。"_s},
        };
        const RhymeWordTally tally = countRhymeWords(poems, prosody::loadRhymeBooks(m_books));
        QCOMPARE(tally.poems, 4);
        QCOMPARE(tally.positions, 12);
        QCOMPARE(tally.byFaults[0], 3);
        QCOMPARE(tally.byFaults[1], 1);
        QCOMPARE(tally.byFaults[2], 0);
        QCOMPARE(tally.byFaults[3] + tally.byFaults[4], 1);
        using prosody::Book;
        QCOMPARE(countsOf(tally, Book::Pingshui, u"下平一先"_s), u"天2 船2 眠1"_s);
        QCOMPARE(countsOf(tally, Book::Pingshui, u"下平八庚"_s), u"明1 行1 鸣1"_s);
        QCOMPARE(countsOf(tally, Book::Pingshui, u"下平七阳"_s), u"塘1 航1 行1"_s);
        QCOMPARE(tally.unplaced[int(Book::Pingshui)], 1);
        // 行 rhymes with 塘 and 航 in 十唐, but 中华新韵 has it in 十一庚 only; 重 is there too.
        QCOMPARE(countsOf(tally, Book::Xinyun, u"十一庚"_s), u"行2 明1 重1 鸣1"_s);
        QCOMPARE(countsOf(tally, Book::Xinyun, u"十唐"_s), u"塘1 航1"_s);
        QCOMPARE(countsOf(tally, Book::Xinyun, u"八寒"_s), u"天2 船2 眠1"_s);
        QCOMPARE(tally.unplaced[int(Book::Xinyun)], 0);
    }

    void buildsTheFileAndRebuildsItOnlyWhenOutdated()
    {
        const QString path = m_dir.filePath(u"date/classics.db"_s);
        QString out;
        QTextStream log(&out);
        const ClassicsSummary summary = buildClassicsFile(options(path), log);
        QCOMPARE(summary.poems, 10);
        QCOMPARE(summary.lines, 17);
        QCOMPARE(query(path, u"SELECT count(*) FROM 句"_s), u"17"_s);
        QCOMPARE(query(path, u"SELECT 值 FROM 概况 WHERE 项 IN ('诗', '句') ORDER BY 项"_s), u"17 10"_s);
        QCOMPARE(query(path, u"SELECT 起 || '-' || 止 || 朝代 FROM 朝代段 ORDER BY 起"_s),
                 u"1-3唐 4-6宋 7-11唐 12-17宋"_s);
        QCOMPARE(query(path, u"SELECT 出处 FROM 诗 WHERE 题 = '江楼'"_s), u"唐诗三百首 · 全唐诗"_s);
        QCOMPARE(query(path, u"SELECT 朝代 || 句数 FROM 字频 WHERE 字 = '孤' ORDER BY 朝代"_s), u"唐2 宋2"_s);
        // Only the regulated verse among the 诗 counts: 川 ends lines of a 词 shaped like a quatrain
        // and of 春日, a poem of two lines.
        QCOMPARE(
            query(path, u"SELECT 字 || 次数 FROM 韵脚 WHERE 书 = '平水韵' AND 部 = '下平八庚' ORDER BY 字"_s),
            u"明2 行2 鸣2"_s);
        QCOMPARE(query(path, u"SELECT count(*) FROM 韵脚 WHERE 字 = '川'"_s), u"0"_s);
        QVERIFY(query(path, u"SELECT 值 FROM 版本"_s).contains(u"chinese-poetry 9.9.9"_s));

        ClassicsOptions again = options(path);
        again.onlyIfOutdated = true;
        QVERIFY(buildClassicsFile(again, log).skipped);
        // New rhyme books make the rhyme words outdated.
        SqliteFile(m_books, SqliteFile::Mode::ReadWrite)
            .exec("UPDATE 版本 SET 值 = 'test 2' WHERE 键 = '数据版本'");
        QVERIFY(!buildClassicsFile(again, log).skipped);
        QVERIFY(buildClassicsFile(again, log).skipped);
        QCOMPARE(QDir(m_dir.filePath(u"date"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"classics.db"_s});
    }

    void failedBuildsLeaveNoFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"date/classics.db"_s);
        QString out;
        QTextStream log(&out);
        ClassicsOptions noBooks = options(path);
        noBooks.rhymeBooks.clear(); // rhymebooks.db beside the output: there is none
        try {
            buildClassicsFile(noBooks, log);
            QFAIL("a build without rhyme books succeeded");
        } catch (const BuildError &e) {
            QCOMPARE(e.file(), dir.filePath(u"date/rhymebooks.db"_s));
            QVERIFY2(e.reason().contains(u"--rhymebooks"_s), e.what());
        }

        // A malformed collection stops the build after the temporary file was made.
        QTemporaryDir sources;
        corpus::writePoetry(sources.path());
        QFile broken(sources.filePath(u"node_modules/chinese-poetry/dist/quantangshi/poet.tang.1000.json"_s));
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("[{\"title\": 1}]");
        broken.close();
        ClassicsOptions malformed = options(path);
        malformed.sources.root = sources.path();
        try {
            buildClassicsFile(malformed, log);
            QFAIL("a build from a malformed collection succeeded");
        } catch (const BuildError &e) {
            QVERIFY2(e.file().endsWith(u"poet.tang.1000.json"_s), e.what());
        }
        QVERIFY(QDir(dir.filePath(u"date"_s)).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

SHIHAI_TEST_MAIN(ClassicsBuildTest)
#include "tst_classics_build.moc"
