// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/builddb/fixtures.h"
#include "tests/testmain.h"
#include "tools/common/builderror.h"
#include "tools/common/converter.h"
#include "tools/rhymebooks/cipu.h"
#include "tools/rhymebooks/cipumerge/bookchars.h"
#include "tools/rhymebooks/cipumerge/bookform.h"
#include "tools/rhymebooks/cipumerge/cipumerge.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace builddb;
using namespace Qt::StringLiterals;

namespace {

// The test's own alphabet: 天 is 平 and 木 仄, 看 both, 㐀 neither; the rhyme characters carry their
// 部 (年前山烟先 平 and 片见 仄 in 第七部, 水泪 仄 in 第三部, 声情 平 in 第十一部).
CiLookup alphabet()
{
    CiLookup lookup;
    const auto set = [&](const QString &chars, bool ping, bool ze, QList<int> sections) {
        for (const uint c : chars.toUcs4())
            lookup.insert(c, {ping, ze, sections});
    };
    set(u"天"_s, true, false, {});
    set(u"木"_s, false, true, {});
    set(u"看"_s, true, true, {});
    set(u"年前山烟先"_s, true, false, {7});
    set(u"片见"_s, false, true, {7});
    set(u"水泪"_s, false, true, {3});
    set(u"声情"_s, true, false, {11});
    return lookup;
}

// "3×浣溪沙|天天木。木木天。": three poems of that name, one paragraph per sentence.
QJsonArray corpusOf(const QStringList &entries)
{
    QJsonArray out;
    for (const QString &entry : entries) {
        const qsizetype times = entry.indexOf(u'×');
        const QStringList fields = entry.mid(times + 1).split(u'|');
        QJsonArray paragraphs;
        for (const QString &p : fields[1].split(u'。', Qt::SkipEmptyParts))
            paragraphs.append(p + u'。');
        for (int i = 0; i < entry.left(times).toInt(); ++i)
            out.append(QJsonObject{{"author", u"作者%1"_s.arg(out.size())},
                                   {"rhythmic", fields[0]},
                                   {"paragraphs", paragraphs}});
    }
    return out;
}

const DerivedTune *tuneNamed(const DerivedCipu &cipu, const QString &name)
{
    for (const DerivedTune &t : cipu.tunes)
        if (t.name == name)
            return &t;
    return nullptr;
}

// "2:1平 4:1平": the rhymed lines with their run and tone.
QString rhymesOf(const DerivedForm &form)
{
    QStringList out;
    for (qsizetype l = 0; l < form.lines.size(); ++l)
        if (form.lines[l].rhymeRun)
            out << u"%1:%2%3"_s.arg(l + 1).arg(form.lines[l].rhymeRun).arg(form.lines[l].rhymeTone);
    return out.join(u' ');
}

// "疎影|天天木木年，木木天天前。": a 调 of the book by its printed name (with its other names after a
// slash: "相见欢/乌夜啼"), one 体 whose example rhymes on each line (韵) and ends each 句 at a comma or
// a stop.
cipubook::BookTune bookTune(const QString &entry, int order)
{
    const QStringList fields = entry.split(u'|');
    QStringList names = fields[0].split(u'/');
    cipubook::BookStanza stanza;
    for (const QString &sentence : fields[1].split(u'。', Qt::SkipEmptyParts))
        for (const QString &line : sentence.split(u'，'))
            stanza.lines.append({line, int(line.size()), 0, {}, cipubook::LineEnd::Rhyme, {}, false, {}});
    cipubook::BookForm form;
    form.author = u"某"_s;
    form.example.stanzas = {stanza};
    cipubook::BookTune tune;
    tune.name = names.takeFirst();
    for (const QString &alias : names)
        tune.aliases.append({alias});
    tune.juan = 1;
    tune.order = order;
    tune.forms = {form};
    return tune;
}

} // namespace

class CipuTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Converter m_t2s{u"t2s.json"_s};
    int m_corpora = 0;

    // Writes the entries as the corpus's songci folder and derives the 词谱 from it.
    DerivedCipu derive(const QStringList &entries)
    {
        const QString dist = m_dir.filePath(u"dist%1"_s.arg(++m_corpora));
        fixtures::writeJson(dist + u"/songci/ci.song.0.json"_s, corpusOf(entries));
        return deriveCipu(readSongCi(dist, m_t2s), alphabet());
    }

private slots:
    void readsTheCorpusInItsOrderAndSimplified()
    {
        const QString dist = m_dir.filePath(u"order"_s);
        const auto poem = [](const QString &tune, const QString &line) {
            return QJsonArray{
                QJsonObject{{"author", u"某"_s}, {"rhythmic", tune}, {"paragraphs", QJsonArray{line}}}};
        };
        fixtures::writeJson(dist + u"/songci/ci.song.1000.json"_s, poem(u"乙"_s, u"二。"_s));
        fixtures::writeJson(dist + u"/songci/ci.song.2019y.json"_s, poem(u"丙"_s, u"三。"_s));
        fixtures::writeJson(dist + u"/songci/ci.song.0.json"_s, poem(u"蝶戀花"_s, u"夢魂尋遍。"_s));
        const QList<CorpusCi> corpus = readSongCi(dist, m_t2s);
        QCOMPARE(corpus.size(), 3);
        QCOMPARE(corpus[0].tune, u"蝶恋花"_s);
        QCOMPARE(corpus[0].paragraphs, QStringList{u"梦魂寻遍。"_s});
        QCOMPARE(corpus[1].tune, u"乙"_s);
        QCOMPARE(corpus[2].tune, u"丙"_s);
        QVERIFY_THROWS_EXCEPTION(BuildError, readSongCi(m_dir.filePath(u"none"_s), m_t2s));
    }

    void formsAreTheLineStructuresByUse()
    {
        const QString main = u"天天木木，木木天天年。木木天天，天天木木前。"_s;
        const DerivedCipu cipu = derive({
            u"6×甲|"_s + main,
            u"1×甲|天天木木（和韵），木木天天年。木木天天，天天木木前。"_s, // a note, not text
            u"5×甲|"_s + main + u"天天山。"_s,                              // a variant
            u"5×甲|天天木木，木木天天年。"_s,                               // fragments
            u"1×甲|天天木木，木木天天年。木木天天，天天木木木前。"_s,       // a slip: one character
            u"9×乙|天天木。"_s,
            u"1×丙|天。"_s,
            u"1×丙|天天。"_s,
            u"1×丙|天天天。"_s,
            u"1×丙|天天天天。"_s,
            u"1×丙|天，天。"_s,
            u"1×丙|天，天天。"_s,
            u"1×丙|天天，天。"_s,
            u"1×丙|天，天，天。"_s,
            u"1×丙|木木木木木。"_s,
            u"1×丙|木，木木木。"_s,
            u"1×失调名|天天木。"_s,
            u"1×自度曲|天天木。"_s,
            u"1×乐语|天天木。"_s, // a heading over pieces in other tunes
            u"1×甲|天天木木（缺词文）。"_s,
            u"1×甲|天天\uFFFD木。"_s,
            u"1×甲|天天け木。"_s,
            u"1×戊|天天木。"_s,
            u"1×喝火令|天天木。"_s,
        });
        const CipuCounts &c = cipu.counts;
        QCOMPARE(c.poems, 45);
        QCOMPARE(c.damaged, 3);
        QCOMPARE(c.untitled, 3);
        QCOMPARE(c.smallTunes, 1); // 戊: a name of one poem
        // 丙: ten poems, each of its own structure: the first is its form, from one example; of the
        // others only 天，天，天 is a whole poem (three lines) and so a lone form of its own.
        QCOMPARE(c.noForm, 5 + 1 + 8);
        QCOMPARE(c.inForms, 12 + 9 + 2 + 1);
        QCOMPARE(c.damaged + c.untitled + c.smallTunes + c.noForm + c.inForms, c.poems);
        QStringList tunes;
        for (const DerivedTune &t : cipu.tunes)
            tunes << u"%1 %2/%3"_s.arg(t.name).arg(t.poems).arg(t.forms.size());
        // Every name of two poems has its forms; a name of the handbook list has them from one poem.
        QCOMPARE(tunes, (QStringList{u"甲 18/2"_s, u"丙 10/2"_s, u"乙 9/1"_s, u"喝火令 1/1"_s}));
        QCOMPARE(tuneNamed(cipu, u"丙"_s)->forms.first().lengths(), QList<int>{1});
        QCOMPARE(tuneNamed(cipu, u"乙"_s)->forms.first().authors, 9);

        const DerivedTune &tune = cipu.tunes.first();
        QCOMPARE(tune.name, u"甲"_s);
        QCOMPARE(tune.poems, 18);
        QCOMPARE(tune.inForms, 12);
        QCOMPARE(tune.forms.size(), 2);
        QCOMPARE(tune.forms[0].number, 1);
        QCOMPARE(tune.forms[0].poems, 7);
        QCOMPARE(tune.forms[0].lengths(), (QList<int>{4, 5, 4, 5}));
        QCOMPARE(tune.forms[1].poems, 5);
        QCOMPARE(tune.forms[1].lengths(), (QList<int>{4, 5, 4, 5, 3}));
        QCOMPARE(tune.forms[0].example, u"作者0：天天木木，木木天天年。"_s);
    }

    // A body of one poem in a small 词牌 is a form of its own (孤例) where it is far from every other
    // form; a slip is not, and in a 词牌 of fifty poems or more neither is (a damaged text, most likely).
    void aLoneBodyOfASmallTuneIsAFormOfItsOwn()
    {
        const QString main = u"天天木木，木木天天年。木木天天，天天木木前。"_s;
        const QString body = u"天木，天天木木年。木木天天木，天天前。木天木木，天天木天前。"_s;
        const DerivedCipu cipu = derive({
            u"6×甲|"_s + main,
            u"1×甲|"_s + body,
            u"1×甲|天天木木，木木天天年。木木天天，天天木木木前。"_s,
            u"60×乙|"_s + main,
            u"1×乙|"_s + body,
        });
        QStringList forms;
        for (const DerivedTune &t : cipu.tunes)
            for (const DerivedForm &f : t.forms) {
                QStringList lengths;
                for (int n : f.lengths())
                    lengths << QString::number(n);
                forms << u"%1:%2 %3×%4"_s.arg(t.name).arg(f.number).arg(f.poems).arg(lengths.join(u','));
            }
        QCOMPARE(forms, (QStringList{u"乙:1 60×4,5,4,5"_s, u"甲:1 6×4,5,4,5"_s, u"甲:2 1×2,5,5,3,4,5"_s}));
    }

    void aPositionIsFixedWhereEightyFivePercentAgree()
    {
        // Line 1: 17 of 20 平; 16 of 20 平; 10 平 beside 10 of both classes. Line 2: no class; 17 仄.
        QStringList entries;
        for (int i = 0; i < 20; ++i)
            entries << u"1×丁|%1%2%3，㐀%4天天天。"_s.arg(
                i < 17 ? u"天"_s : u"木"_s, i < 16 ? u"天"_s : u"木"_s, i < 10 ? u"天"_s : u"看"_s,
                i < 3 ? u"天"_s : u"木"_s);
        const DerivedCipu cipu = derive(entries);
        QCOMPARE(cipu.tunes.size(), 1);
        const DerivedForm &form = cipu.tunes.first().forms.first();
        const auto describe = [&](int line, int pos) {
            const DerivedPosition &p = form.lines[line].positions[pos];
            return u"%1 %2/%3/%4/%5"_s.arg(p.tone).arg(p.ping).arg(p.ze).arg(p.both).arg(p.unknown);
        };
        QCOMPARE(describe(0, 0), u"平 17/3/0/0"_s);
        QCOMPARE(describe(0, 1), u"中 16/4/0/0"_s);
        QCOMPARE(describe(0, 2), u"平 10/0/10/0"_s);
        QCOMPARE(describe(1, 0), u"中 0/0/0/20"_s);
        QCOMPARE(describe(1, 1), u"仄 3/17/0/0"_s);
    }

    void rhymePositionsAndSchemes_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("rhymes");
        QTest::addColumn<QString>("scheme");
        QTest::newRow("平韵") << QStringList{u"10×戊|天木天天木，木天天木年。天木木天木，木天天木前。"_s}
                              << u"2:1平 4:1平"_s << u"平韵"_s;
        QTest::newRow("仄韵") << QStringList{u"10×戊|天木天天天，木天天木水。天木木天天，木天天木泪。"_s}
                              << u"2:1仄 4:1仄"_s << u"仄韵"_s;
        // 菩萨蛮 changes rhyme: two 仄 lines, then two 平 lines.
        QTest::newRow("换韵") << QStringList{u"10×戊|天天木木水，木木天天泪。天天木木年，木木天天前。"_s}
                              << u"1:1仄 2:1仄 3:2平 4:2平"_s << u"换韵"_s;
        // 西江月 rhymes on both classes of one 部.
        QTest::newRow("平仄通叶") << QStringList{u"10×戊|木木天天木，天天木木年。天天木木前，木木天天片。"_s}
                                  << u"2:1平 3:1平 4:1仄"_s << u"平仄通叶"_s;
        // Line 1 rhymes in 4 poems of 10 only; line 3 in 6 of 10.
        QTest::newRow("most poems") << QStringList{u"4×戊|天木天天烟，木天天木年。天木木天天，木天天木前。"_s,
                                                   u"6×戊|天木天天天，木天天木年。天木木天山，木天天木前。"_s}
                                    << u"2:1平 3:1平 4:1平"_s << u"平韵"_s;
        // Lines 1 and 3 share a 部 in 6 poems of 10: a chance, not a rhyme (true pairs share in over 90%).
        QTest::newRow("chance pair")
            << QStringList{u"6×戊|天木天天水，木天天木年。天木木天泪，木天天木前。"_s,
                           u"4×戊|天木天天水，木天天木年。天木木天天，木天天木前。"_s}
            << u"2:1平 4:1平"_s << u"平韵"_s;
        // The poems rhyme, each in its own 部: the rhyme is in the sharing, not in one 部.
        QTest::newRow("several 部") << QStringList{u"5×戊|天木天天木，木天天木年。天木木天木，木天天木前。"_s,
                                                   u"5×戊|天木天天木，木天天木声。天木木天木，木天天木情。"_s}
                                    << u"2:1平 4:1平"_s << u"平韵"_s;
    }

    void rhymePositionsAndSchemes()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, rhymes);
        QFETCH(QString, scheme);
        const DerivedCipu cipu = derive(entries);
        QCOMPARE(cipu.tunes.size(), 1);
        const DerivedForm &form = cipu.tunes.first().forms.first();
        QCOMPARE(rhymesOf(form), rhymes);
        QCOMPARE(form.scheme, scheme);
        QCOMPARE(form.lines.last().rhymed, 10);
    }

    void aRepeatRhymesOnlyWhereItsPhraseDoes()
    {
        // 法驾导引: 朝元路(句)，朝元路(疊)，同驾玉华君(韵) — the repeated phrase is no rhyme.
        cipubook::CipuBook book;
        book.tunes = {bookTune(u"法驾导引|天木年，天木年，木天木木前，天天木木年。"_s, 1)};
        QList<cipubook::BookLine> &lines = book.tunes.first().forms.first().example.stanzas.first().lines;
        lines[0].end = cipubook::LineEnd::Ju;
        lines[1].end = cipubook::LineEnd::Repeat;
        const DerivedCipu merged =
            cipumerge::mergeCipu(derive({}), book, cipumerge::BookCharacters(m_t2s), alphabet());
        QCOMPARE(rhymesOf(merged.tunes.first().forms.first()), u"3:1平 4:1平"_s);
    }

    void theStanzaBreakIsInferred()
    {
        // 浣溪沙: the second 片 ends on the same two lines as the first.
        const DerivedCipu two = derive({u"10×己|木木天天木木年。天天木木木天前。天天木木木天山。"
                                        "木木天天天木木。天天木木木天烟。天天木木木天先。"_s});
        QCOMPARE(two.tunes.first().forms.first().stanzaBreak, 4);
        // 清平乐: no lines repeat, but the rhyme turns from 仄 to 平 between the 片.
        const DerivedCipu turn = derive({u"10×己|天木木水。天天木木泪。天天木木天天水。天天木木天泪。"
                                         "天天木木天年。天天木木天前。天天木木天木。天天木木天山。"_s});
        QCOMPARE(turn.tunes.first().forms.first().stanzaBreak, 5);
        const DerivedCipu one = derive({u"10×己|天木年。木天木天前。天天木木木天山。"_s});
        QCOMPARE(one.tunes.first().forms.first().stanzaBreak, 0);
    }

    // The corpus writes some 调 otherwise than the book prints them: an old form of a character, a
    // character another, a rare character lost. Each joins the book's 调 where its form fits.
    // The book's marks, one a line: "换平7" a (換平/韻) on a character of 第七部, "叶3" a (叶/), "句" none;
    // the runs they make, with the tone: "1仄 1仄 2平 - 1仄".
    void rhymeRunsFollowTheBooksMarks_data()
    {
        QTest::addColumn<QString>("marks");
        QTest::addColumn<QString>("runs");
        QTest::newRow("换 begins a run") << u"仄4 仄4 换平7 平7"_s << u"1仄 1仄 2平 2平"_s;
        QTest::newRow("a named tone returns (定风波)")
            << u"平7 平7 仄4 仄4 平7"_s << u"1平 1平 2仄 2仄 1平"_s;
        QTest::newRow("叶 joins the run of its 部 (西江月)") << u"平7 句 平7 叶仄7"_s << u"1平 - 1平 1仄"_s;
        QTest::newRow("an unmarked return to an earlier 部 (撷芳词)")
            << u"仄1 仄1 换仄17 仄17 仄1 仄1 换仄17 仄17"_s << u"1仄 1仄 2仄 2仄 1仄 1仄 3仄 3仄"_s;
        QTest::newRow("a 部 no run has stays in the run") << u"平7 平7 平3"_s << u"1平 1平 1平"_s;
        QTest::newRow("a run begun on characters of both readings (最高楼's 中 重)")
            << u"1 1 ~平1 仄18 ~仄18 平1"_s << u"1平 1平 1平 2仄 2仄 1平"_s;
        QTest::newRow("a 叶 does not set the class of such a run") << u"1 叶仄1 平1"_s << u"1平 1仄 1平"_s;
    }

    void rhymeRunsFollowTheBooksMarks()
    {
        QFETCH(QString, marks);
        QFETCH(QString, runs);
        QList<cipumerge::RhymeMark> in;
        for (QString m : marks.split(u' ')) {
            cipumerge::RhymeMark mark;
            mark.rhymed = m != u"句"_s;
            mark.change = m.startsWith(u'换');
            mark.xie = m.startsWith(u'叶');
            if (mark.change || mark.xie)
                m.remove(0, 1);
            // ~平: the character's class, the mark naming none.
            const bool unnamed = m.startsWith(u'~');
            if (unnamed)
                m.remove(0, 1);
            if (m.startsWith(u'平') || m.startsWith(u'仄')) {
                mark.character = m.front();
                mark.tone = mark.xie || unnamed ? QChar() : m.front();
                m.remove(0, 1);
            }
            if (mark.rhymed)
                mark.sections = {m.toInt()};
            in.append(mark);
        }
        QStringList out;
        for (const cipumerge::RhymeRun &r : cipumerge::rhymeRunsOf(in))
            out << (r.run ? u"%1%2"_s.arg(r.run).arg(r.tone) : u"-"_s);
        QCOMPARE(out.join(u' '), runs);
    }

    void theCorpusWritingOfABookNameJoinsIt_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<QStringList>("corpus");
        QTest::addColumn<QString>("tunes");
        const QString shape = u"天天木木年，木木天天前。"_s;
        QTest::newRow("an old form of the book's")
            << u"疎影|"_s + shape << QStringList{u"3×疏影|"_s + shape} << u"疏影 3 疏影"_s;
        QTest::newRow("one character another")
            << u"六幺令|"_s + shape << QStringList{u"3×六么令|"_s + shape} << u"六幺令 3 六幺令 六么令"_s;
        QTest::newRow("one character lost, beside the whole name")
            << u"大酺|"_s + shape << QStringList{u"3×大酺|"_s + shape, u"2×大|"_s + shape}
            << u"大酺 5 大酺 大"_s;
        QTest::newRow("near, but the forms differ")
            << u"六幺令|"_s + shape << QStringList{u"3×六么令|天天木，木天年。天木木，木天前。"_s}
            << u"六么令 3 六么令; 六幺令 0 六幺令"_s;
        QTest::newRow("two characters another")
            << u"红林檎近|"_s + shape << QStringList{u"3×红林擒远|"_s + shape}
            << u"红林擒远 3 红林擒远; 红林檎近 0 红林檎近"_s;
        // A form that fits no 体 of its own 调 goes where the book gives its name as another name, or
        // to the 令 or 慢 of the name, if it fits a 体 there; the 调 takes the name it was written under.
        const QString other = u"天天木，木天年。天木木，木天前。"_s;
        QTest::newRow("a form written under another 调's other name")
            << u"乌夜啼|"_s + shape + u";相见欢/乌夜啼|"_s + other
            << QStringList{u"3×乌夜啼|"_s + shape, u"4×乌夜啼|"_s + other}
            << u"相见欢 4 相见欢 乌夜啼; 乌夜啼 3 乌夜啼"_s;
        QTest::newRow("a form of the 令") << u"春江曲|"_s + shape + u";春江曲令|"_s + other
                                          << QStringList{u"2×春江曲|"_s + shape, u"5×春江曲|"_s + other}
                                          << u"春江曲令 5 春江曲令 春江曲; 春江曲 2 春江曲"_s;
    }

    void theCorpusWritingOfABookNameJoinsIt()
    {
        QFETCH(QString, book);
        QFETCH(QStringList, corpus);
        QFETCH(QString, tunes);
        cipubook::CipuBook cipuBook;
        for (const QString &entry : book.split(u';'))
            cipuBook.tunes.append(bookTune(entry, int(cipuBook.tunes.size()) + 1));
        const cipumerge::BookCharacters chars(m_t2s);
        const DerivedCipu merged = cipumerge::mergeCipu(derive(corpus), cipuBook, chars, alphabet());
        QStringList out;
        for (const DerivedTune &t : merged.tunes) {
            QStringList names;
            for (const DerivedName &n : t.names)
                names << n.name;
            out << u"%1 %2 %3"_s.arg(t.name).arg(t.poems).arg(names.join(u' '));
        }
        QCOMPARE(out.join(u"; "_s), tunes);
    }

    void namesComeTogetherOnlyWhereTheFormsAgree()
    {
        const QString s1 = u"天天木，木木天年。天木木，木天天前。"_s;
        const QString s2 = u"天天木木，木天年。天天木木，木天前。"_s;
        const DerivedCipu cipu = derive({
            u"6×一斛珠|"_s + s1, u"6×醉落魄・一斛珠|"_s + s1,            // named beside it
            u"8×浪淘沙|"_s + s2, u"3×浪淘沙令|"_s + s2,                  // a 令 suffix
            u"10×木兰花|"_s + s1, u"10×木兰花慢|天天木木天，木天年。"_s, // another tune
            u"8×念奴娇|天木，木天年。木天，天木前。"_s,
            u"3×大江东去|天木，木天年。木天，天木前。"_s,                        // our list
            u"12×夜行船|"_s + s2, u"10×雨中花・夜行船|天天木木天天，木天年。"_s, // the corpus's name taken
            u"5×蝶戀花|天木天，天木年。"_s, u"5×蝶恋花|天木天，天木年。"_s,      // traditional characters
            u"10×清平乐・|木天，木天年。"_s,                                     // a dot and nothing after it
        });
        QStringList tunes;
        for (const DerivedTune &t : cipu.tunes)
            tunes << u"%1 %2"_s.arg(t.name).arg(t.poems);
        QCOMPARE(tunes,
                 (QStringList{u"一斛珠 12"_s, u"夜行船 12"_s, u"念奴娇 11"_s, u"浪淘沙 11"_s, u"木兰花 10"_s,
                              u"木兰花慢 10"_s, u"清平乐 10"_s, u"蝶恋花 10"_s, u"雨中花 10"_s}));
        const auto names = [&](const QString &tune) {
            QStringList out;
            for (const DerivedName &n : tuneNamed(cipu, tune)->names)
                out << u"%1 %2 %3"_s.arg(n.name).arg(n.poems).arg(n.basis);
            return out;
        };
        QCOMPARE(names(u"一斛珠"_s), (QStringList{u"一斛珠 12 本名"_s, u"醉落魄 6 集中写法"_s}));
        QCOMPARE(names(u"雨中花"_s), (QStringList{u"雨中花 10 本名"_s, u"夜行船 10 集中写法"_s}));
        QCOMPARE(names(u"念奴娇"_s).mid(0, 3),
                 (QStringList{u"念奴娇 8 本名"_s, u"大江东去 3 集中写法"_s, u"酹江月 0 别名表"_s}));
        QVERIFY(cipu.joined.filter(u"浪淘沙令"_s).size() == 1);
        QVERIFY2(cipu.refused.filter(u"木兰花慢"_s).size() == 1, qPrintable(cipu.refused.join(u"; "_s)));
        QVERIFY(cipu.refused.filter(u"雨中花"_s).size() == 1);
    }
};

SHIHAI_TEST_MAIN(CipuTest)
#include "tst_cipu.moc"
