// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/cipu/cipubrowsermodel.h"
#include "prosody/ci/cipu.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace prosody;

namespace {

// A line from its classes (平 仄 中), the corpus's 平 and 仄 at every place, the book's mark and 读.
CiLine line(const QString &classes, int ping, int ze, const QString &mark, QList<int> dou = {})
{
    CiLine out;
    for (QChar c : classes)
        out.positions.append({c == u'平'   ? ToneClass::Ping
                              : c == u'仄' ? ToneClass::Ze
                                           : ToneClass::Both,
                              Strictness::Free, Authority::Corpus, ToneClass::Unknown, quint16(ping),
                              quint16(ze)});
    out.mark = mark;
    out.rhymeRun = mark.contains(u'韵') || mark.contains(u'叶') ? 1 : 0;
    out.dou = std::move(dou);
    return out;
}

CiForm form(int number, int poems, QList<CiLine> lines, const QString &author, int juan, QList<int> stanzas)
{
    CiForm f;
    f.number = number;
    f.poems = poems;
    f.lines = std::move(lines);
    f.author = author;
    f.juan = juan;
    f.bookNumber = juan > 0 ? number : 0;
    f.source = juan == 0 ? CiSource::Corpus : poems > 0 ? CiSource::Both : CiSource::Book;
    f.tier = poems >= 10 || juan == 0 ? Authority::Corpus : Authority::BookExample;
    f.stanzaStarts = std::move(stanzas);
    if (juan == 0) // the corpus's forms have rhymes but no marks of the book
        for (CiLine &l : f.lines)
            l.mark.clear();
    if (juan > 0)
        f.bookText = author + u"的例词（韵）"_s;
    else
        f.example = u"赵鼎：惜别怀归老不禁。"_s;
    return f;
}

CiTune tune(const QString &name, int rank, int poems, const QStringList &aliases, int juan, int bookOrder)
{
    CiTune t;
    t.name = name;
    t.rank = rank;
    t.poems = poems;
    t.aliases = aliases;
    t.juan = juan;
    t.bookOrder = bookOrder;
    return t;
}

// Three 调 as the file holds them: two of the book (卷四 and 卷二十八) with their 体 and a form of the
// corpus after the book's, and one the book lacks.
std::shared_ptr<const Cipu> cipu()
{
    CiTune huanxisha = tune(u"浣溪沙"_s, 1, 874, {u"浣沙溪"_s, u"减字浣溪沙"_s}, 4, 30);
    huanxisha.forms = {
        form(1, 850,
             {line(u"仄仄平平仄仄平"_s, 3, 847, u"韵"_s), line(u"中平中仄仄平平"_s, 400, 450, u"韵"_s),
              line(u"平平仄仄仄平平"_s, 840, 10, u"韵"_s), line(u"平仄仄平平仄中"_s, 420, 430, u"句"_s),
              line(u"仄平中仄仄平平"_s, 5, 845, u"韵"_s), line(u"中平中仄仄平平"_s, 401, 449, u"韵"_s)},
             u"韩偓"_s, 4, {3}),
        form(2, 0,
             {line(u"平仄平平平仄仄"_s, 0, 0, u"句"_s), line(u"仄平平仄仄平平"_s, 0, 0, u"韵"_s),
              line(u"仄平平仄仄平平"_s, 0, 0, u"韵"_s)},
             u"薛昭蕴"_s, 4, {}),
        form(3, 18, {line(u"中仄平平仄仄平"_s, 2, 16, u"韵"_s), line(u"仄平平"_s, 17, 1, u"句"_s)}, QString(),
             0, {}),
    };
    CiTune niannujiao = tune(u"念奴娇"_s, 2, 601, {u"大江东去"_s, u"百字令"_s}, 28, 600);
    niannujiao.forms = {
        form(1, 0, {line(u"中平中仄"_s, 0, 0, u"句"_s), line(u"仄平平中仄平平仄"_s, 0, 0, u"韵"_s, {3})},
             u"苏轼"_s, 28, {})};
    CiTune jiangchengzi = tune(u"江城子慢"_s, 3, 2, {}, 0, 0);
    jiangchengzi.forms = {form(1, 2, {line(u"平平仄"_s, 1, 1, u"韵"_s)}, QString(), 0, {})};
    return std::make_shared<const Cipu>(QList<CiTune>{huanxisha, niannujiao, jiangchengzi});
}

QStringList names(const CipuBrowserModel &model)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.tune(row)->name;
    return out;
}

} // namespace

// The 词谱 browser's list and sheets without a window.
class TestCipuBrowserModel : public QObject {
    Q_OBJECT

private slots:
    void tunesByNameAliasCharactersAndJuan_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("juan");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("all, in the book's order, then the corpus's 调")
            << QString() << 0 << 0 << QStringList{u"浣溪沙"_s, u"念奴娇"_s, u"江城子慢"_s};
        QTest::newRow("an alias") << u"大江东去"_s << 0 << 0 << QStringList{u"念奴娇"_s};
        QTest::newRow("part of an alias") << u"浣沙"_s << 0 << 0 << QStringList{u"浣溪沙"_s};
        QTest::newRow("by 字数 of the main 体") << QString() << 42 << 0 << QStringList{u"浣溪沙"_s};
        QTest::newRow("by 字数 of another 体") << QString() << 21 << 0 << QStringList{u"浣溪沙"_s};
        QTest::newRow("卷二十八") << QString() << 0 << 28 << QStringList{u"念奴娇"_s};
        QTest::newRow("outside the book") << QString() << 0 << -1 << QStringList{u"江城子慢"_s};
        QTest::newRow("name and 卷 disagree") << u"浣溪沙"_s << 0 << 28 << QStringList{};
        QTest::newRow("no 体 of that 字数") << QString() << 43 << 0 << QStringList{};
    }
    void tunesByNameAliasCharactersAndJuan()
    {
        QFETCH(QString, typed);
        QFETCH(int, characters);
        QFETCH(int, juan);
        CipuBrowserModel model;
        model.setCipu(cipu());
        model.setFilter(typed);
        model.setCharacters(characters);
        model.setJuan(juan);
        QFETCH(QStringList, expected);
        QCOMPARE(names(model), expected);
        QCOMPARE(model.juans(), (QList<int>{4, 28}));
    }

    void aFormShowsItsPatternByStanzaWithTheBooksMarksAndTheCorpussCounts()
    {
        CipuBrowserModel model;
        model.setCipu(cipu());
        const int row = model.rowOf(u"浣沙溪"_s);
        QCOMPARE(model.data(model.index(row)).toString(), u"浣溪沙　卷四 · 3 体"_s);
        QCOMPARE(model.formNames(row), (QStringList{u"正体（韩偓） · 42 字 · 据 850 首"_s,
                                                    u"又一体（薛昭蕴） · 21 字 · 据谱（例词，无别首可校）"_s,
                                                    u"又一体（3） · 10 字 · 据 18 首"_s}));

        const CiFormSheet main = model.sheet(row, 0);
        QCOMPARE(main.title, u"浣溪沙 · 正体（韩偓）"_s);
        QCOMPARE(main.ref, (CiFormRef{u"浣溪沙"_s, 1}));
        QCOMPARE(main.pattern(), u"●●○○●●○（韵）◎○◎●●○○（韵）○○●●●○○（韵） ｜ "
                                 u"○●●○○●◎（句）●○◎●●○○（韵）◎○◎●●○○（韵）"_s);
        QCOMPARE(main.tier, u"据词作 850 首"_s);
        QCOMPARE(main.author, u"韩偓"_s);
        QCOMPARE(main.example, u"韩偓的例词（韵）"_s);
        QVERIFY(main.counted);
        const CiPlaceSheet first = main.stanzas.at(0).at(0).places.at(0);
        QCOMPARE(std::pair(first.ping, first.ze), std::pair(3, 847));

        // The book's 体 no poem follows has no counts; a form of the corpus alone ends its rhymed lines
        // on 韵 and takes its author from its example.
        QVERIFY(!model.sheet(row, 1).counted);
        const CiFormSheet corpus = model.sheet(row, 2);
        QCOMPARE(corpus.pattern(), u"◎●○○●●○（韵）●○○（句）"_s);
        QCOMPARE(corpus.author, u"赵鼎"_s);
        QCOMPARE(corpus.stanzas.at(0).at(1).places.at(0).ping, 17);

        // A 读 inside a 句.
        const CiFormSheet su = model.sheet(model.rowOf(u"念奴娇"_s), 0);
        QCOMPARE(su.pattern(), u"◎○◎●（句）●○○（读）◎●○○●（韵）"_s);
    }
};

QTEST_GUILESS_MAIN(TestCipuBrowserModel)
#include "test_cipubrowsermodel.moc"
