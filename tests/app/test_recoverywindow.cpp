// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "db/query.h"
#include "db/recoveryfile.h"
#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QDir>
#include <QToolButton>

#include <memory>

using namespace schema;
using namespace recovery;

// The window over a database whose last run left a recovery file: the question after opening, what
// each answer does, and the file while the user types.
class TestRecoveryWindow : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;

    QString file() const { return fileFor(fx->path()); }
    QByteArray leave(const QList<Row> &rows, const Fingerprint &owner) const
    {
        const QByteArray bytes = encode(owner, rows);
        writeAtomically(file(), bytes);
        return bytes;
    }
    QStringList setAside() const
    {
        return QDir(fx->dir() + QStringLiteral("/date")).entryList({QStringLiteral("W.mdb.recovery-*")});
    }
    QByteArray bytesOf(const QString &name) const
    {
        QFile f(fx->dir() + QStringLiteral("/date/") + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    template <class T> T *child(const char *name) const { return fx->child<T>(QString::fromLatin1(name)); }
    // Rows left by a run that was killed: the draft, a work the default list does not show, a cell
    // of the lower grid on 开始创作 and a new word.
    QList<Row> leftRows() const
    {
        return {{tableWorks, 1, {{colContent, QStringLiteral("床前明月光")}}},
                {tableWorks, 3, {{colAuthor, QStringLiteral("李白")}}},
                {tableJsy, 1, {{colCommon, QStringLiteral("章")}}},
                {tableWords,
                 std::nullopt,
                 {{colWord, QStringLiteral("秋月")}, {colMeaning, QStringLiteral("秋夜之月")}}}};
    }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        for (const auto &[title, category] : {std::pair("秋兴", "甲类"), std::pair("春望", "乙类")})
            prepared.insert(tableWorks, {colTitle, colCategory, colCount, colDate, colAuthor},
                            {QString::fromUtf8(title), QString::fromUtf8(category), 8,
                             QStringLiteral("2007-03-01"), QStringLiteral("杜甫")});
        prepared.insert(
            tableJsy, {colFinal, colSyllable, colTone, colCommon},
            {QStringLiteral("ang"), QStringLiteral("zhang"), QStringLiteral("阴平"), QStringLiteral("张")});
    }
    void init() { fx = std::make_unique<WindowFixture>(prepared); }
    void cleanup() { fx.reset(); }

    // 是: each text is back in its row in edit state and shown; the database has none of them until
    // the window closes, which writes them all and removes the file.
    void yesPutsEveryTextBackAsTyped()
    {
        QCOMPARE(fx->value(QStringLiteral("select 类别 from 作品 where rowid=3")), QStringLiteral("乙类"));
        leave(leftRows(), fingerprintOf(fx->path()));
        const QString works = QStringLiteral("select 作者 || '|' || 内容 from 作品 order by rowid");
        const QStringList before = fx->column(works);
        fx->dialogs->answer = true;
        TW *w = fx->open();
        QCOMPARE(fx->dialogs->calls.size(), 1); // asked by the start, before it was done
        QCOMPARE(fx->dialogs->calls[0].kind, QStringLiteral("yesno"));
        QCOMPARE(fx->dialogs->calls[0].text, QStringLiteral("上次未正常退出，有尚未保存的内容。是否恢复？"));

        Database &db = w->database();
        QCOMPARE(child<DbRichEdit>("Edit_DBRichEdit")->typedText(), QStringLiteral("床前明月光"));
        QCOMPARE(db.Edit_ADOQuery->state(), Query::State::Edit);
        QCOMPARE(child<QComboBox>("Show_ComboBox")->currentText(), QStringLiteral("乙类"));
        QCOMPARE(child<DbEdit>("bt_DBEdit")->text(), QStringLiteral("春望"));
        QCOMPARE(child<DbEdit>("zz_DBEdit")->text(), QStringLiteral("李白"));
        QCOMPARE(db.Edit_jsy_ADOQuery->text(colCommon), QStringLiteral("章"));
        QCOMPARE(db.Cizu_ADOQuery->state(), Query::State::Insert);
        QCOMPARE(db.Cizu_ADOQuery->text(colMeaning), QStringLiteral("秋夜之月"));
        QCOMPARE(fx->column(works), before);

        QVERIFY(w->close());
        QCOMPARE(fx->value(QStringLiteral("select 内容 from 作品 where rowid=1")),
                 QStringLiteral("床前明月光"));
        QCOMPARE(fx->value(QStringLiteral("select 作者 from 作品 where rowid=3")), QStringLiteral("李白"));
        QCOMPARE(fx->value(QStringLiteral("select 简易 from 卷舌音")), QStringLiteral("章"));
        QCOMPARE(fx->value(QStringLiteral("select 含义 from 词组 where 词组='秋月'")),
                 QStringLiteral("秋夜之月"));
        QVERIFY(!QFileInfo::exists(file()));
        QVERIFY(setAside().isEmpty());
    }

    // 否: the file is kept whole under a dated name, no row changes, and the next start asks nothing.
    void noKeepsTheFileAside()
    {
        const QByteArray bytes = leave(leftRows(), fingerprintOf(fx->path()));
        fx->dialogs->answer = false;
        TW *w = fx->open();
        QTRY_COMPARE(fx->dialogs->calls.size(), 1);
        QVERIFY(!QFileInfo::exists(file()));
        QCOMPARE(setAside().size(), 1);
        QCOMPARE(bytesOf(setAside().first()), bytes);
        for (Query *q : w->database().queries())
            QCOMPARE(q->state(), Query::State::Browse);
        QVERIFY(w->close());
        fx->drop();
        fx->dialogs->clear();
        fx->open(); // done with its start, where the question would have been asked
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    // A file that cannot be offered is set aside whole with a one-line message and no question.
    void unreadableFileIsSetAsideWithItsMessage_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("message");
        QTest::newRow("damaged") << true << QStringLiteral("恢复文件已损坏，已另存为 W.mdb.recovery-");
        QTest::newRow("another database")
            << false << QStringLiteral("恢复文件不属于这个数据库，已另存为 W.mdb.recovery-");
    }
    void unreadableFileIsSetAsideWithItsMessage()
    {
        QFETCH(bool, damaged);
        QFETCH(QString, message);
        QByteArray bytes = leave(leftRows(), fingerprintOf(damaged ? fx->path() : fx->dir()));
        if (damaged) {
            bytes.chop(3);
            QVERIFY(writeAtomically(file(), bytes));
        }
        TW *w = fx->open();
        QTRY_COMPARE(fx->dialogs->calls.size(), 1);
        QCOMPARE(fx->dialogs->calls[0].kind, QStringLiteral("message"));
        QVERIFY2(fx->dialogs->calls[0].text.startsWith(message), qPrintable(fx->dialogs->calls[0].text));
        QVERIFY(!fx->dialogs->calls[0].text.contains(u'\n'));
        QCOMPARE(setAside().size(), 1);
        QCOMPARE(bytesOf(setAside().first()), bytes);
        QCOMPARE(w->database().Edit_ADOQuery->state(), Query::State::Browse);
    }

    // Texts that reached the database before the program ended are not offered again.
    void textsAlreadyWrittenAreNotOffered()
    {
        leave({{tableWorks, 2, {{colAuthor, QStringLiteral("杜甫")}}}}, fingerprintOf(fx->path()));
        fx->open();
        QTRY_VERIFY(!QFileInfo::exists(file()));
        QVERIFY(fx->dialogs->calls.isEmpty());
    }

    // Through the controls: the draft and a grid cell still open are kept; saving the draft drops
    // it from the file, closing removes the file.
    void typedTextIsKeptUntilWritten()
    {
        TW *w = fx->open();
        auto *draft = child<DbRichEdit>("Edit_DBRichEdit");
        draft->setFocus();
        QTest::sendKeyEvent(QTest::Click, draft, Qt::Key_unknown, QStringLiteral("诗"), Qt::NoModifier);
        auto *grid = child<DbGrid>("Edit_jsy_DBGrid");
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 1));
        QTest::keyClick(grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(grid->currentIndex()));
        QVERIFY(editor);
        editor->selectAll();
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QStringLiteral("掌"), Qt::NoModifier);
        const auto kept = [&] {
            const auto contents = read(file(), fingerprintOf(fx->path()));
            return contents ? contents->rows : QList<Row>();
        };
        QTRY_COMPARE_WITH_TIMEOUT(kept(),
                                  (QList<Row>{{tableJsy, 1, {{colCommon, QStringLiteral("掌")}}},
                                              {tableWorks, 1, {{colContent, QStringLiteral("诗")}}}}),
                                  5000);
        QTest::mouseClick(child<QToolButton>("Edit_save_SpeedButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(kept().size(), 1, 5000);
        QVERIFY(w->close());
        QVERIFY(!QFileInfo::exists(file()));
        QCOMPARE(fx->value(QStringLiteral("select 简易 from 卷舌音")), QStringLiteral("掌"));
    }
};

SHIHAI_TEST_MAIN(TestRecoveryWindow)
#include "test_recoverywindow.moc"
