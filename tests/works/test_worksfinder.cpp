// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/schema.h"
#include "presentation/worksfinder.h"
#include "tests/support/dbfixture.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace schema;

// The find of 经典案例 over a real file: works of every category by title, author and text, in the
// order listed, what each line says, and texts that must be taken literally.
class TestWorksFinder : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<QObject> owner;
    std::unique_ptr<Database> db;
    std::unique_ptr<WorksFinder> finder;

    void addWork(const QString &title, const QString &category, const QString &author, const QString &text,
                 const QString &date)
    {
        fx->insert(tableWorks, {colTitle, colCategory, colAuthor, colContent, colDate},
                   {title, category, author, text, date});
    }
    QStringList found(const QString &text)
    {
        finder->find(text);
        QStringList lines;
        for (int row = 0; row < finder->rowCount(); ++row)
            lines << finder->index(row).data().toString();
        return lines;
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->exec(QStringLiteral("UPDATE 作品 SET 内容='明月几时有' WHERE 标题='草稿'"));
        addWork(QStringLiteral("静夜思"), QStringLiteral("甲类"), QStringLiteral("李白"),
                QStringLiteral("床前明月光，\n疑是地上霜。举头望明月，低头思故乡。"),
                QStringLiteral("2001-01-01"));
        addWork(QStringLiteral("月下独酌"), QStringLiteral("乙类"), QStringLiteral("李白"),
                QStringLiteral("花间一壶酒"), QStringLiteral("2002-01-01"));
        addWork(QStringLiteral("关山月"), QStringLiteral("戊类"), QStringLiteral("李白"),
                QStringLiteral("明月出天山"), QStringLiteral("2003-01-01"));
        addWork(QStringLiteral("春望"), QStringLiteral("丙类"), QStringLiteral("杜甫"),
                QStringLiteral("国破山河在"), QStringLiteral("2004-01-01"));
        addWork(QStringLiteral("咏月"), QStringLiteral("丁类"), QStringLiteral("明月居士"),
                QStringLiteral("{\\rtf1\\ansi\\uc0 \\u26149 \\u26376 \\u22812 }"),
                QStringLiteral("2000-01-01"));
        addWork(QStringLiteral("Moon 100%_off"), QStringLiteral("丁类"), QStringLiteral("O'Neil"),
                QStringLiteral("say \"moon\""), QStringLiteral("2000-02-02"));
        owner = std::make_unique<QObject>();
        db = std::make_unique<Database>(fx->path(), owner.get());
        finder = std::make_unique<WorksFinder>(*db);
    }
    void cleanup()
    {
        finder.reset();
        db.reset();
        owner.reset();
        fx.reset();
    }

    // Title finds first, then author, then text, each newest first; every category, never the draft;
    // a find in the text shows the words around it on one line, an RTF text as the editor shows it.
    void findsEveryCategoryByTitleAuthorAndText()
    {
        QSignalSpy summaries(finder.get(), &WorksFindModel::summaryChanged);
        QCOMPARE(found(QStringLiteral(" 明月 ")),
                 QStringList({QStringLiteral("咏月　明月居士〔丁类〕"),
                              QStringLiteral("关山月　李白〔戊类〕　…明月出天山…"),
                              QStringLiteral("静夜思　李白〔甲类〕　…床前明月光， 疑是地上霜。举…")}));
        QCOMPARE(finder->summary(), QStringLiteral("找到 3 篇"));
        QCOMPARE(summaries.takeLast().at(0).toString(), QStringLiteral("找到 3 篇"));
        const FoundWork &work = finder->work(1);
        QCOMPARE(work.category, QStringLiteral("戊类"));
        QCOMPARE(db->storedText(tableWorks, work.rowid, colTitle), QStringLiteral("关山月"));

        QCOMPARE(
            found(QStringLiteral("月")).mid(0, 3),
            QStringList({QStringLiteral("关山月　李白〔戊类〕"), QStringLiteral("月下独酌　李白〔乙类〕"),
                         QStringLiteral("咏月　明月居士〔丁类〕")}));
        QCOMPARE(found(QStringLiteral("春月")),
                 QStringList{QStringLiteral("咏月　明月居士〔丁类〕　…春月夜…")});
        QCOMPARE(found(QStringLiteral("杜甫")), QStringList{QStringLiteral("春望　杜甫〔丙类〕")});
        QCOMPARE(found(QStringLiteral("几时")), QStringList());
        QCOMPARE(finder->summary(), WorksFindModel::nothingFound);
        QCOMPARE(found(QString()), QStringList());
        QCOMPARE(finder->summary(), QString());
    }

    // Quotes, % and _ are the characters looked for, and letters match in any case.
    void takesTheTextLiterally()
    {
        for (const char *text : {"100%_", "%", "_", "o'neil", "\"MOON\""})
            QCOMPARE(found(QString::fromUtf8(text)).size(), 1);
        QCOMPARE(found(QStringLiteral("10_%")), QStringList());
    }

    // A short text can be in thousands of works: the first are listed, all are counted.
    void listsAtMostTwoHundred()
    {
        fx->exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 250) "
            "INSERT INTO 作品 (标题, 类别, 日期) SELECT '山' || i, '丙类', '1999-01-01' FROM n"));
        QCOMPARE(found(QStringLiteral("山")).size(), WorksFindModel::listedAtMost);
        QCOMPARE(finder->summary(), QStringLiteral("找到 252 篇，列出前 200 篇"));
    }
};

QTEST_GUILESS_MAIN(TestWorksFinder)
#include "test_worksfinder.moc"
