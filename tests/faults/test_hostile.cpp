// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "db/query.h"
#include "db/rtf.h"
#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/statusbar.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

using namespace schema;
using namespace faults;

// Compares texts that may be 100,000 characters long, printing only their beginnings.
#define COMPARE_TEXT(actual, expected)                                                                       \
    do {                                                                                                     \
        const QString a_ = (actual), e_ = (expected);                                                        \
        QVERIFY2(a_ == e_, qPrintable(shortened(a_) + QStringLiteral(" instead of ") + shortened(e_)));      \
    } while (false)

namespace {

// A rich-text column reads back as the text its editor shows.
QString readBack(const QString &stored)
{
    return rtf::displayText(stored);
}

QString firstDifference(const Rows &actual, const Rows &expected)
{
    for (auto t = expected.begin(); t != expected.end(); ++t) {
        const auto &rows = actual.value(t.key());
        if (rows.keys() != t.value().keys())
            return QStringLiteral("%1: rows %2 instead of %3")
                .arg(t.key())
                .arg(rows.size())
                .arg(t.value().size());
        for (auto r = t.value().begin(); r != t.value().end(); ++r)
            for (int c = 0; c < r.value().size(); ++c)
                if (rows.value(r.key()).value(c) != r.value()[c])
                    return QStringLiteral("%1 rowid %2 column %3: %4 instead of %5")
                        .arg(t.key())
                        .arg(r.key())
                        .arg(c)
                        .arg(shortened(rows.value(r.key()).value(c)), shortened(r.value()[c]));
    }
    return QString();
}

// SQLite refuses a like pattern longer than this many bytes.
constexpr int likePatternLimit = 50000;

} // namespace

// Hostile text typed into every field a user can type into: the grids' cells, the detail edits and
// boxes, the editors, the selectors and the search edit. Each text is stored and read back exactly,
// found by the searches, and every table is intact afterwards.
class TestHostile : public QObject {
    Q_OBJECT

    Fixture prepared;
    std::unique_ptr<WindowFixture> fx;
    TW *w = nullptr;
    QStringList schemaBefore;
    int inputs = 0; // every field typed into, over all texts

    void openWindow() { w = fx->open(); }
    void reopenWindow()
    {
        QVERIFY(w->close());
        fx->drop();
        openWindow();
    }
    void setPage(int index) { fx->showPage(index); }
    template <class T> T *find(const QString &name) const { return fx->child<T>(name); }
    QLineEdit *selector(const QString &name) const { return find<QComboBox>(name)->lineEdit(); }
    void click(const QString &button) const { QTest::mouseClick(find<QToolButton>(button), Qt::LeftButton); }
    QString panel0() const { return fx->panel(0); }

    void typeIntoCell(DbGrid *grid, int row, int column, const QString &text)
    {
        QVERIFY(faults::typeIntoCell(grid, row, column, text));
        COMPARE_TEXT(grid->query()->cellText(
                         row, grid->query()->fieldIndex(grid->queryModel()->columns()[column].field)),
                     text);
        ++inputs;
    }
    // Every column of one row, then Down writes it.
    void typeIntoRow(const QString &grid, int row, const QString &text)
    {
        auto *g = find<DbGrid>(grid);
        for (int c = 0; c < g->model()->columnCount(); ++c)
            typeIntoCell(g, row, c, text);
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Down);
        QCOMPARE(g->query()->state(), Query::State::Browse);
    }
    QStringList keys(Query *q) const
    {
        QStringList out;
        for (int r = 0; r < q->rowCount(); ++r)
            out << q->cellText(r, 0);
        out.sort();
        return out;
    }
    void checkTablesIntact() const
    {
        QCOMPARE(schemaOf(fx->path()), schemaBefore);
        QCOMPARE(integrityCheck(fx->path()), QStringLiteral("ok"));
    }

private slots:
    void initTestCase()
    {
        TW::setUpApplication();
        const QStringList rhyme = {colFinal, colSyllable, colTone, colCommon, colRare};
        prepared.insert(tablePsy, rhyme,
                        {QStringLiteral("ang"), QStringLiteral("bang"), QStringLiteral("阴平"),
                         QStringLiteral("邦帮"), QStringLiteral("梆")});
        prepared.insert(tablePsy, rhyme,
                        {QStringLiteral("ang"), QStringLiteral("cang"), QStringLiteral("阳平"),
                         QStringLiteral("藏"), QString()});
        prepared.insert(tablePsy, rhyme,
                        {QStringLiteral("a"), QStringLiteral("ba"), QStringLiteral("上声"),
                         QStringLiteral("把"), QString()});
        prepared.insert(tableJsy, rhyme,
                        {QStringLiteral("ang"), QStringLiteral("zhang"), QStringLiteral("阴平"),
                         QStringLiteral("张章"), QString()});
        prepared.insert(tableJsy, rhyme,
                        {QStringLiteral("ang"), QStringLiteral("chang"), QStringLiteral("阳平"),
                         QStringLiteral("常长"), QString()});
        prepared.insert(tableJsy, rhyme,
                        {QStringLiteral("ang"), QStringLiteral("shang"), QStringLiteral("去声"),
                         QStringLiteral("上尚"), QString()});
        for (const char *word : {"春风", "秋月", "风月"})
            prepared.insert(tableWords, {colWord, colMeaning},
                            {QString::fromUtf8(word), QStringLiteral("义")});
        for (const char *idiom : {"春暖花开", "秋高气爽", "春华秋实"})
            prepared.insert(tableIdioms, {colIdiom, colMeaning},
                            {QString::fromUtf8(idiom), QStringLiteral("义")});
        // After the draft, 作品 rowid 1.
        const QStringList work = {colTitle, colCategory, colMark, colCount, colDate, colContent};
        prepared.insert(tableWorks, work,
                        {QStringLiteral("秋兴"), QStringLiteral("甲类"), QStringLiteral("§"), 8,
                         QStringLiteral("2007-03-01"), QStringLiteral("玉露凋伤枫树林")});
        prepared.insert(tableWorks, work,
                        {QStringLiteral("春望"), QStringLiteral("甲类"), QStringLiteral("§"), 4,
                         QStringLiteral("2006-05-01"), QStringLiteral("国破山河在")});
        schemaBefore = schemaOf(prepared.path());
    }
    void init() { fx = std::make_unique<WindowFixture>(prepared); }
    void cleanup()
    {
        w = nullptr;
        fx.reset();
    }
    void cleanupTestCase() { qInfo("hostile inputs tried: %d", inputs); }

    void gridCellsStoreAndFindTheText_data()
    {
        QTest::addColumn<QString>("text");
        for (const Hostile &h : hostileTexts())
            QTest::newRow(h.name) << h.text;
    }
    void gridCellsStoreAndFindTheText()
    {
        QFETCH(QString, text);
        Rows expected = snapshot(fx->path());
        openWindow();
        setPage(1);
        typeIntoRow(QStringLiteral("View_psy_DBGrid"), 0, text);
        typeIntoRow(QStringLiteral("View_jsy_DBGrid"), 0, text);
        setPage(0);
        typeIntoRow(QStringLiteral("Edit_jsy_DBGrid"), 1, text); // 音节 and 简易 of 卷舌音 rowid 2
        setPage(2);
        typeIntoRow(QStringLiteral("cizu_DBGrid"), 0, text);
        // The idioms that begin with 春, in the order of the engine's index.
        const QString idiom = w->database().Chengyu_ADOQuery->cellText(0, 0);
        typeIntoRow(QStringLiteral("chengyu_DBGrid"), 0, text);
        QCOMPARE(fx->dialogs->calls.size(), 0);

        expected[tablePsy][1] = QStringList(5, text);
        expected[tableJsy][1] = QStringList(5, text);
        expected[tableJsy][2][1] = text;
        expected[tableJsy][2][3] = text;
        expected[tableWords][1] = QStringList(2, text);
        for (auto row = expected[tableIdioms].begin(); row != expected[tableIdioms].end(); ++row)
            if (row.value()[0] == idiom)
                row.value() = QStringList(2, text);
        const Rows stored = snapshot(fx->path());
        QVERIFY2(stored == expected, qPrintable(firstDifference(stored, expected)));

        // Found by final and tone on both rhyme pages.
        setPage(1);
        find<QComboBox>(QStringLiteral("ComboBox4"))->setCurrentIndex(0);
        retype(selector(QStringLiteral("ComboBox5")), text);
        retype(selector(QStringLiteral("ComboBox6")), text);
        click(QStringLiteral("SpeedButton2"));
        inputs += 2;
        for (Query *q : {w->database().View_psy_ADOQuery, w->database().View_jsy_ADOQuery}) {
            QCOMPARE(q->rowCount(), 1);
            COMPARE_TEXT(q->text(colSyllable), text);
        }
        setPage(0);
        find<QComboBox>(QStringLiteral("ComboBox1"))->setCurrentIndex(0);
        retype(selector(QStringLiteral("ComboBox2")), text);
        retype(selector(QStringLiteral("ComboBox3")), text);
        click(QStringLiteral("Edit_ok_SpeedButton"));
        inputs += 2;
        for (Query *q : {w->database().Edit_psy_ADOQuery, w->database().Edit_jsy_ADOQuery}) {
            QCOMPARE(q->rowCount(), 1);
            COMPARE_TEXT(q->text(colCommon), text);
        }
        QCOMPARE(fx->dialogs->calls.size(), 0);

        // Found by every mode of the word search: exactly the keys that hold the text, unless the
        // text has a wildcard of like in it; a pattern too long for the engine is refused by it.
        setPage(2);
        const QStringList allWords = fx->column(QStringLiteral("select 词组 from 词组"));
        const struct {
            int index;
            QString mode;
            QString pattern;
            std::function<bool(const QString &)> matches;
        } modes[] = {
            {0, QStringLiteral("字首"), text + u'%', [&](const QString &k) { return k.startsWith(text); }},
            {1, QStringLiteral("包含"), u'%' + text + u'%',
             [&](const QString &k) { return k.contains(text); }},
            {2, QStringLiteral("字尾"), u'%' + text, [&](const QString &k) { return k.endsWith(text); }},
        };
        for (const auto &m : modes) {
            fx->dialogs->clear();
            find<QComboBox>(QStringLiteral("Think_ComboBox"))->setCurrentIndex(m.index);
            retype(find<QLineEdit>(QStringLiteral("Think_Edit")), text);
            click(QStringLiteral("Think_SpeedButton"));
            ++inputs;
            Query *words = w->database().Cizu_ADOQuery;
            if (m.pattern.toUtf8().size() > likePatternLimit) {
                QCOMPARE(fx->dialogs->errors(),
                         QStringList{QStringLiteral("LIKE or GLOB pattern too complex")});
                QVERIFY(!words->isOpen());
                continue;
            }
            QCOMPARE(fx->dialogs->calls.size(), 0);
            QStringList expectedKeys;
            for (const QString &k : allWords)
                if (m.matches(k))
                    expectedKeys << k;
            expectedKeys.sort();
            QVERIFY(expectedKeys.contains(text));
            if (text.contains(u'%') || text.contains(u'_')) {
                for (const QString &k : expectedKeys)
                    QVERIFY(keys(words).contains(k));
            } else {
                QCOMPARE(keys(words), expectedKeys);
            }
            COMPARE_TEXT(panel0(), QStringLiteral("查询条件：") + m.mode + u'=' + text);
        }

        // Read back after a restart.
        reopenWindow();
        setPage(1);
        for (const char *grid : {"View_psy_DBGrid", "View_jsy_DBGrid"}) {
            QAbstractItemModel *model = find<DbGrid>(QString::fromLatin1(grid))->model();
            for (int c = 0; c < model->columnCount(); ++c)
                COMPARE_TEXT(model->index(0, c).data().toString(), text);
        }
        setPage(2);
        COMPARE_TEXT(find<DbGrid>(QStringLiteral("cizu_DBGrid"))->model()->index(0, 0).data().toString(),
                     text);
        QVERIFY(w->close());
        checkTablesIntact();
    }

    void detailAndEditorsStoreTheText_data() { gridCellsStoreAndFindTheText_data(); }
    void detailAndEditorsStoreTheText()
    {
        QFETCH(QString, text);
        const Rows before = snapshot(fx->path());
        openWindow();
        setPage(3);
        QCOMPARE(find<QLineEdit>(QStringLiteral("bt_DBEdit"))->text(), QStringLiteral("秋兴"));
        const QStringList edits = {QStringLiteral("bt_DBEdit"), QStringLiteral("zz_DBEdit"),
                                   QStringLiteral("cc_DBEdit"), QStringLiteral("wz_DBEdit")};
        const QStringList boxes = {QStringLiteral("lb_DBComboBox"), QStringLiteral("bj_DBComboBox")};
        const QStringList editors = {QStringLiteral("bz_DBRichEdit"), QStringLiteral("nr_DBRichEdit")};
        for (const QString &name : edits)
            retype(find<QLineEdit>(name), text);
        for (const QString &name : boxes)
            retype(selector(name), text);
        for (const QString &name : editors)
            retype(find<QTextEdit>(name), text);
        inputs += 8;
        click(QStringLiteral("ok_SpeedButton"));
        setPage(0);
        retype(find<QTextEdit>(QStringLiteral("Edit_DBRichEdit")), text);
        click(QStringLiteral("Edit_save_SpeedButton"));
        ++inputs;
        QCOMPARE(fx->dialogs->calls.size(), 0);

        // 作品: 标题 类别 标记 数量 作者 出处 网址 日期 备注 内容; the work is rowid 2, the draft rowid 1.
        Rows stored = snapshot(fx->path());
        const QStringList work = stored[tableWorks][2];
        for (int c : {0, 1, 2, 4, 5, 6})
            COMPARE_TEXT(work[c], text);
        QCOMPARE(work[3], QStringLiteral("8"));
        QCOMPARE(work[7], QStringLiteral("2007-03-01"));
        const QString draft = stored[tableWorks][1][9];
        for (const QString &rich : {work[8], work[9], draft}) {
            COMPARE_TEXT(readBack(rich), text);
            if (!rtf::isRtf(text))
                COMPARE_TEXT(rich, text);
        }
        stored[tableWorks][1] = before[tableWorks][1];
        stored[tableWorks][2] = before[tableWorks][2];
        QVERIFY2(stored == before, qPrintable(firstDifference(stored, before)));

        // Found by its category.
        setPage(3);
        retype(selector(QStringLiteral("Show_ComboBox")), text);
        ++inputs;
        QCOMPARE(w->database().Show_ADOQuery->rowCount(), 1);
        COMPARE_TEXT(find<QLineEdit>(QStringLiteral("bt_DBEdit"))->text(), text);

        // Read back after a restart, in every control.
        reopenWindow();
        COMPARE_TEXT(find<DbRichEdit>(QStringLiteral("Edit_DBRichEdit"))->typedText(), text);
        setPage(3);
        retype(selector(QStringLiteral("Show_ComboBox")), text);
        for (const QString &name : edits)
            COMPARE_TEXT(find<QLineEdit>(name)->text(), text);
        for (const QString &name : boxes)
            COMPARE_TEXT(find<QComboBox>(name)->currentText(), text);
        for (const QString &name : editors)
            COMPARE_TEXT(find<DbRichEdit>(name)->typedText(), text);
        QCOMPARE(w->database().Show_ADOQuery->state(), Query::State::Browse);
        QVERIFY(w->close());
        QCOMPARE(fx->dialogs->calls.size(), 0);
        checkTablesIntact();
    }

    void numberAndDateRefuseTheTextAndKeepIt_data() { gridCellsStoreAndFindTheText_data(); }
    void numberAndDateRefuseTheTextAndKeepIt()
    {
        QFETCH(QString, text);
        const Rows before = snapshot(fx->path());
        openWindow();
        setPage(3);
        const struct {
            const char *edit;
            QString refusal;
            QString shown;
        } fields[] = {
            {"sl_DBEdit", QStringLiteral("数量只能填写整数，“%1”不是整数。").arg(text), QStringLiteral("8")},
            {"rq_DBEdit", QStringLiteral("日期只能填写日期（例如"), QStringLiteral("2007/3/1")}};
        for (const auto &f : fields) {
            fx->dialogs->clear();
            QLineEdit *edit = find<QLineEdit>(QString::fromLatin1(f.edit));
            QCOMPARE(edit->text(), f.shown);
            retype(edit, text);
            ++inputs;
            click(QStringLiteral("ok_SpeedButton"));
            QCOMPARE(fx->dialogs->errors().size(), 1);
            QVERIFY2(fx->dialogs->errors()[0].startsWith(f.refusal),
                     qPrintable(shortened(fx->dialogs->errors()[0])));
            QVERIFY(fx->dialogs->errors()[0].contains(text));
            COMPARE_TEXT(edit->text(), text);
            QCOMPARE(w->database().Show_ADOQuery->state(), Query::State::Edit);
            click(QStringLiteral("Cancel_SpeedButton"));
            QCOMPARE(edit->text(), f.shown);
        }
        QVERIFY(w->close());
        const Rows stored = snapshot(fx->path());
        QVERIFY2(stored == before, qPrintable(firstDifference(stored, before)));
        checkTablesIntact();
    }

    void selectorsAndSearchTakeTheText_data() { gridCellsStoreAndFindTheText_data(); }
    void selectorsAndSearchTakeTheText()
    {
        QFETCH(QString, text);
        const Rows before = snapshot(fx->path());
        openWindow();
        // 开始创作: a group text that is none of the groups chooses none; the lookup runs with it.
        retype(selector(QStringLiteral("ComboBox1")), text);
        retype(selector(QStringLiteral("ComboBox3")), text);
        click(QStringLiteral("Edit_ok_SpeedButton"));
        QVERIFY(!find<QComboBox>(QStringLiteral("ComboBox2"))->isEnabled());
        QCOMPARE(w->database().Edit_psy_ADOQuery->recordCount(), 0);
        // 编辑整理
        setPage(1);
        retype(selector(QStringLiteral("ComboBox4")), text);
        retype(selector(QStringLiteral("ComboBox6")), text);
        click(QStringLiteral("SpeedButton2"));
        QCOMPARE(w->database().View_psy_ADOQuery->recordCount(), 0);
        // 词语联想: a mode that is none of the four searches nothing, and the status says so.
        setPage(2);
        retype(selector(QStringLiteral("Think_ComboBox")), text);
        retype(find<QLineEdit>(QStringLiteral("Think_Edit")), QStringLiteral("春"));
        click(QStringLiteral("Think_SpeedButton"));
        COMPARE_TEXT(panel0(), QStringLiteral("查询条件：%1=春").arg(text));
        QCOMPARE(w->database().Cizu_ADOQuery->recordCount(), 3);
        // 经典案例: a category that no work has lists none.
        setPage(3);
        retype(selector(QStringLiteral("Show_ComboBox")), text);
        QCOMPARE(w->database().Show_ADOQuery->recordCount(), 0);
        QCOMPARE(panel0(), QStringLiteral("结果：共0条记录"));
        inputs += 6;
        QVERIFY(w->close());
        QCOMPARE(fx->dialogs->calls.size(), 0);
        const Rows stored = snapshot(fx->path());
        QVERIFY2(stored == before, qPrintable(firstDifference(stored, before)));
        checkTablesIntact();
    }
};

SHIHAI_TEST_MAIN(TestHostile)
#include "test_hostile.moc"
