// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/builddb/fixtures.h"
#include "tests/testmain.h"
#include "tools/common/builderror.h"
#include "tools/dictionary/pinyin.h"
#include "tools/dictionary/rhymes.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace builddb;
using namespace Qt::StringLiterals;

class RhymesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    SourcePaths paths() const { return {m_dir.path(), m_dir.path() + u"/unihan"_s}; }

    const RhymeRow *findRow(const RhymeTables &tables, const QString &syllable, const QString &tone)
    {
        for (const QList<RhymeRow> *list : {&tables.plain, &tables.retroflex})
            for (const RhymeRow &row : *list)
                if (row.syllable == syllable && row.tone == tone)
                    return &row;
        return nullptr;
    }

private slots:
    void finalOfSpelling_data()
    {
        QTest::addColumn<QString>("syllable");
        QTest::addColumn<QString>("final");
        const QList<std::pair<QString, QString>> cases = {
            // zero-initial spellings
            {u"yi"_s, u"i"_s},
            {u"wu"_s, u"u"_s},
            {u"ya"_s, u"ia"_s},
            {u"wa"_s, u"ua"_s},
            {u"ye"_s, u"ie"_s},
            {u"wo"_s, u"uo"_s},
            {u"yao"_s, u"iao"_s},
            {u"wai"_s, u"uai"_s},
            {u"yan"_s, u"ian"_s},
            {u"wan"_s, u"uan"_s},
            {u"yin"_s, u"in"_s},
            {u"yang"_s, u"iang"_s},
            {u"wang"_s, u"uang"_s},
            {u"ying"_s, u"ing"_s},
            // spellings that rhyme elsewhere
            {u"wei"_s, u"ui"_s},
            {u"gui"_s, u"ui"_s},
            {u"wen"_s, u"un"_s},
            {u"dun"_s, u"un"_s},
            {u"you"_s, u"ou"_s},
            {u"liu"_s, u"ou"_s},
            {u"yong"_s, u"ong"_s},
            {u"jiong"_s, u"ong"_s},
            {u"xiong"_s, u"ong"_s},
            {u"yu"_s, u"ü"_s},
            {u"ju"_s, u"ü"_s},
            {u"qu"_s, u"ü"_s},
            {u"xu"_s, u"ü"_s},
            {u"lü"_s, u"ü"_s},
            {u"nü"_s, u"ü"_s},
            {u"yue"_s, u"üe"_s},
            {u"jue"_s, u"üe"_s},
            {u"que"_s, u"üe"_s},
            {u"xue"_s, u"üe"_s},
            {u"lüe"_s, u"üe"_s},
            {u"nüe"_s, u"üe"_s},
            {u"yuan"_s, u"ian"_s},
            {u"juan"_s, u"ian"_s},
            {u"quan"_s, u"ian"_s},
            {u"xuan"_s, u"ian"_s},
            {u"yun"_s, u"in"_s},
            {u"jun"_s, u"in"_s},
            {u"qun"_s, u"in"_s},
            {u"xun"_s, u"in"_s},
            {u"zhi"_s, u"i"_s},
            {u"chi"_s, u"i"_s},
            {u"shi"_s, u"i"_s},
            {u"ri"_s, u"i"_s},
            {u"zi"_s, u"i"_s},
            {u"ci"_s, u"i"_s},
            {u"si"_s, u"i"_s},
            {u"er"_s, u"i"_s},
            {u"ê"_s, u"ie"_s},
            {u"yo"_s, u"o"_s},
            {u"lo"_s, u"o"_s},
            {u"weng"_s, u"eng"_s},
            // written-out finals
            {u"ba"_s, u"a"_s},
            {u"zhuang"_s, u"uang"_s},
            {u"guo"_s, u"uo"_s},
            {u"bo"_s, u"o"_s},
            {u"ang"_s, u"ang"_s},
            {u"lu"_s, u"u"_s},
            {u"lun"_s, u"un"_s},
            {u"xia"_s, u"ia"_s},
        };
        for (const auto &[syllable, final] : cases)
            QTest::newRow(qPrintable(syllable)) << syllable << final;
    }

    void finalOfSpelling()
    {
        QFETCH(QString, syllable);
        QFETCH(QString, final);
        QCOMPARE(finalOf(syllable), final);
        QVERIFY(finals().contains(final));
    }

    void finalsAreThirtyAndUnmappableSyllablesGiveNone()
    {
        QCOMPARE(QSet<QString>(finals().begin(), finals().end()).size(), 30);
        for (const QString &odd : {u"yai"_s, u"wou"_s, u"lüo"_s, u"bue"_s, u"ng"_s})
            QVERIFY2(finalOf(odd).isEmpty(), qPrintable(odd));
    }

    void parsesTonedPinyinInEitherNormalForm()
    {
        QCOMPARE(parseReading(u"cháng"), (Reading{u"chang"_s, 2}));
        QCOMPARE(parseReading(u"lǜ"), (Reading{u"lü"_s, 4}));
        QCOMPARE(parseReading(u"lu\u0308\u0300"), (Reading{u"lü"_s, 4})); // combining marks
        QCOMPARE(parseReading(u"ê\u0304"), (Reading{u"ê"_s, 1}));
        QCOMPARE(parseReading(u"ma"), (Reading{u"ma"_s, 0}));
        QCOMPARE(parseReading(u"nǚe").value().key(), u"nüe3"_s);
        QVERIFY(!parseReading(u"ma1"));
        QVERIFY(!parseReading(u"Ma"));
        QVERIFY(!hasVowel(u"ng") && !hasVowel(u"hm") && !hasVowel(u"hng") && !hasVowel(u"m"));
        QVERIFY(hasVowel(u"ê") && hasVowel(u"lü"));
    }

    void retroflexInitialsChooseTheTable()
    {
        for (const char16_t *s : {u"zhi", u"chang", u"shui", u"ri", u"ruan"})
            QVERIFY2(isRetroflex(s), qPrintable(QString::fromUtf16(s)));
        for (const char16_t *s : {u"zi", u"cang", u"sui", u"er", u"a", u"nü"})
            QVERIFY2(!isRetroflex(s), qPrintable(QString::fromUtf16(s)));
        QCOMPARE(toneName(1), u"阴平"_s);
        QCOMPARE(toneName(2), u"阳平"_s);
        QCOMPARE(toneName(3), u"上声"_s);
        QCOMPARE(toneName(4), u"去声"_s);
    }

    void readsUnihanKeepingOnlyUsableReadings()
    {
        QByteArray mappings, readings;
        mappings += fixtures::unihanLine(U'乐', "kTGH", u"2013:287"_s);
        mappings += fixtures::unihanLine(U'呣', "kTGH", u"2013:6000"_s);
        mappings += fixtures::unihanLine(U'𠙶', "kTGH", u"2013:8000"_s); // beyond the BMP
        readings += fixtures::unihanLine(U'乐', "kTGHZ2013", u"212.030:lè 453.020:yuè"_s);
        readings += fixtures::unihanLine(U'乐', "kMandarin", u"lè"_s);
        readings += fixtures::unihanLine(U'呣', "kTGHZ2013", u"100.010:ḿ,m̀ 100.020:mo"_s);
        readings += fixtures::unihanLine(U'𠙶', "kTGHZ2013", u"300.010:ju\u0301"_s);
        readings += fixtures::unihanLine(U'说', "kTGHZ2013", u"400.010:shuō"_s); // not in the standard list
        fixtures::writeUnihan(paths().unihan, mappings, readings);

        const HanziTable table = readUnihan(paths());
        QCOMPARE(table.size(), 3);
        QCOMPARE(table[U'乐'].rank, 287);
        QVERIFY(table[U'乐'].isLevelOne());
        QCOMPARE(table[U'乐'].readings, (QList<Reading>{{u"le"_s, 4}, {u"yue"_s, 4}}));
        QCOMPARE(table[U'乐'].mandarin, (Reading{u"le"_s, 4}));
        QVERIFY(table[U'呣'].readings.isEmpty());                        // m and neutral mo are left out
        QCOMPARE(table[U'𠙶'].readings, (QList<Reading>{{u"ju"_s, 2}})); // combining acute
        QVERIFY(!table[U'𠙶'].isLevelOne());
    }

    void malformedUnihanNamesTheFile()
    {
        fixtures::writeUnihan(paths().unihan, fixtures::unihanLine(U'八', "kTGH", u"1999"_s), {});
        try {
            readUnihan(paths());
            QFAIL("a bad kTGH value was accepted");
        } catch (const BuildError &e) {
            QVERIFY(e.file().endsWith(u"Unihan_OtherMappings.txt.bz2"_s));
        }
        fixtures::writeUnihan(paths().unihan, fixtures::unihanLine(U'八', "kTGH", u"2013:1"_s), {});
        fixtures::writeFile(paths().unihanFile(u"Unihan_Readings.txt.bz2"_s), "not bzip2 at all");
        try {
            readUnihan(paths());
            QFAIL("a file that is not bzip2 was accepted");
        } catch (const BuildError &e) {
            QVERIFY(e.file().endsWith(u"Unihan_Readings.txt.bz2"_s));
        }
    }

    void weightsCountOnlyWordsWithTheReading()
    {
        HanziTable table;
        table.insert(U'场', Hanzi{367, {{u"chang"_s, 2}, {u"chang"_s, 3}}, Reading{u"chang"_s, 3}});
        fixtures::writeJson(m_dir.filePath(u"complete.json"_s),
                            QJsonObject{{u"场"_s, QJsonArray{u"chǎng"_s, 4e-9}},
                                        {u"一场"_s, QJsonArray{u"yì chǎng"_s, 2e-9}},
                                        {u"场院"_s, QJsonArray{u"cháng yuàn"_s, 1e-11}},
                                        {u"场儿"_s, QJsonArray{u"chǎng"_s, 5e-9}}}); // misaligned: ignored
        const ReadingWeights w = readReadingWeights(m_dir.filePath(u"complete.json"_s), table);
        QCOMPARE(w.weight(U'场', {u"chang"_s, 3}), 6e-9);
        QCOMPARE(w.weight(U'场', {u"chang"_s, 2}), 1e-11);
        QCOMPARE(w.weight(U'一', {u"yi"_s, 4}), 0.0); // not a character of the table
    }

    void splitsCommonFromRareMostFrequentFirst()
    {
        HanziTable table;
        // Level 1, polyphonic: kMandarin reading, a frequent second reading, a rare third.
        table.insert(U'行',
                     Hanzi{100, {{u"xing"_s, 2}, {u"hang"_s, 2}, {u"heng"_s, 2}}, Reading{u"xing"_s, 2}});
        table.insert(U'形', Hanzi{200, {{u"xing"_s, 2}}, Reading{u"xing"_s, 2}});
        table.insert(U'刑', Hanzi{300, {{u"xing"_s, 2}}, Reading{u"xing"_s, 2}});
        table.insert(U'陉', Hanzi{7000, {{u"xing"_s, 2}}, Reading{u"xing"_s, 2}}); // level 3
        table.insert(U'荥', Hanzi{6800, {{u"xing"_s, 2}}, Reading{u"xing"_s, 2}});
        table.insert(U'场', Hanzi{367, {{u"chang"_s, 2}, {u"chang"_s, 3}}, Reading{u"chang"_s, 3}});
        table.insert(U'长', Hanzi{127, {{u"chang"_s, 2}, {u"zhang"_s, 3}}, Reading{u"zhang"_s, 3}});
        table.insert(U'吭', Hanzi{3000, {{u"hang"_s, 2}, {u"keng"_s, 1}}, Reading{u"keng"_s, 1}});

        ReadingWeights w;
        w.add(U'行', {u"xing"_s, 2}, 3e-8);
        w.add(U'行', {u"hang"_s, 2}, 4e-9);
        w.add(U'行', {u"heng"_s, 2}, 1e-12);
        w.add(U'形', {u"xing"_s, 2}, 5e-8);
        w.add(U'刑', {u"xing"_s, 2}, 1e-9);
        w.add(U'陉', {u"xing"_s, 2}, 1e-12);
        w.add(U'荥', {u"xing"_s, 2}, 1e-11);
        w.add(U'场', {u"chang"_s, 3}, 1e-7);
        w.add(U'场', {u"chang"_s, 2}, 1e-12); // common all the same: the override list
        w.add(U'长', {u"chang"_s, 2}, 2e-7);  // the most frequent reading, though not kMandarin
        w.add(U'长', {u"zhang"_s, 3}, 1e-7);
        w.add(U'吭', {u"keng"_s, 1}, 2e-11);
        w.add(U'吭', {u"hang"_s, 2}, 3e-11); // its most frequent reading

        const RhymeTables t = buildRhymeTables(table, w, u"readings"_s);
        const RhymeRow *xing = findRow(t, u"xing"_s, u"阳平"_s);
        QVERIFY(xing);
        QCOMPARE(xing->final, u"ing"_s);
        QCOMPARE(xing->common, u"形行刑"_s);
        QCOMPARE(xing->rare, u"荥陉"_s);
        QCOMPARE(findRow(t, u"hang"_s, u"阳平"_s)->common, u"行吭"_s);
        QCOMPARE(findRow(t, u"heng"_s, u"阳平"_s)->common, QString());
        QCOMPARE(findRow(t, u"heng"_s, u"阳平"_s)->rare, u"行"_s);
        QCOMPARE(findRow(t, u"keng"_s, u"阴平"_s)->common, u"吭"_s); // its kMandarin reading
        QCOMPARE(findRow(t, u"chang"_s, u"阳平"_s)->common, u"长场"_s);
        QCOMPARE(findRow(t, u"chang"_s, u"上声"_s)->common, u"场"_s);
        QCOMPARE(findRow(t, u"zhang"_s, u"上声"_s)->common, u"长"_s);
        QCOMPARE(t.commonCount, 10);
        QCOMPARE(t.rareCount, 3);

        // 卷舌音 holds the zh/ch/sh/r rows, 平舌音 the others, in finals order.
        QStringList retroflex, plain;
        for (const RhymeRow &r : t.retroflex)
            retroflex << r.syllable + r.tone;
        for (const RhymeRow &r : t.plain)
            plain << r.syllable + r.tone;
        QCOMPARE(retroflex, (QStringList{u"chang阳平"_s, u"chang上声"_s, u"zhang上声"_s}));
        QCOMPARE(plain, (QStringList{u"hang阳平"_s, u"heng阳平"_s, u"keng阴平"_s, u"xing阳平"_s}));
    }

    void unmappableSyllableFailsNamingTheSource()
    {
        HanziTable table;
        table.insert(U'㖞', Hanzi{7000, {{u"yai"_s, 2}}, std::nullopt});
        try {
            buildRhymeTables(table, ReadingWeights(), u"/x/Unihan_Readings.txt.bz2"_s);
            QFAIL("an unmappable syllable was accepted");
        } catch (const BuildError &e) {
            QCOMPARE(e.file(), u"/x/Unihan_Readings.txt.bz2"_s);
            QVERIFY(e.reason().contains(u"yai"_s));
        }
    }
};

SHIHAI_TEST_MAIN(RhymesTest)
#include "tst_rhymes.moc"
