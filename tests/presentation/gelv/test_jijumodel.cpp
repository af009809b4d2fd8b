// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/lines/linepatterns.h"
#include "presentation/gelv/formchoicemodel.h"
#include "presentation/gelv/gelvwindowmodel.h"
#include "presentation/gelv/jiju/jijumodel.h"
#include "prosody/core/books.h"
#include "prosody/core/referencefile.h"
#include "tests/classics/corpus.h"
#include "tests/support/booksfixture.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using prosody::Book;

// The 集句 of the 格律 window over a classics file built from a small corpus the test writes: what a
// search shows, the book it follows, and the pattern of the line at the caret.
class JijuModelTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_classicsFile;
    std::shared_ptr<const prosody::RhymeBooks> m_books;

    void open(JijuModel &model)
    {
        model.setBooks(m_books);
        model.setSources(classics::LinePatterns::open(m_classicsFile, m_books),
                         classics::Classics::open(m_classicsFile), QString());
    }
    static QStringList texts(const JijuModel &model)
    {
        QStringList out;
        for (const classics::PatternLine &l : model.rows())
            out << l.text;
        return out;
    }

private slots:
    void initTestCase()
    {
        m_classicsFile = corpus::buildClassics(m_dir.path());
        m_books = prosody::loadRhymeBooks(m_dir.filePath(u"date/rhymebooks.db"_s));
    }

    // The lines of seven characters: 春日 of 千家诗 and 浣溪沙 of 宋词三百首 first, as primers, then 杨柳枝;
    // all of 宋.
    void aSearchIsCountedByDynastyAndComesPageByPage()
    {
        JijuModel model(4);
        open(model);
        QSignalSpy reset(&model, &JijuSource::reset);
        QSignalSpy added(&model, &JijuSource::rowsAdded);
        model.search({.pattern = u"中中中中中中中"_s});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.summary(), u"「中中中中中中中」（平水韵）共 8 句：宋 8"_s);
        QCOMPARE(texts(model), (QStringList{u"云淡风轻近午天"_s, u"傍花随柳过前川"_s, u"春水初生绿满塘"_s,
                                            u"小桥西畔是谁家"_s}));
        QCOMPARE(model.rowText(0), u"云淡风轻近午天　——程颢《春日》"_s);
        QVERIFY(model.rowToolTip(0).startsWith(u"云淡风轻近午天，傍花随柳过前川。\n宋 · 程颢"_s));
        QVERIFY(model.canFetchMore());
        model.fetchMore();
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.first().first().toInt(), 4);
        QCOMPARE(model.rowCount(), 8);
        QCOMPARE(model.rows().at(4).text, u"湖边杨柳拂晴天"_s);
        QVERIFY(!model.canFetchMore());
        const std::optional<ExamplesSource::PoemPage> page = model.poemPage(7);
        QVERIFY(page);
        QCOMPARE(page->title, u"杨柳枝 · 吴八"_s);
        QVERIFY(page->html.contains(u"夜半歌声惊客梦"_s));

        model.search({u"中中中中中"_s, -1, u"2=月"_s, u"宋"_s, u"吴八"_s});
        QCOMPARE(model.summary(), u"「中中中中中 · 2=月 · 宋 · 吴八」（平水韵）共 1 句：宋 1"_s);
        QCOMPARE(texts(model), QStringList{u"明月照楼台"_s});
        model.search({u"中中中中中"_s, -1, QString(), QString(), u"无此人"_s});
        QCOMPARE(model.summary(), u"「中中中中中 · 无此人」（平水韵）：全唐诗、宋词中没有这样的句子"_s);
    }

    void aMistakeIsSaidAndNothingIsSearched_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("places");
        QTest::addColumn<QString>("said");
        QTest::newRow("a sign") << u"平平x"_s << QString() << u"「x」不认识"_s;
        QTest::newRow("a place past the pattern")
            << u"平平"_s << u"3=月"_s << u"第 3 字超出了 2 个字位的格式"_s;
        QTest::newRow("a place unread") << u"平平"_s << u"月"_s << u"「月」看不懂"_s;
        QTest::newRow("nothing asked") << QString() << QString() << u"写出平仄格式"_s;
    }

    void aMistakeIsSaidAndNothingIsSearched()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, places);
        QFETCH(QString, said);
        JijuModel model;
        open(model);
        model.search({.pattern = u"中中中中中"_s});
        QVERIFY(model.rowCount() > 0);
        model.search({.pattern = pattern, .places = places});
        QVERIFY2(model.summary().contains(said), qPrintable(model.summary()));
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.canFetchMore());
    }

    // 行 is in 下平七阳 of 平水韵; another book has other groups, and the search runs again in it.
    void theBookRulesTheGroupsAndTheSearch()
    {
        JijuModel model;
        open(model);
        const int yang = int(model.rhymeGroups().indexOf(u"下平七阳"_s));
        QVERIFY(yang >= 0);
        model.search({.pattern = u"中中中中中"_s, .rhymeGroup = yang});
        QVERIFY(texts(model).contains(u"此去雁成行"_s));
        QVERIFY(model.summary().contains(u"韵 下平七阳"_s));

        QSignalSpy choices(&model, &JijuSource::choicesChanged);
        model.setBook(Book::Xinyun);
        QCOMPARE(choices.count(), 1);
        QVERIFY(model.rhymeGroups().contains(u"十一庚"_s));
        QVERIFY(!model.rhymeGroups().contains(u"下平七阳"_s));
        QCOMPARE(model.query()->book, Book::Xinyun);
        QVERIFY(!model.query()->rhymeGroup);
        QVERIFY(model.summary().startsWith(u"「中中中中中」（中华新韵）"_s));
    }

    // The window's model hands the tab the book chosen and the pattern of the 词's line at the caret, or of
    // the line to come after the last one written.
    void theWindowGivesTheBookAndThePatternAtTheCaret()
    {
        QTemporaryDir dir;
        const QString booksFile = dir.filePath(u"date/rhymebooks.db"_s);
        {
            BooksFixture books(booksFile);
            books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东红天"_s)
                .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木"_s)
                .add(u"词林正韵"_s, u"第一部"_s, u"平"_s, u"东红天"_s)
                .add(u"词林正韵"_s, u"第十五部"_s, u"入"_s, u"木"_s)
                .tune(u"大调"_s, 50)
                .ciForm(u"大调"_s, 1, 40, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"中仄平/1"_s, u"平平仄仄平/1"_s},
                        2);
        }
        GelvWindowModel window(booksFile, m_classicsFile);
        QVERIFY(window.open());
        JijuModel *jiju = window.jiju();
        QCOMPARE(jiju->dynasties(), (QStringList{u"唐"_s, u"宋"_s}));
        window.forms()->setForm(u"大调"_s);
        QCOMPARE(jiju->book(), Book::Cilin);

        const QString draft = u"天天木木，木木天东。"_s;
        window.setDraft(draft, 0, 0);
        window.setCaret(draft, 2, false);
        QCOMPARE(jiju->patternHere(), u"平平仄仄"_s);
        window.setCaret(draft, 7, false);
        QCOMPARE(jiju->patternHere(), u"仄仄平平"_s);
        window.setCaret(draft, int(draft.size()), false);
        QCOMPARE(jiju->patternHere(), u"中仄平"_s);

        window.forms()->setForm(u"七言绝句"_s);
        window.forms()->setBook(int(Book::Xinyun));
        QCOMPARE(jiju->book(), Book::Xinyun);
    }
};

QTEST_GUILESS_MAIN(JijuModelTest)
#include "test_jijumodel.moc"
