// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/sqlite.h"
#include "prosody/check.h"
#include "prosody/core/referencefile.h"
#include "prosody/report.h"
#include "prosody/request/parserequest.h"
#include "tests/support/booksfixture.h"
#include "tests/support/checknamed.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

// Findings as "平仄@3:4" (fault) or "~未知@2:1" (warning).
QString describe(const PoemCheck &check)
{
    QStringList out;
    for (const Finding &f : check.findings)
        out << (f.isFault() ? QString() : u"~"_s) +
                   u"%1@%2:%3"_s.arg(kindName(f.kind)).arg(f.line).arg(f.pos);
    return out.join(u' ');
}

} // namespace

// The 词 check on a 词谱 of the test's own: 天 is 平, 木 仄, 看 either; 东风红 rhyme in 第一部 (平), 送 in
// 第一部 (去), 阳光 in 第二部, 屋竹 in 第十五部 (入).
class CiTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<const RhymeBooks> m_books;

    // The small books the tests with a 词谱 of their own write in: 东风红 平 in 第一部 and 上平一东, 天 平,
    // 木 入.
    static BooksFixture &inSmallBooks(BooksFixture &fixture)
    {
        return fixture.add(u"词林正韵"_s, u"第一部"_s, u"平"_s, u"东风红"_s)
            .add(u"词林正韵"_s, u"第七部"_s, u"平"_s, u"天"_s)
            .add(u"词林正韵"_s, u"第十五部"_s, u"入"_s, u"木"_s)
            .add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东风红"_s);
    }

    QList<PoemCheck> checkAs(const QString &text, const QString &form, std::optional<Book> book = {}) const
    {
        return checkNamed(m_books, text, form, book).value_or(QList<PoemCheck>());
    }

private slots:
    void initTestCase()
    {
        BooksFixture books(m_dir.filePath(u"date/rhymebooks.db"_s));
        for (const QString &book : {u"平水韵"_s, u"词林正韵"_s}) {
            const bool cilin = book == u"词林正韵";
            books.add(book, cilin ? u"第一部"_s : u"上平一东"_s, u"平"_s, u"东风红"_s)
                .add(book, cilin ? u"第一部"_s : u"去声一送"_s, u"去"_s, u"送"_s)
                .add(book, cilin ? u"第二部"_s : u"下平七阳"_s, u"平"_s, u"阳光"_s)
                .add(book, cilin ? u"第七部"_s : u"下平一先"_s, u"平"_s, u"天看"_s)
                .add(book, cilin ? u"第七部"_s : u"去声十五翰"_s, u"去"_s, u"看"_s)
                .add(book, cilin ? u"第十五部"_s : u"入声一屋"_s, u"入"_s, u"木屋竹"_s);
        }
        books.tune(u"测试调"_s, 40, {u"别调"_s})
            .ciForm(u"测试调"_s, 1, 30, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"中仄平/1"_s, u"平平仄仄平/1"_s}, 3)
            .ciForm(u"测试调"_s, 2, 10, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"中仄仄平/1"_s, u"平平仄仄平/1"_s},
                    3)
            .tune(u"换调"_s, 20, {u"测试"_s})
            .ciForm(u"换调"_s, 1, 20, {u"仄仄/1"_s, u"平仄/1"_s, u"仄中平/2"_s, u"平平/2"_s}, 0, u"换韵"_s)
            .tune(u"通叶调"_s, 12, {u"测试别名"_s})
            .ciForm(u"通叶调"_s, 1, 12, {u"平平平/1"_s, u"仄仄仄仄/1"_s, u"仄平平/1"_s}, 0, u"平仄通叶"_s);
        m_books = loadRhymeBooks(books.path());
    }

    void thePatternsLoadWithTheBooks()
    {
        const Cipu &cipu = m_books->cipu();
        QCOMPARE(cipu.tunes().size(), 3);
        QCOMPARE(cipu.forms().size(), 4);
        const CiTune &tune = cipu.tunes().first();
        QCOMPARE(tune.name, u"测试调"_s);
        QCOMPARE(tune.rank, 1);
        QCOMPARE(tune.aliases, QStringList{u"别调"_s});
        QCOMPARE(tune.forms.size(), 2);
        const CiForm &form = tune.forms.first();
        QCOMPARE(form.name(), u"正体"_s);
        QCOMPARE(tune.forms.last().name(), u"又一体（2）"_s);
        QCOMPARE(form.structure(), u"4,4|3,5"_s);
        QCOMPARE(form.characters(), 16);
        QCOMPARE(form.lines[1].marks(), u"●●○○"_s);
        QCOMPARE(form.lines[2].pattern(), u"中仄平"_s);
        QCOMPARE(form.lines[1].rhymeRun, 1);
        QCOMPARE(form.lines[0].rhymeRun, 0);
        QCOMPARE(form.lines[0].positions[0].tip(form.poems), u"应平 97%\n平 29 · 仄 1，据 30 首"_s);
        QCOMPARE(form.lines[2].positions[0].tip(form.poems),
                 u"可平可仄（平 60%）\n平 18 · 仄 12，据 30 首"_s);
        QCOMPARE(cipu.tunes()[1].forms.first().scheme, u"换韵"_s);
    }

    void anOlderFileHasNoPatterns()
    {
        QTemporaryDir dir;
        {
            BooksFixture books(dir.filePath(u"old.db"_s));
            books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东"_s);
        }
        SqliteFile(dir.filePath(u"old.db"_s), SqliteFile::Mode::ReadWrite)
            .exec("DROP TABLE 词位; DROP TABLE 词句; DROP TABLE 词体");
        const auto books = loadRhymeBooks(dir.filePath(u"old.db"_s));
        QVERIFY(books->cipu().isEmpty());
        QVERIFY(!checkNamed(books, u"天天木木"_s, u"测试调"_s));
    }

    // A file built before the positions were packed with their lines reads them from their own rows:
    // the same patterns, the same counts.
    void positionsReadTheSameWithoutThePackedCounts()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"old.db"_s);
        QVERIFY(QFile::copy(m_dir.filePath(u"date/rhymebooks.db"_s), path));
        SqliteFile(path, SqliteFile::Mode::ReadWrite).exec("ALTER TABLE 词句 DROP COLUMN 位");
        const auto patternsOf = [](const Cipu &cipu) {
            QStringList out;
            for (const CiForm *f : cipu.forms())
                for (const CiLine &l : f->lines)
                    out << f->tune + l.pattern() + l.positions.first().tip(f->poems) +
                               l.positions.last().tip(f->poems);
            return out;
        };
        const QStringList packed = patternsOf(m_books->cipu());
        QVERIFY(packed.size() > 3);
        QCOMPARE(patternsOf(loadRhymeBooks(path)->cipu()), packed);
    }

    void theSelectorFindsTunesByNameAndAlias_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("tunes");
        QTest::newRow("blank: all by use") << u" "_s << QStringList{u"测试调"_s, u"换调"_s, u"通叶调"_s};
        QTest::newRow("held by every name, by use")
            << u"调"_s << QStringList{u"测试调"_s, u"换调"_s, u"通叶调"_s};
        QTest::newRow("an alias is as good as the name") << u"别调"_s << QStringList{u"测试调"_s};
        QTest::newRow("a beginning") << u"通"_s << QStringList{u"通叶调"_s};
        // An alias that is the text, a name that begins with it, an alias that holds it.
        QTest::newRow("tiers before use") << u"测试"_s << QStringList{u"换调"_s, u"测试调"_s, u"通叶调"_s};
        QTest::newRow("nothing") << u"满江红"_s << QStringList{};
    }

    void theSelectorFindsTunesByNameAndAlias()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, tunes);
        QStringList found;
        for (const CiTune *tune : m_books->cipu().search(typed))
            found << tune->name;
        QCOMPARE(found, tunes);
    }

    void aNameOrATitleFindsItsTune()
    {
        const Cipu &cipu = m_books->cipu();
        QCOMPARE(cipu.find(u"测试调"_s)->name, u"测试调"_s);
        QCOMPARE(cipu.find(u"别调"_s)->name, u"测试调"_s);
        QCOMPARE(cipu.find(u"换调·春日即事"_s)->name, u"换调"_s);
        QCOMPARE(cipu.find(u"春日即事・别调"_s)->name, u"测试调"_s);
        QVERIFY(!cipu.find(u"春日即事"_s));
    }

    void aCiAgainstItsTune_data()
    {
        QTest::addColumn<QString>("tune");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("findings");
        const QString tune = u"测试调"_s;
        QTest::newRow("合谱") << tune << u"天天木木，木木天东。看木红，天天木木风。"_s
                              << u"测试调 · 正体 · 第一部 · 合谱"_s << QString();
        QTest::newRow("中 either way") << tune << u"天天木木，木木天东。木木红，天天木木风。"_s
                                       << u"测试调 · 正体 · 第一部 · 合谱"_s << QString();
        QTest::newRow("平仄") << tune << u"天天木木，天木天东。看木红，天天木天风。"_s
                              << u"测试调 · 正体 · 第一部 · 2处不合"_s << u"平仄@2:1 平仄@4:4"_s;
        QTest::newRow("a rhyme of the wrong class") << tune << u"天天木木，木木天东。看木红，天天木木送。"_s
                                                    << u"测试调 · 正体 · 第一部 · 1处不合"_s << u"平仄@4:5"_s;
        QTest::newRow("出韵") << tune << u"天天木木，木木天东。看木阳，天天木木风。"_s
                              << u"测试调 · 正体 · 第一部 · 1处不合"_s << u"出韵@3:3"_s;
        QTest::newRow("未押韵") << tune << u"天天木木，木木天东。看木阳，天天木木天。"_s
                                << u"测试调 · 正体 · 3处不合"_s << u"未押韵@2:4 未押韵@3:3 未押韵@4:5"_s;
        QTest::newRow("a line too short") << tune << u"天天木，木木天东。看木红，天天木木风。"_s
                                          << u"测试调 · 正体 · 第一部 · 1处不合"_s << u"字数@1:0"_s;
        QTest::newRow("a line missing") << tune << u"天天木木，木木天东。天天木木风。"_s
                                        << u"测试调 · 正体 · 第一部 · 1处不合"_s << u"字数@0:0"_s;
        QTest::newRow("a line too many") << tune << u"天天木木，木木天东。看木红，天天木木风。天天。"_s
                                         << u"测试调 · 正体 · 第一部 · 1处不合"_s << u"字数@5:0"_s;
        // Breaks the corpus makes elsewhere are no fault: two lines as one, one as two, one moved.
        QTest::newRow("two lines as one") << tune << u"天天木木木木天东，看木红，天天木木风。"_s
                                          << u"测试调 · 正体 · 第一部 · 合谱"_s << QString();
        QTest::newRow("one line as two") << tune << u"天天木木，木木天东。看木红，天天、木木风。"_s
                                         << u"测试调 · 正体 · 第一部 · 合谱"_s << QString();
        QTest::newRow("a break moved") << tune << u"天天木，木木木天东。看木红，天天木木风。"_s
                                       << u"测试调 · 正体 · 第一部 · 合谱"_s << QString();
        // A break moved across a rhyme is no reading of the form: the lines are checked as written.
        QTest::newRow("a break moved across a rhyme")
            << tune << u"天天木木，木木天东。看木红天，天木木风。"_s
            << u"测试调 · 又一体（2） · 第一部 · 3处不合"_s << u"平仄@3:3 出韵@3:4 字数@4:2"_s;
        // One character missing or too many is one finding at its place; the rest is checked as written.
        QTest::newRow("a character missing")
            << tune << u"天天木木，木天东。看木红，天天木天风。"_s << u"测试调 · 正体 · 第一部 · 2处不合"_s
            << u"字数@2:2 平仄@4:4"_s;
        QTest::newRow("a character too many") << tune << u"天天木木，木木木天东。看木红，天天木木风。"_s
                                              << u"测试调 · 正体 · 第一部 · 1处不合"_s << u"字数@2:3"_s;
        QTest::newRow("the form that fits") << tune << u"天天木木，木木天东。看木木红，天天木木风。"_s
                                            << u"测试调 · 又一体（2） · 第一部 · 合谱"_s << QString();
        QTest::newRow("by an alias") << u"别调"_s << u"天天木木，木木天东。看木红，天天木木风。"_s
                                     << u"测试调 · 正体 · 第一部 · 合谱"_s << QString();
        QTest::newRow("unknown character") << tune << u"天天木㐀，木木天东。看木红，天天木木风。"_s
                                           << u"测试调 · 正体 · 第一部 · 合谱"_s << u"~未知@1:4"_s;
        // 换韵: each run rhymes in its own 部.
        QTest::newRow("换韵") << u"换调"_s << u"木屋，天竹。木看东，天风。"_s
                              << u"换调 · 正体 · 换韵：第1、2句仄韵第十五部，第3、4句平韵第一部 · 合谱"_s
                              << QString();
        QTest::newRow("换韵 broken") << u"换调"_s << u"木屋，天竹。木看东，天阳。"_s
                                     << u"换调 · 正体 · 第十五部 · 2处不合"_s << u"未押韵@3:3 未押韵@4:2"_s;
        // 平仄通叶: one 部 of the 词林正韵 on both classes.
        QTest::newRow("平仄通叶") << u"通叶调"_s << u"天天东，木木木送。木天风。"_s
                                  << u"通叶调 · 正体 · 第一部 · 合谱"_s << QString();
    }

    void aCiAgainstItsTune()
    {
        QFETCH(QString, tune);
        QFETCH(QString, text);
        QFETCH(QString, summary);
        QFETCH(QString, findings);
        const QList<PoemCheck> checks = checkAs(text, tune);
        QCOMPARE(checks.size(), 1);
        QVERIFY(checks.first().isCi());
        QCOMPARE(describe(checks.first()), findings);
        QCOMPARE(checks.first().summary(), summary);
    }

    void findingsSayWhereAndWhatInPlainChinese()
    {
        const PoemCheck check =
            checkAs(u"天天木木，天木天东。看木阳，天天木木风。天天木木。"_s, u"测试调"_s).first();
        QStringList texts;
        for (const Finding &f : check.sortedFindings())
            texts << f.text;
        QCOMPARE(texts, (QStringList{u"第2句第1字「天」：此处应仄（谱中97%用仄），用了平声"_s,
                                     u"第3句第3字「阳」：出韵，不在第一部（属第二部）"_s,
                                     u"第5句多出：谱中无此句"_s}));
        const PoemCheck missing = checkAs(u"天天木木，木木天东。天天木木风。"_s, u"测试调"_s).first();
        QCOMPARE(missing.findings.first().text, u"缺一句：谱中第3句（3字）无对应"_s);
        const PoemCheck shortLine = checkAs(u"天天木，木木天东。看木红，天天木木风。"_s, u"测试调"_s).first();
        QCOMPARE(shortLine.findings.first().text, u"第1句少一字：谱中此句4字，此处缺第4字"_s);
        const PoemCheck longLine =
            checkAs(u"天天木木，木木木天东。看木红，天天木木风。"_s, u"测试调"_s).first();
        QCOMPARE(longLine.findings.first().text, u"第2句多一字：谱中此句4字，「木」多出"_s);
        const PoemCheck shorter = checkAs(u"天天，木木天东。看木红，天天木木风。"_s, u"测试调"_s).first();
        QCOMPARE(shorter.findings.first().text, u"第1句2字，谱中此句4字"_s);
    }

    void linesCarryThePatternToDraw()
    {
        const PoemCheck check = checkAs(u"天天木木木木天东，看木红，天天、木木风。"_s, u"测试调"_s).first();
        QCOMPARE(check.lines.size(), 4);
        QCOMPARE(check.lines[0].pattern, u"平平仄仄仄仄平平"_s);
        QCOMPARE(check.lines[0].shares, (QList<int>{97, 97, 97, 97, 97, 97, 97, 97}));
        QVERIFY(check.lines[0].rhymed);
        QCOMPARE(check.lines[0].formLine, 0);
        QCOMPARE(check.lines[1].pattern, u"中仄平"_s);
        QCOMPARE(check.lines[1].shares, (QList<int>{60, 97, 97}));
        // A line broken inside a line of the form: only the part that ends it rhymes.
        QCOMPARE(check.lines[2].pattern, u"平平"_s);
        QVERIFY(!check.lines[2].rhymed);
        QCOMPARE(check.lines[3].formLine, 3);
        QCOMPARE(check.lines[3].rhymeRun, 1);
        QVERIFY(check.ciForm.has_value());
        QCOMPARE(check.ciForm->lines.size(), 4);

        const QJsonObject json = QJsonDocument::fromJson(toJson(check)).object();
        QCOMPARE(json.value(u"structure"_s).toString(), u"4,4|3,5"_s);
        QCOMPARE(json.value(u"scheme"_s).toString(), u"平韵"_s);
        const QJsonObject first = json.value(u"lines"_s).toArray().first().toObject();
        QCOMPARE(first.value(u"shares"_s).toArray().size(), 8);
        QCOMPARE(first.value(u"rhymed"_s).toBool(), true);
        const QString text = toText(check);
        QVERIFY2(text.contains(u"○○●●●●○○ 韵\n"_s), qPrintable(text));
        QVERIFY(text.contains(u"【词林正韵】测试调 · 正体 · 第一部 · 合谱"_s));
    }

    void automaticTellsCiFromShi_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("summaries");
        QTest::newRow("a 词 by its lines") << u"天天木木，木木天东。看木红，天天木木风。"_s
                                           << QStringList{u"测试调 · 正体 · 第一部 · 合谱"_s};
        QTest::newRow("its 片 apart") << u"天天木木，木木天东。\n\n看木红，天天木木风。"_s
                                      << QStringList{u"测试调 · 正体 · 第一部 · 合谱"_s};
        // Half a 词 is too little to be recognised, but its title names the 词牌: the lines not yet
        // written are no fault.
        QTest::newRow("a title naming the 词牌")
            << u"别调·春日偶书\n天天木木，木木天东。"_s << QStringList{u"测试调 · 正体 · 合谱"_s};
        QTest::newRow("the same untitled") << u"天天木木，木木天东。"_s << QStringList{u"不合近体诗体裁"_s};
        QTest::newRow("two 词 under their titles")
            << u"测试调\n天天木木，木木天东。\n看木红，天天木木风。\n\n换调·春\n木屋，天竹。木看东，天风。"_s
            << QStringList{u"测试调 · 正体 · 第一部 · 合谱"_s,
                           u"换调 · 正体 · 换韵：第1、2句仄韵第十五部，第3、4句平韵第一部 · 合谱"_s};
        QTest::newRow("a quatrain stays 诗") << u"木木天天木，天天木木东。天天天木木，木木木天风。"_s
                                             << QStringList{u"五言绝句 · 仄起首句不入韵 · 上平一东 · 合律"_s};
        QTest::newRow("no 词牌 fits") << u"天天木，木天。"_s << QStringList{u"不合近体诗体裁"_s};
    }

    void automaticTellsCiFromShi()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, summaries);
        QStringList found;
        for (const PoemCheck &check : checkAs(text, u"自动"_s))
            found << check.summary();
        QCOMPARE(found, summaries);
    }

    void theBookOfTheCheck()
    {
        // 词 rhyme in the 词林正韵 and 诗 in the 平水韵 unless a book is chosen; the 平水韵 keeps 平 and 仄
        // apart, so a 平仄通叶 run is judged tone by tone.
        const QString ci = u"天天东，木木木送。木天风。"_s;
        QCOMPARE(checkAs(ci, u"通叶调"_s).first().book, Book::Cilin);
        const PoemCheck pingshui = checkAs(ci, u"通叶调"_s, Book::Pingshui).first();
        QCOMPARE(pingshui.summary(), u"通叶调 · 正体 · 上平一东 · 合谱"_s);
        QCOMPARE(checkAs(u"木木天天木，天天木木东。天天天木木，木木木天风。"_s, u"五绝"_s).first().book,
                 Book::Pingshui);
        QVERIFY(!checkNamed(m_books, ci, u"无此调"_s));
    }

    // A 词牌 of 御定词谱: its 体 go by the book's names and numbers, the corpus's form after them; where no
    // poem of the corpus stands behind a 体, the book decides, and says on what authority.
    // 庆宫春 is 姜夔's name for 庆春宫 and, in the book, another name of 高阳台, the more written 调: the
    // name leads to the 调 the poets wrote under it.
    void anAliasLeadsToTheTuneWrittenUnderIt()
    {
        BooksFixture fixture(m_dir.filePath(u"date/alias.db"_s));
        inSmallBooks(fixture)
            .tune(u"高阳台"_s, 30)
            .bookAlias(u"庆宫春"_s, u"高阳台"_s)
            .bookAlias(u"庆春泽"_s, u"高阳台"_s)
            .tune(u"庆春宫"_s, 10, {u"庆宫春"_s})
            .bookAlias(u"庆春泽"_s, u"庆春宫"_s);
        const std::shared_ptr<const RhymeBooks> books = loadRhymeBooks(fixture.path());
        QCOMPARE(books->cipu().find(u"庆宫春"_s)->name, u"庆春宫"_s);
        QCOMPARE(books->cipu().find(u"双桨·庆宫春"_s)->name, u"庆春宫"_s);
        // A name no poem is written under: the more written 调.
        QCOMPARE(books->cipu().find(u"庆春泽"_s)->name, u"高阳台"_s);
    }

    // 于中好 is 端正好 in the Song poems and 鹧鸪天 in 纳兰性德's: a title two 调 bear means the one whose
    // form the lines keep.
    void aTitleTwoTunesBearMeansTheOneTheLinesKeep()
    {
        BooksFixture fixture(m_dir.filePath(u"date/shared-alias.db"_s));
        inSmallBooks(fixture)
            .add(u"平水韵"_s, u"下平一先"_s, u"平"_s, u"天"_s)
            .add(u"平水韵"_s, u"入声一屋"_s, u"入"_s, u"木"_s)
            .tune(u"多调"_s, 30)
            .bookAlias(u"同名"_s, u"多调"_s)
            .ciForm(u"多调"_s, 1, 30, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s})
            .tune(u"少调"_s, 10)
            .bookAlias(u"同名"_s, u"少调"_s)
            .bookAlias(u"多调"_s, u"少调"_s)
            .ciForm(u"少调"_s, 1, 10, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"平仄仄平/1"_s});
        const std::shared_ptr<const RhymeBooks> books = loadRhymeBooks(fixture.path());
        const auto tuneOf = [&](const QString &text) {
            return checkNamed(books, text, u"自动"_s)->first().summary().section(u" · "_s, 0, 0);
        };
        QCOMPARE(tuneOf(u"同名\n天天木木，木木天东。天木木风。"_s), u"少调"_s);
        QCOMPARE(tuneOf(u"同名·题\n天天木木，木木天东。木木风。"_s), u"多调"_s);
        // One 词牌's own name that another bears too (乌夜啼, which poets wrote 相见欢 under).
        QCOMPARE(tuneOf(u"多调\n天天木木，木木天东。天木木风。"_s), u"少调"_s);
        QCOMPARE(tuneOf(u"多调\n天天木木，木木天东。木木风。"_s), u"多调"_s);
    }

    void theBooksFormsSpeakWithTheirAuthority()
    {
        BooksFixture fixture(m_dir.filePath(u"date/book.db"_s));
        inSmallBooks(fixture)
            .tune(u"谱调"_s, 2)
            .bookForm(u"谱调"_s, 1, 0, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s}, u"甲"_s, true)
            .bookForm(u"谱调"_s, 2, 0, {u"平平仄仄仄"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s}, u"乙"_s, false)
            .ciForm(u"谱调"_s, 3, 2, {u"平平仄"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s});
        const std::shared_ptr<const RhymeBooks> books = loadRhymeBooks(fixture.path());
        const CiTune &tune = *books->cipu().find(u"谱调"_s);
        QStringList names;
        for (const CiForm &form : tune.forms)
            names << form.name() + u" "_s + form.evidence();
        QCOMPARE(names,
                 (QStringList{u"正体（甲） 据谱（例词及注）"_s, u"又一体（乙） 据谱（例词，无别首可校）"_s,
                              u"又一体（3） 据 2 首，1 家"_s}));
        QCOMPARE(tune.forms[0].lines[0].positions[1].authority, Authority::BookNote);

        // Against the note's rule a 仄 for the book's 平 is a fault; where the book had no poem to compare,
        // a warning.
        const PoemCheck byNote = checkNamed(books, u"天木木木，木木天东。木木风。"_s, u"谱调:1"_s)->first();
        QCOMPARE(byNote.summary(), u"谱调 · 正体（甲） · 第一部 · 1处不合"_s);
        QCOMPARE(byNote.findings.first().text, u"第1句第2字「木」：谱作平，用了仄声（据谱，例词及注）"_s);
        const PoemCheck byExample =
            checkNamed(books, u"天木木木木，木木天东。木木风。"_s, u"谱调:2"_s)->first();
        QCOMPARE(describe(byExample), u"~平仄@1:2"_s);
        QVERIFY(byExample.findings.first().text.endsWith(u"（例词之声，谱无别首可校）"_s));

        const QJsonObject json = QJsonDocument::fromJson(toJson(byNote)).object();
        QCOMPARE(json.value(u"source"_s).toString(), u"book"_s);
        QCOMPARE(json.value(u"author"_s).toString(), u"甲"_s);
        QCOMPARE(json.value(u"book_number"_s).toInt(), 1);
        QCOMPARE(
            parseRequest(books->cipu(), u"谱调:4"_s).error,
            u"没有「谱调:4」这一体：谱调共 3 体（谱调:1 为正体，谱调:2 为又一体，谱调:3 为词作另见之体）"_s);
    }

    // Where the poems laid over a 体 all but agree against the book's own example, the book allows what
    // they avoid: a warning that says so. Where they differ at many places, the poems rule.
    void thePoemsYieldToTheBooksExampleAtAFewPlaces()
    {
        BooksFixture fixture(m_dir.filePath(u"date/dissent.db"_s));
        inSmallBooks(fixture)
            .tune(u"例调"_s, 60)
            .bookForm(u"例调"_s, 1, 30, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s}, u"甲"_s, true)
            .bookForm(u"例调"_s, 2, 30, {u"平平平平平"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s}, u"乙"_s, true)
            .bookForm(u"例调"_s, 3, 30, {u"平平平/1"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s}, u"丙"_s, true)
            .bookForm(u"例调"_s, 4, 30, {u"平平平/1"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s}, u"丁"_s, true)
            .bookWritesOther(u"例调"_s, 1, 1, 2)
            .bookEndsUnrhymed(u"例调"_s, 3, 2)
            .bookEndsUnrhymed(u"例调"_s, 4, 2);
        for (int character = 1; character <= 4; ++character)
            fixture.bookWritesOther(u"例调"_s, 2, 1, character);
        // Places and line ends count together: one unrhymed end and three places are too many.
        for (int character = 1; character <= 3; ++character)
            fixture.bookWritesOther(u"例调"_s, 4, 1, character);
        const std::shared_ptr<const RhymeBooks> books = loadRhymeBooks(fixture.path());

        const PoemCheck yielded = checkNamed(books, u"天木木木，木木天东。木木风。"_s, u"例调:1"_s)->first();
        QCOMPARE(describe(yielded), u"~平仄@1:2"_s);
        QVERIFY2(yielded.findings.first().text.endsWith(u"；谱之例词亦用仄声"_s),
                 qPrintable(yielded.findings.first().text));
        const CiPosition &place = books->cipu().find(u"例调"_s)->forms[0].lines[0].positions[1];
        QVERIFY(
            place.tip(30).startsWith(u"宜平 "_s + QString::number(place.percent()) + u"%，谱之例词作仄"_s));

        const PoemCheck ruled = checkNamed(books, u"木天天天天，木木天东。木木风。"_s, u"例调:2"_s)->first();
        QCOMPARE(describe(ruled), u"平仄@1:1"_s);

        const QString unrhymed = u"天天东，木木天天。木木风。"_s;
        const PoemCheck allowed = checkNamed(books, unrhymed, u"例调:3"_s)->first();
        QCOMPARE(describe(allowed), u"~出韵@2:4"_s);
        QVERIFY2(allowed.findings.first().text.contains(u"谱之例词此处不押韵"_s),
                 qPrintable(allowed.findings.first().text));
        QCOMPARE(describe(checkNamed(books, unrhymed, u"例调:4"_s)->first()), u"出韵@2:4"_s);
    }

    void recognitionNamesTheTune()
    {
        const CiChecker checker(m_books);
        const Poem poem = readPoems(u"天天木木，木木天东。看木红，天天木木风。"_s).first();
        QCOMPARE(checker.recognise(poem)->name, u"测试调"_s);
        const std::optional<CiAlignment> a = checker.bestForm(poem, nullptr);
        QCOMPARE(a->structureFaults, 0);
        QCOMPARE(a->toneFaults, 0);
        QVERIFY(!checker.recognise(readPoems(u"天天木，木天。天天天天天天天天天。"_s).first()));

        // One line too many is one fault of structure however long it is.
        const Poem longer =
            readPoems(u"天天木木，木木天东。看木红，天天木木风。"_s + QString(1200, u'天')).first();
        QCOMPARE(checker.bestForm(longer, nullptr)->structureFaults, 1);
        QCOMPARE(checker.recognise(longer)->name, u"测试调"_s);
    }

    // A 体 of the book no poem of the corpus wrote is recognised beside the corpus's forms of the same
    // lengths, by how well the lines keep each; a form of one poem only where no other fits as well.
    void theBooksFormsAreRecognisedBesideTheCorpus()
    {
        BooksFixture fixture(m_dir.filePath(u"date/recognise.db"_s));
        inSmallBooks(fixture)
            .tune(u"甲调"_s, 2)
            .ciForm(u"甲调"_s, 1, 2, {u"平平仄仄"_s, u"仄仄平平/1"_s, u"仄仄平/1"_s})
            .tune(u"乙调"_s, 0)
            .bookForm(u"乙调"_s, 1, 0, {u"仄仄平平"_s, u"平仄仄平/1"_s, u"平平平/1"_s}, u"乙"_s, false)
            .tune(u"丙调"_s, 1)
            .ciForm(u"丙调"_s, 1, 1, {u"仄仄平平"_s, u"平仄仄平/1"_s, u"平平平/1"_s});
        const CiChecker checker(loadRhymeBooks(fixture.path()));
        QCOMPARE(checker.recognise(readPoems(u"木木天天，天木木东。天天风。"_s).first())->name, u"乙调"_s);
        QCOMPARE(checker.recognise(readPoems(u"天天木木，木木天东。木木风。"_s).first())->name, u"甲调"_s);
    }
};

QTEST_GUILESS_MAIN(CiTest)
#include "test_ci.moc"
