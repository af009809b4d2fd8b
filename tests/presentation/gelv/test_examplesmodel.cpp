// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/examplesmodel.h"
#include "presentation/gelv/gelvwindowmodel.h"
#include "presentation/gelv/lookupmodel.h"
#include "prosody/core/referencefile.h"
#include "tests/classics/corpus.h"
#include "tools/classics/classics.h" // the builder's

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;

// The 例句 of the 格律 window, what they show, and the lookup's order by use, over a classics file
// built from a small corpus the test writes.
class ExamplesModelTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<const classics::Classics> m_classics;

private slots:
    void initTestCase()
    {
        const QString classicsFile = corpus::buildClassics(m_dir.path());
        m_classics = classics::Classics::open(classicsFile);
    }

    // 孤 stands in four lines of the corpus: two of 唐 (江楼, 夜泊) and two of 宋 (忆江南, 杨柳枝).
    void linesAreCountedByDynastyAndComePageByPage()
    {
        ExamplesModel model(m_classics, QString(), 3);
        QSignalSpy reset(&model, &ExamplesModel::reset);
        QSignalSpy added(&model, &ExamplesModel::rowsAdded);
        model.setText(u"孤"_s);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.summary(), u"「孤」共 4 句：唐 2 · 宋 2"_s);
        QCOMPARE(model.rows().size(), 3);
        QVERIFY(model.canFetchMore());
        model.fetchMore();
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.first().first().toInt(), 3);
        QCOMPARE(model.rows().size(), 4);
        QVERIFY(!model.canFetchMore());
        model.fetchMore();
        QCOMPARE(added.count(), 1);
        for (const classics::Example &e : model.rows())
            QVERIFY2(e.text.contains(u'孤'), qPrintable(e.text));
        QCOMPARE(model.rows().first().dynasty, u"唐"_s);
        QCOMPARE(model.rows().last().dynasty, u"宋"_s);

        // The same text again searches nothing; another starts again from its first page.
        model.setText(u" 孤 "_s);
        QCOMPARE(reset.count(), 1);
        model.setText(u"孤灯"_s);
        QCOMPARE(reset.count(), 2);
        QCOMPARE(model.summary(), u"「孤灯」共 1 句：唐 1"_s);
        QCOMPARE(model.rows().size(), 1);
        QCOMPARE(model.rows().first().author, u"张九"_s);
    }

    void aLineOpensItsWholePoem()
    {
        ExamplesModel model(m_classics, QString());
        model.setText(u"孤灯"_s);
        const std::optional<classics::Poem> poem = model.poemOf(0);
        QVERIFY(poem);
        QCOMPARE(poem->title, u"江楼"_s);
        QCOMPARE(poem->lines.size(), 2);
        QVERIFY(poem->source.contains(u"唐诗三百首"_s));
        QVERIFY(!model.poemOf(1));

        // As the list and the poem's window show them.
        QCOMPARE(model.rowText(0), model.rows().first().text + u"　——张九《江楼》"_s);
        QCOMPARE(model.rowToolTip(0), u"唐 · 张九 · 双击看全诗"_s);
        const std::optional<ExamplesModel::PoemPage> page = model.poemPage(0);
        QVERIFY(page);
        QCOMPARE(page->title, u"江楼 · 张九"_s);
        QVERIFY(page->html.startsWith(u"<h3>江楼</h3><p>唐 · 张九</p><p>"_s));
        QVERIFY(page->html.contains(poem->lines.join(u"<br>"_s)));
        QVERIFY(page->html.contains(u"出处："_s + poem->source.toHtmlEscaped()));
        QVERIFY(!model.poemPage(1));
    }

    void nothingToShowIsSaid()
    {
        ExamplesModel model(m_classics, QString());
        QVERIFY(model.summary().startsWith(u"选中草稿中的文字"_s));
        model.setText(u"沧海"_s);
        QCOMPARE(model.summary(), u"「沧海」：全唐诗、宋词中没有这样的句子"_s);
        QVERIFY(model.rows().isEmpty());
        QVERIFY(!model.canFetchMore());

        QString error;
        try {
            classics::Classics::open(m_dir.filePath(u"date/none.db"_s));
        } catch (const classics::ClassicsError &e) {
            error = e.message();
        }
        ExamplesModel missing(nullptr, error);
        missing.setText(u"孤"_s);
        QCOMPARE(missing.summary(), error);
        QVERIFY(error.contains(u"shihai-builddb --classics"_s));
        QVERIFY(missing.rows().isEmpty());
    }

    // With the classics the lookup lists the group's characters most rhymed on first, with counts.
    void theLookupOrdersTheGroupByUse()
    {
        LookupModel model;
        model.setBooks(prosody::loadRhymeBooks(m_dir.filePath(u"date/rhymebooks.db"_s)));
        model.setLookup(U'天');
        const QList<LookupSource::Member> plain = model.commonMembers();
        QVERIFY(!plain.isEmpty());
        QVERIFY(std::all_of(plain.begin(), plain.end(),
                            [](const LookupSource::Member &m) { return m.count == -1; }));
        QCOMPARE(plain.first().toolTip(), QString());
        model.setClassics(m_classics);
        const QList<LookupSource::Member> used = model.commonMembers();
        QCOMPARE(used.size(), plain.size());
        for (qsizetype i = 1; i < used.size(); ++i)
            QVERIFY(used.at(i - 1).count >= used.at(i).count);
        QVERIFY(used.first().count > 0);
        QCOMPARE(used.first().toolTip(), u"全唐诗、宋词的近体诗押此字 %1 次"_s.arg(used.first().count));
        // Every count is what the classics give for that character in that group.
        const QList<classics::RhymeWord> words =
            m_classics->rhymeWords(prosody::Book::Pingshui, model.lookupGroups().first());
        for (const LookupSource::Member &m : used) {
            const auto it = std::find_if(words.begin(), words.end(),
                                         [&](const classics::RhymeWord &w) { return w.hanzi == m.hanzi; });
            QCOMPARE(m.count, it == words.end() ? 0 : it->count);
        }
    }

    // The window's 例句: the selected part of the draft, else the character looked up, else a word
    // asked for; the classics opened with the window order the lookup by use.
    void theExamplesShowTheSelectionElseTheCharacterLookedUp()
    {
        GelvWindowModel model(m_dir.filePath(u"date/rhymebooks.db"_s), m_dir.filePath(u"date/classics.db"_s));
        ExamplesModel *examples = model.examples();
        QVERIFY(model.open());
        const QString draft = u"孤灯天"_s;
        model.setDraft(draft, 2, 2);
        model.setCaret(draft, 2, false);
        QCOMPARE(examples->summary(), u"「灯」共 2 句：唐 1 · 宋 1"_s);
        model.setDraft(draft, 2, 0);
        QCOMPARE(examples->summary(), u"「孤灯」共 1 句：唐 1"_s);
        model.setCaret(draft, 1, true); // the lookup follows the caret, the examples the selection
        QCOMPARE(model.lookup()->character(), u"孤"_s);
        QCOMPARE(examples->text(), u"孤灯"_s);
        model.setCaret(draft, 3, false); // a click: the caret moves before the selection goes
        QCOMPARE(examples->text(), u"天"_s);
        model.setDraft(draft, 3, 3);
        QCOMPARE(examples->text(), u"天"_s);
        model.showExamples(u"江楼"_s);
        QCOMPARE(examples->text(), u"江楼"_s);

        QVERIFY(model.lookup()->commonMembers().first().count > 0);
    }
};

QTEST_GUILESS_MAIN(ExamplesModelTest)
#include "test_examplesmodel.moc"
