// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/classics.h"
#include "classics/coupletpairs.h"
#include "db/sqlite.h"
#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/coupletwordsmodel.h"
#include "presentation/gelv/formchoicemodel.h"
#include "presentation/gelv/gelvwindowmodel.h"
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "tests/classics/corpus.h"
#include "tests/support/markedrowtexts.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kShanju = u"空山新雨后，天气晚来秋。\n明月松间照，清泉石上流。\n"
                        "竹喧归浣女，莲动下渔舟。\n随意春芳歇，王孙自可留。"_s;

} // namespace

// 对仗 in the 格律 window's page models, over a classics file built from a small corpus holding two
// regulated poems of four couplets: the marks under a middle couplet, the words set against a word,
// and what the window model opens and follows.
class CoupletModelsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;
    QString m_books;
    std::shared_ptr<const classics::CoupletPairs> m_pairs;
    std::shared_ptr<const classics::Classics> m_classics;

private slots:
    void initTestCase()
    {
        m_file = corpus::buildClassicsWithCouplets(m_dir.path());
        m_books = m_dir.filePath(u"date/rhymebooks.db"_s);
        m_pairs = classics::CoupletPairs::open(m_file);
        m_classics = classics::Classics::open(m_file);
    }

    void theMiddleCoupletsAreMarkedUnderTheirLowerLines()
    {
        const auto books = prosody::loadRhymeBooks(m_books);
        const QList<prosody::PoemCheck> checks = prosody::checkAs(books, kShanju, {}, m_pairs.get()).value();
        QStringList rows = rowTexts(markedRows(checks));
        QCOMPARE(rows.size(), 11);
        QCOMPARE(rows.at(4).section(u'|', 0, 0), u"清泉石上流"_s);
        QCOMPARE(rows.at(5), u"对|工 工 工"_s);
        QCOMPARE(rows.at(8), u"对|工 工 工"_s);
        QVERIFY(!rows.at(10).startsWith(u"对"_s)); // the 尾联 is not marked
        const MarkedRow couplet = markedRows(checks).at(5);
        QCOMPARE(couplet.units.first(), (CoupletMark{0, 2, u"工"_s, prosody::Parallel::Strict}));
        QCOMPARE(couplet.tips.size(), 5); // one per character, as the lines have
        QVERIFY2(couplet.tips.first().contains(u"「明月」对「清泉」"_s) &&
                     couplet.tips.first().contains(u"2 次"_s),
                 qPrintable(couplet.tips.first()));
    }

    void theWordsSetAgainstAWordComeWithACouplet()
    {
        CoupletWordsModel model;
        QSignalSpy changed(&model, &CoupletWordsModel::changed);
        model.setSources(m_pairs, m_classics, QString());
        QVERIFY(model.summary().startsWith(u"选中草稿中"_s));
        model.setWord(u" 明月 "_s);
        QCOMPARE(model.word(), u"明月"_s);
        QCOMPARE(model.rows(), (QList<CoupletWordsSource::Row>{{u"清泉"_s, 2, u"明月松间照，清泉石上流"_s,
                                                                u"王维《山居秋暝》颔联 · 双击看全诗"_s}}));
        QVERIFY(model.summary().startsWith(u"与「明月」相对的词"_s));
        const std::optional<ExamplesSource::PoemPage> page = model.poemPage(0);
        QVERIFY(page);
        QCOMPARE(page->title, u"山居秋暝 · 王维"_s);
        QVERIFY2(page->html.contains(u"<b>明月松间照，清泉石上流。</b>"_s), qPrintable(page->html));
        QVERIFY(!model.poemPage(1));

        const int before = int(changed.count());
        model.setWord(u"明月"_s); // the same word: nothing looked up again
        QCOMPARE(changed.count(), before);
        model.setWord(u"松间照"_s);
        QCOMPARE(model.rows().size(), 1);
        QCOMPARE(model.rows().first().word, u"石上流"_s);
        model.setWord(u"明月松间照"_s);
        QVERIFY(model.rows().isEmpty());
        QVERIFY(model.summary().contains(u"只查一至四字"_s));
        model.setWord(u"孤灯"_s);
        QVERIFY(model.summary().contains(u"没有与之相对的词"_s));
    }

    void theWordAtTheCaretIsItsUnitOfTheRhythm_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("word");
        // 明 at 13: the caret after 月 or 明, at the start of the line, after a mark, in a title.
        QTest::newRow("after 月") << 15 << u"明月"_s;
        QTest::newRow("after 明") << 14 << u"明月"_s;
        QTest::newRow("line start") << 13 << u"明月"_s;
        QTest::newRow("after 照") << 18 << u"照"_s;
        QTest::newRow("after the comma") << 19 << u"清泉"_s;
        QTest::newRow("2|2|1: 石上") << 22 << u"石上"_s;
        QTest::newRow("after 留") << int(kShanju.size()) - 1 << u"留"_s;
        QTest::newRow("after the last mark") << int(kShanju.size()) << QString();
    }

    void theWordAtTheCaretIsItsUnitOfTheRhythm()
    {
        QFETCH(int, caret);
        QFETCH(QString, word);
        QCOMPARE(CoupletWordsModel::wordAt(kShanju, caret), word);
        QCOMPARE(CoupletWordsModel::wordAt(u"，，"_s, 1), QString());
    }

    // The window model opens the pairs with the classics, judges the draft's couplets by them and
    // follows the caret and the selection; 对联 is a form to choose.
    void theWindowModelKeepsTheTabInStep()
    {
        GelvWindowModel model(m_books, m_file);
        QVERIFY(model.open());
        model.setDraft(kShanju, 0, 0);
        QCOMPARE(model.check()->checks().first().couplets.size(), 4);
        QVERIFY(rowTexts(model.rows()).contains(u"对|工 工 工"_s));
        model.setCaret(kShanju, 15, false);
        QCOMPARE(model.couplets()->word(), u"明月"_s);
        model.setCaret(kShanju, int(kShanju.size()), false); // after a mark: the word stays
        QCOMPARE(model.couplets()->word(), u"明月"_s);
        model.setDraft(kShanju, 26, 29); // 竹喧归
        QCOMPARE(model.couplets()->word(), u"竹喧归"_s);
        model.showCouplets(u"清泉"_s);
        QCOMPARE(model.couplets()->rows().first().word, u"明月"_s);

        QVERIFY(model.forms()->formNames().contains(u"对联"_s));
        model.forms()->setForm(u"对联"_s);
        model.setDraft(u"明月松间照\n清泉石上流"_s, 0, 0);
        QCOMPARE(model.check()->summaries(), QStringList{u"对联 · 五字联 · 合律"_s});
        QVERIFY(rowTexts(model.rows()).contains(u"对|工 工 工"_s));
    }

    // A classics file of the version before the pairs: the 例句 work, the check goes without 对仗,
    // and the tab says how to rebuild the file.
    void anOlderFileLeavesTheCheckAsItWasAndSaysHowToRebuild()
    {
        QTemporaryDir dir;
        const QString old = dir.filePath(u"classics.db"_s);
        QVERIFY(QFile::copy(m_file, old));
        SqliteFile(old, SqliteFile::Mode::ReadWrite).exec("DROP TABLE 联");
        GelvWindowModel model(m_books, old);
        QVERIFY(model.open());
        model.setDraft(kShanju, 0, 0);
        QVERIFY(model.check()->checks().first().couplets.isEmpty());
        QVERIFY(model.check()->checks().first().ok());
        QVERIFY2(model.couplets()->summary().contains(u"旧版本"_s) &&
                     model.couplets()->summary().contains(u"shihai-builddb --classics"_s),
                 qPrintable(model.couplets()->summary()));
        model.setCaret(kShanju, 15, false);
        QVERIFY(model.couplets()->rows().isEmpty());
    }
};

QTEST_GUILESS_MAIN(CoupletModelsTest)
#include "test_coupletmodels.moc"
