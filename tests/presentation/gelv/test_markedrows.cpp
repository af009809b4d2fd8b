// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/markedrows.h"
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "tests/support/booksfixture.h"
#include "tests/support/checknamed.h"
#include "tests/support/markedrowtexts.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using prosody::Book;

// What the marked poem shows of a check, row by row: the marks, the template, the faults, the
// rhymes and the tips of each character; a 词 along its whole form.
class MarkedRowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::shared_ptr<const prosody::RhymeBooks> m_books;

    QList<MarkedRow> rows(const QString &text, const QString &form, std::optional<Book> book = {})
    {
        return markedRows(checkNamed(m_books, text, form, book).value());
    }

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(u"rhymebooks.db"_s);
        {
            BooksFixture books(path);
            books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东风红天"_s)
                .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木竹"_s)
                .add(u"中华新韵"_s, u"十一庚"_s, u"平"_s, u"东风红"_s)
                .add(u"中华新韵"_s, u"八寒"_s, u"平"_s, u"天"_s)
                .add(u"中华新韵"_s, u"二波"_s, u"去"_s, u"木"_s)
                .add(u"中华新韵"_s, u"十四姑"_s, u"平"_s, u"竹"_s) // 入 of old, 阳平 today
                .add(u"词林正韵"_s, u"第一部"_s, u"平"_s, u"东风红天"_s)
                .add(u"词林正韵"_s, u"第十五部"_s, u"入"_s, u"木"_s)
                .tune(u"双片调"_s, 50)
                .ciForm(u"双片调"_s, 1, 50,
                        {u"平平仄"_s, u"仄仄仄平平/1"_s, u"仄仄平平/1"_s, u"平平仄"_s, u"仄仄仄平平/1"_s}, 4);
        }
        m_books = prosody::loadRhymeBooks(path);
    }

    void aPoemsLinesCarryTheirMarksFaultsRhymesAndTips()
    {
        const QString poem = u"木木天天木，天天木竹东。天天天木木，木木木天风。"_s;
        QCOMPARE(
            rowTexts(rows(poem, u"自动"_s)),
            (QStringList{u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s, u"木木天天木|●●○○●|     |     |"_s,
                         u"天天木竹东|○○●●○|     |     |韵·上平一东"_s, u"天天天木木|○○○●●|     |     |"_s,
                         u"木木木天风|●●●○○|     |     |韵·上平一东"_s}));

        // 竹 is 平 in the modern book: a fault under the template's 仄, said in its tip too.
        const QList<MarkedRow> modern = rows(poem, u"自动"_s, Book::Xinyun);
        QCOMPARE(modern.at(0).kind, MarkedRow::Kind::Summary);
        QVERIFY(!modern.at(0).ok);
        QCOMPARE(rowTexts(modern).at(2), u"天天木竹东|○○●○○|   仄 |   ✗ |韵·十一庚"_s);
        QCOMPARE(modern.at(2).rhymes, (QList<bool>{false, false, false, false, true}));
        QCOMPARE(modern.at(2).tips.at(0), u"天：平"_s);
        QCOMPARE(modern.at(2).tips.at(3), u"竹：平\n第2句第4字「竹」：此处应仄，用了平声"_s);

        // Each poem its summary, then its lines.
        const QList<MarkedRow> two = rows(poem + u"\n\n"_s + poem, u"自动"_s);
        QCOMPARE(two.size(), 10);
        QCOMPARE(two.at(5).kind, MarkedRow::Kind::Summary);
        QVERIFY(two.at(5).ok);
    }

    // The lines written over the form's pattern, the rest of the form as pattern alone, with a gap
    // before the second 片; every position has its tip.
    void aCiShowsItsWholeForm()
    {
        const QList<MarkedRow> ci = rows(u"天天木，木木木天东。木木天风。"_s, u"双片调"_s);
        const QStringList texts = rowTexts(ci);
        QCOMPARE(texts.mid(1),
                 (QStringList{u"天天木|○○●|○○●|   |"_s, u"木木木天东|●●●○○|●●●○○|     |韵·第一部"_s,
                              u"木木天风|●●○○|●●○○|    |韵·第一部"_s, u"—"_s, u"谱|○○●|"_s,
                              u"谱|●●●○○|韵1（平）"_s}));
        QVERIFY2(texts.first().startsWith(u"双片调 · 正体 · 第一部"_s), qPrintable(texts.first()));
        QCOMPARE(ci.at(1).tips.at(0), u"天：平\n谱：应平 96%\n平 48 · 仄 2，据 50 首"_s);
        QCOMPARE(ci.at(5).tips,
                 (QStringList{u"应平 96%\n平 48 · 仄 2，据 50 首"_s, u"应平 96%\n平 48 · 仄 2，据 50 首"_s,
                              u"应仄 96%\n平 2 · 仄 48，据 50 首"_s}));
        QVERIFY2(texts.first().endsWith(u" · 据 50 首，16 家"_s), qPrintable(texts.first()));
    }
};

QTEST_GUILESS_MAIN(MarkedRowsTest)
#include "test_markedrows.moc"
