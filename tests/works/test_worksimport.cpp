// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite.h"
#include "presentation/works/exportjob.h"
#include "presentation/works/importjob.h"
#include "presentation/works/library.h"
#include "presentation/works/textimporter.h"
#include "presentation/works/textwriter.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/dbfixture.h"
#include "tests/works/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace schema;
using namespace Qt::StringLiterals;

// Works taken out of a real file and brought into one: the rows an import adds, its single
// transaction (refused half-way, cancelled, locked out), the whole library through the plain-text
// format and back, and the files an export leaves when it cannot finish (cancelled, a folder that
// cannot be written, a full disk).
class TestWorksImport : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    static QList<Poem> poems(int n)
    {
        QList<Poem> out;
        const QStringList titles = {QStringLiteral("第一首"), QStringLiteral("第二首"),
                                    QStringLiteral("第三首"), QStringLiteral("第四首")};
        for (int i = 0; i < n; ++i)
            out << Poem{titles[i], QStringLiteral("诗句%1\n又一句").arg(i)};
        return out;
    }
    static void runAll(ImportJob &job)
    {
        job.begin();
        while (job.done() < job.total())
            job.step();
    }
    int works() const { return fx->count(tableWorks); }
    static QStringList pairs(const QList<Work> &works)
    {
        QStringList out;
        for (const Work &w : works)
            out << w.title + u'\x1f' + w.text;
        std::sort(out.begin(), out.end());
        return out;
    }
    static QStringList filesIn(const QString &dir)
    {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void init() { fx = std::make_unique<Fixture>(); }
    void cleanup() { fx.reset(); }

    void anImportAddsNewWorksAndOverwritesNothing()
    {
        fx->insert(tableWorks, {colTitle, colCategory, colMark, colContent, colDate},
                   {u"旧作"_s, u"乙类"_s, u"￡"_s, u"旧的诗句"_s, u"2001-02-03"_s});
        Connection db(fx->path());
        QList<Poem> added = poems(2);
        added << Poem{QStringLiteral("像 RTF 的"), QStringLiteral("{\\rtf1 不是格式}\n第二行")};
        ImportJob job(&db, added, QStringLiteral("乙类"), QStringLiteral("诗集.txt"));
        runAll(job);
        job.commit();

        QCOMPARE(works(), 1 + 1 + 3); // the draft, the old work, the new ones
        QCOMPARE(fx->value("select 内容 || 日期 from 作品 where 标题='旧作'"), u"旧的诗句2001-02-03"_s);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(
            fx->column(
                "select distinct 类别 || 标记 || 日期 || 出处 from 作品 where 标题<>'旧作' and 类别<>'草稿'"),
            QStringList{u"乙类￡"_s + today + u"诗集.txt"_s});
        // Read back as the page shows it, in the order it lists them.
        const QList<Work> listed = library::ofCategory(&db, QStringLiteral("乙类"));
        QCOMPARE(listed.size(), 4);
        QCOMPARE(pairs(listed.mid(0, 3)), pairs({Work{added[0].title, added[0].text, {}, {}},
                                                 Work{added[1].title, added[1].text, {}, {}},
                                                 Work{added[2].title, added[2].text, {}, {}}}));
        QCOMPARE(listed.last().date, QDate(2001, 2, 3));
    }

    void anImportRefusedHalfWayAddsNothing()
    {
        fx->exec("CREATE TRIGGER refuse BEFORE INSERT ON 作品 WHEN NEW.标题 = '第三首' "
                 "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END");
        Connection db(fx->path());
        ImportJob job(&db, poems(4), QStringLiteral("丙类"), QStringLiteral("a.txt"));
        job.begin();
        job.step();
        job.step();
        QVERIFY_THROWS_EXCEPTION(DbError, job.step());
        QCOMPARE(works(), 1);
        // The connection is not left inside the transaction: the next import is kept.
        ImportJob next(&db, poems(2), QStringLiteral("丙类"), QStringLiteral("a.txt"));
        runAll(next);
        next.commit();
        QCOMPARE(works(), 3);
    }

    void aCancelledImportAddsNothing()
    {
        Connection db(fx->path());
        {
            ImportJob job(&db, poems(4), QStringLiteral("丁类"), QStringLiteral("a.txt"));
            job.begin();
            job.step();
            job.step();
            job.cancel();
            QCOMPARE(works(), 1);
            ImportJob left(&db, poems(3), QStringLiteral("丁类"), QStringLiteral("a.txt"));
            runAll(left); // and never committed
        }
        QCOMPARE(works(), 1);
    }

    void aFileAnotherProgramWritesIsRefusedBeforeAnyRow()
    {
        SqliteFile other(fx->path(), SqliteFile::Mode::ReadWrite);
        other.exec("BEGIN IMMEDIATE");
        Connection db(fx->path());
        ImportJob job(&db, poems(2), QStringLiteral("甲类"), QStringLiteral("a.txt"));
        QVERIFY_THROWS_EXCEPTION(DbError, job.begin());
        other.exec("ROLLBACK");
        ImportJob wrongCategory(&db, poems(2), QStringLiteral("草稿"), QStringLiteral("a.txt"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, wrongCategory.begin());
        QCOMPARE(works(), 1);
    }

    // The whole library and the hostile texts, exported to text and imported into an empty
    // category: the same titles and texts.
    void theWholeLibraryRoundTripsThroughText()
    {
        const QString library = qEnvironmentVariable("SHIHAI_SOURCE_DIR") + u"/date/W.mdb"_s;
        if (!QFile::exists(library))
            QSKIP("no date/W.mdb: build it with shihai-builddb");
        QFile::remove(fx->path());
        QVERIFY(QFile::copy(library, fx->path()));
        QFile::setPermissions(fx->path(), QFile::ReadOwner | QFile::WriteOwner);
        fx->exec("DELETE FROM 作品 WHERE 类别 = '戊类'");
        for (const faults::Hostile &h : faults::hostileTexts())
            fx->insert(tableWorks, {colTitle, colCategory, colContent}, {h.text, u"丁类"_s, h.text});
        fx->insert(tableWorks, {colTitle, colCategory, colContent},
                   {QString(10000, u'题'), u"甲类"_s, u"\x01\x02\x7f🌸𠀀\n\n末"_s});

        Connection db(fx->path());
        const QList<Work> all = library::all(&db);
        QVERIFY(all.size() > 2500);
        const QString file = fx->dir() + u"/全部作品.txt"_s;
        ExportJob out(all, std::make_unique<TextWriter>(), file);
        QCOMPARE(out.open(), QString());
        while (out.done() < out.total())
            out.step();
        QCOMPARE(out.commit(), QString());

        const TextImporter::Result read = TextImporter::readFile(file);
        QCOMPARE(read.refusal, QString());
        QCOMPARE(read.poems.size(), all.size());
        ImportJob in(&db, read.poems, QStringLiteral("戊类"), QStringLiteral("全部作品.txt"));
        runAll(in);
        in.commit();
        QCOMPARE(pairs(library::ofCategory(&db, QStringLiteral("戊类"))), pairs(all));
    }

    void anExportThatCannotFinishLeavesNoFile()
    {
        const QList<Work> two = {Work{u"甲"_s, u"一"_s, {}, {}}, Work{u"乙"_s, u"二"_s, {}, {}}};
        const QString folder = fx->dir() + u"/out"_s;
        QDir().mkpath(folder);
        const QString target = folder + u"/作品.txt"_s;
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file");
        old.close();

        ExportJob cancelled(two, std::make_unique<TextWriter>(), target);
        QCOMPARE(cancelled.open(), QString());
        cancelled.step();
        cancelled.cancel();
        QCOMPARE(filesIn(folder), QStringList{u"作品.txt"_s});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("an older file"));
        old.close();

        // A folder that cannot be written, and a "folder" that is a file.
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        {
            const faults::PermissionsObeyed asAUser;
            ExportJob refused(two, std::make_unique<TextWriter>(), folder + u"/新.txt"_s);
            const QString message = refused.open();
            QVERIFY2(message.contains(QDir::toNativeSeparators(folder)), qPrintable(message));
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(filesIn(folder), QStringList{u"作品.txt"_s});
        ExportJob intoAFile(two, std::make_unique<TextWriter>(), target + u"/x.txt"_s);
        QVERIFY(!intoAFile.open().isEmpty());

        // A disk that fills up half-way: a limit on the size of the files this process writes.
        const QList<Work> large = {Work{u"长"_s, QString(100000, u'字'), {}, {}}};
        ExportJob full(large, std::make_unique<TextWriter>(), folder + u"/满.txt"_s);
        QCOMPARE(full.open(), QString());
        QString message;
        {
            const FileSizeLimit limit(64 * 1024);
            full.step();
            message = full.commit();
        }
        QVERIFY2(message.contains(u"满.txt"_s) && message.contains(u"磁盘"_s), qPrintable(message));
        QCOMPARE(filesIn(folder), QStringList{u"作品.txt"_s});
    }
};

int main(int argc, char **argv)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QCoreApplication app(argc, argv);
    TestWorksImport tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "test_worksimport.moc"
