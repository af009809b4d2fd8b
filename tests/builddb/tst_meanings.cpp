// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/builddb/fixtures.h"
#include "tests/testmain.h"
#include "tools/common/builderror.h"
#include "tools/dictionary/meanings.h"

#include <QStandardPaths>
#include <QTemporaryDir>

using namespace builddb;
using namespace Qt::StringLiterals;

class MeaningsTest : public QObject {
    Q_OBJECT

private:
    static QString meaningOf(const QList<Entry> &entries, const QString &key, bool *found = nullptr)
    {
        for (const Entry &e : entries) {
            if (e.key == key) {
                if (found)
                    *found = true;
                return e.meaning;
            }
        }
        if (found)
            *found = false;
        return {};
    }

    static QStringList keys(const QList<Entry> &entries)
    {
        QStringList out;
        for (const Entry &e : entries)
            out << e.key;
        return out;
    }

private slots:
    void cleansMeanings_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("clean");
        const QList<std::pair<QString, QString>> merged = {
            {u"◇"_s, u"后"_s},  {u"⊥"_s, u"和"_s},  {u"∠"_s, u"合"_s}, {u"◆"_s, u"呼"_s}, {u"●"_s, u"厚"_s},
            {u"『"_s, u"汉"_s}, {u"〓"_s, u"湖"_s}, {u"∮"_s, u"河"_s}, {u"∥"_s, u"何"_s}, {u"≮"_s, u"黑"_s},
            {u"≤"_s, u"很"_s},  {u"♂"_s, u"横"_s},  {u"♀"_s, u"衡"_s},
        };
        for (const auto &[symbol, next] : merged)
            QTest::newRow(qPrintable(u"fault "_s + symbol))
                << u"甲乙"_s + symbol + u"丙。"_s << u"甲乙。"_s + next + u"丙。"_s;
        QTest::newRow("punctuation") << u"甲﹐乙﹑丙﹕丁﹔戊。"_s << u"甲，乙、丙：丁；戊。"_s;
        QTest::newRow("real symbols stay") << u"∞○°～"_s << u"∞○°～"_s;
        QTest::newRow("lone 1.") << u"1.山间的小路。"_s << u"山间的小路。"_s;
        QTest::newRow("senses") << u"1.鞋子。 \n2.借指脚步。 \n3.行走。"_s << u"①鞋子。②借指脚步。③行走。"_s;
        QTest::newRow("senses without line breaks") << u"1.甲。 2.乙。"_s << u"①甲。②乙。"_s;
        QTest::newRow("number broken by a line") << u"长约\n2.5千米。"_s << u"长约2.5千米。"_s;
        QTest::newRow("number in a sense") << u"1.长 2.5千米。 \n2.乙。"_s << u"①长 2.5千米。②乙。"_s;
        QTest::newRow("twelfth sense") << u"1.a \n2.b \n3.c \n4.d \n5.e 6.f 7.g 8.h 9.i 10.j 11.k 1\n2.l"_s
                                       << u"①a②b③c④d⑤e⑥f⑦g⑧h⑨i⑩j⑪k⑫l"_s;
        QTest::newRow("quotes") << u"称作\"甲\"或\"乙\"。"_s << u"称作“甲”或“乙”。"_s;
        QTest::newRow("unpaired quote stays") << u"称作\"甲。"_s << u"称作\"甲。"_s;
        QTest::newRow("lone closing quote stays") << u"同甲乙”。"_s << u"同甲乙”。"_s;
    }

    void cleansMeanings()
    {
        QFETCH(QString, raw);
        QFETCH(QString, clean);
        QCOMPARE(cleanMeaning(raw), clean);
    }

    void findsPureReferences()
    {
        QCOMPARE(referencedEntry(u"见“山路”。"_s), u"山路"_s);
        QCOMPARE(referencedEntry(u"见“山路”"_s), u"山路"_s);
        QCOMPARE(referencedEntry(u"①小路。②见“山路”。"_s), QString());
        QCOMPARE(referencedEntry(u"参见“山路”。另见他处。"_s), QString());
    }

    void buildsWordsAndIdioms()
    {
        const QHash<QString, QString> explanations = {
            {u"山高水长"_s, u"形容品德高洁◇比喻恩泽深厚。"_s},
            {u"山路"_s, u"1.山间的小路。"_s},
            {u"山径"_s, u"1.见\"山路\"。"_s},     // resolved to 山路's meaning
            {u"山蹊"_s, u"1.见\"山径\"。"_s},     // a chain of references
            {u"山隈"_s, u"1.见\"山隈\"。"_s},     // refers to itself: kept
            {u"山岨"_s, u"1.见\"山无此词\"。"_s}, // refers to nothing: kept
            {u"山d"_s, u"1.甲。"_s},              // not Chinese
            {u"山·水"_s, u"1.甲。"_s},            // not Chinese
            {u"山"_s, u"1.大山。"_s},             // one character
            {u"山外青山楼外楼"_s, u"1.甲。"_s},   // seven characters
            {u"山𡶴"_s, u"1.山名。"_s},           // beyond the BMP, still Chinese
            {u"山□"_s, u"1.甲。"_s},
            {u"山崖"_s, u"1.山的■边。"_s},    // a missing glyph
            {u"山崕"_s, u"1.见\"山崖\"。"_s}, // leads to a missing glyph
        };
        const QStringList idioms = {u"山高水长"_s, u"山穷水尽"_s, u"山高水长"_s};
        const QStringList modern = {u"山顶"_s, u"山路"_s, u"山高水长"_s, u"山"_s};

        const Lexicon lex = buildLexicon(explanations, idioms, modern);
        QCOMPARE(keys(lex.idioms), (QStringList{u"山高水长"_s, u"山穷水尽"_s}));
        QCOMPARE(meaningOf(lex.idioms, u"山高水长"_s), u"形容品德高洁。后比喻恩泽深厚。"_s);
        QCOMPARE(meaningOf(lex.idioms, u"山穷水尽"_s), QString());

        QCOMPARE(keys(lex.words),
                 (QStringList{u"山岨"_s, u"山径"_s, u"山路"_s, u"山蹊"_s, u"山隈"_s, u"山顶"_s, u"山𡶴"_s}));
        QCOMPARE(meaningOf(lex.words, u"山路"_s), u"山间的小路。"_s);
        QCOMPARE(meaningOf(lex.words, u"山径"_s), u"山间的小路。"_s);
        QCOMPARE(meaningOf(lex.words, u"山蹊"_s), u"山间的小路。"_s);
        QCOMPARE(meaningOf(lex.words, u"山隈"_s), u"见“山隈”。"_s);
        QCOMPARE(meaningOf(lex.words, u"山岨"_s), u"见“山无此词”。"_s);
        QCOMPARE(meaningOf(lex.words, u"山顶"_s), QString());
        QCOMPARE(lex.wordsWithoutMeaning, 1);
        QCOMPARE(lex.referencesResolved, 2);
    }

    void readsTheIdiomListThroughNode()
    {
        if (QStandardPaths::findExecutable(u"node"_s).isEmpty())
            QSKIP("node is not installed");
        QTemporaryDir dir;
        const QString package = dir.filePath(u"cnchar-idiom"_s);
        fixtures::writeFile(package + u"/package.json"_s, R"({"main":"bundle.js"})");
        fixtures::writeFile(package + u"/bundle.js"_s,
                            "module.exports = {dict: {idiom: ['\u5c71\u9ad8\u6c34\u957f', 'ab']}};");
        QCOMPARE(readIdiomList(package), (QStringList{u"山高水长"_s, u"ab"_s}));

        fixtures::writeFile(package + u"/bundle.js"_s, "module.exports = {dict: {}};");
        QVERIFY_THROWS_EXCEPTION(BuildError, readIdiomList(package));
        fixtures::writeFile(package + u"/bundle.js"_s, "this is not javascript (");
        QVERIFY_THROWS_EXCEPTION(BuildError, readIdiomList(package));
        try {
            readIdiomList(dir.filePath(u"absent"_s));
            QFAIL("a missing package was accepted");
        } catch (const BuildError &e) {
            QVERIFY(e.file().endsWith(u"absent/package.json"_s));
        }
    }
};

SHIHAI_TEST_MAIN(MeaningsTest)
#include "tst_meanings.moc"
