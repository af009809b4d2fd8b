// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/sqlite.h"
#include "tests/builddb/fixtures.h"
#include "tests/testmain.h"
#include "tools/common/builderror.h"
#include "tools/common/converter.h"
#include "tools/common/storedversion.h"
#include "tools/dictionary/poemtext.h"
#include "tools/rhymebooks/reference.h"
#include "tools/rhymebooks/rhymebooks.h"
#include "tools/rhymebooks/rhymegroups.h"
#include "tools/rhymebooks/variants.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace builddb;
using namespace Qt::StringLiterals;
using fixtures::query;

namespace {

// The groups of one character in one book, as "上平十四寒平" strings, sorted.
QStringList groupsOf(const Book &book, char32_t hanzi)
{
    QStringList out;
    for (const BookChar &c : book.chars)
        if (c.hanzi == hanzi)
            out << c.group + c.tone;
    out.sort();
    return out;
}

QString ungroupedOf(const Book &book, char32_t hanzi)
{
    for (const UngroupedChar &c : book.ungrouped)
        if (c.hanzi == hanzi)
            return QString(c.tone) + c.basis;
    return {};
}

Hanzi standardChar(int rank, std::initializer_list<Reading> readings)
{
    Hanzi h;
    h.rank = rank;
    h.readings = readings;
    return h;
}

GuangyunEntry entry(char32_t hanzi, Tone tone, const QString &rhyme, QChar hu = {})
{
    return {hanzi, {tone, rhyme, hu, 1}};
}

} // namespace

class RhymeBooksTest : public QObject {
    Q_OBJECT

private:
    Converter m_t2s{u"t2s.json"_s};

    // A few entries shaped like the 廣韻's, a few standard characters with their modern readings.
    RhymeBookInputs smallSources() const
    {
        RhymeBookInputs in;
        in.guangyun = {
            entry(U'東', Tone::Ping, u"東"_s),         entry(U'看', Tone::Ping, u"寒"_s, u'開'),
            entry(U'看', Tone::Qu, u"寒"_s, u'開'),    entry(U'何', Tone::Ping, u"歌"_s, u'開'),
            entry(U'何', Tone::Shang, u"歌"_s, u'開'), // the rare 負荷 reading
            entry(U'聽', Tone::Ping, u"青"_s),         entry(U'聽', Tone::Qu, u"青"_s),
            entry(U'听', Tone::Shang, u"殷"_s), // the old 听 (yǐn), merged into 听 by simplification
            entry(U'國', Tone::Ru, u"登"_s, u'合'),    entry(U'峯', Tone::Ping, u"鍾"_s),
            entry(U'思', Tone::Ping, u"之"_s),         entry(U'思', Tone::Qu, u"之"_s),
            entry(U'灰', Tone::Ping, u"灰"_s),         entry(U'來', Tone::Ping, u"咍"_s),
            entry(U'會', Tone::Qu, u"泰"_s, u'合'),    entry(U'帶', Tone::Qu, u"泰"_s, u'開'),
            entry(U'街', Tone::Ping, u"佳"_s, u'開'),  entry(U'涯', Tone::Ping, u"佳"_s, u'開'),
            entry(U'門', Tone::Ping, u"魂"_s),         entry(U'言', Tone::Ping, u"元"_s, u'開'),
            entry(U'靨', Tone::Ru, u"鹽"_s), // a dimple; the 上 that 词 rhymes with 脸 is ours
        };
        const auto r = [](const char *syllable, int tone) {
            return Reading{QString::fromUtf8(syllable), tone};
        };
        in.standard = {
            {U'东', standardChar(100, {r("dong", 1)})},
            {U'看', standardChar(200, {r("kan", 4), r("kan", 1)})},
            {U'何', standardChar(300, {r("he", 2)})},
            {U'听', standardChar(400, {r("ting", 1)})},
            {U'国', standardChar(500, {r("guo", 2)})},
            {U'峰', standardChar(600, {r("feng", 1)})},
            {U'思', standardChar(700, {r("si", 1)})},
            {U'们', standardChar(800, {r("men", 2)})},
            {U'擦', standardChar(900, {r("ca", 1)})},
            {U'啪', standardChar(4000, {r("pa", 1)})},
            {U'灰', standardChar(1000, {r("hui", 1)})},
            {U'来', standardChar(1001, {r("lai", 2)})},
            {U'会', standardChar(1002, {r("hui", 4)})},
            {U'带', standardChar(1003, {r("dai", 4)})},
            {U'街', standardChar(1004, {r("jie", 1)})},
            {U'涯', standardChar(1005, {r("ya", 2)})},
            {U'门', standardChar(1006, {r("men", 2)})},
            {U'言', standardChar(1007, {r("yan", 2)})},
            {U'哥', standardChar(1008, {r("ge", 1)})},
            {U'知', standardChar(1009, {r("zhi", 1)})},
            {U'儿', standardChar(1010, {r("er", 2)})},
            {U'靥', standardChar(1011, {r("ye", 4)})},
        };
        in.unihan.variants.insert(U'峰', U'峯');
        in.unihan.traditional.insert(U'国', U'國');
        in.unihan.cantonese.insert(U'啪', {u"paak1"_s});
        in.unihan.cantonese.insert(U'们', {u"mun4"_s});
        const Converter &t2s = m_t2s;
        in.simplifiers = {[&t2s](const QString &s) { return t2s(s); }};
        return in;
    }

private slots:
    void pingshuiGroupsFollowTheRhymesOfTheGuangyun()
    {
        QCOMPARE(pingshuiGroups().size(), 106);
        const auto name = [](Tone tone, const char16_t *rhyme) {
            const int g = pingshuiGroupOf(tone, QString::fromUtf16(rhyme));
            return g < 0 ? QString() : pingshuiGroups().at(g).name;
        };
        QCOMPARE(name(Tone::Ping, u"東"), u"上平一东"_s);
        QCOMPARE(name(Tone::Ping, u"鍾"), u"上平二冬"_s);
        QCOMPARE(name(Tone::Ping, u"麻"), u"下平六麻"_s);
        QCOMPARE(name(Tone::Ping, u"寒"), u"上平十四寒"_s);
        QCOMPARE(name(Tone::Qu, u"寒"), u"去声十五翰"_s);
        QCOMPARE(name(Tone::Shang, u"登"), u"上声二十四迥"_s);
        QCOMPARE(name(Tone::Qu, u"祭"), u"去声八霁"_s);
        QCOMPARE(name(Tone::Qu, u"廢"), u"去声十一队"_s);
        QCOMPARE(name(Tone::Ru, u"庚"), u"入声十一陌"_s);
        QCOMPARE(name(Tone::Ru, u"嚴"), u"入声十六叶"_s);
        QCOMPARE(name(Tone::Shang, u"泰"), QString()); // 泰 has no 上声
    }

    void cilinSplitsGroupsByRhymeOpennessAndCharacter()
    {
        const auto section = [](Tone tone, const char16_t *rhyme, QChar hu, char32_t hanzi) {
            const QString r = QString::fromUtf16(rhyme);
            return cilinSectionOf(pingshuiGroupOf(tone, r), r, hu, hanzi);
        };
        QCOMPARE(section(Tone::Ping, u"灰", {}, U'灰'), 3);
        QCOMPARE(section(Tone::Ping, u"咍", {}, U'来'), 5);
        QCOMPARE(section(Tone::Qu, u"灰", {}, U'对'), 3);
        QCOMPARE(section(Tone::Qu, u"咍", {}, U'代'), 5);
        QCOMPARE(section(Tone::Ping, u"元", u'開', U'言'), 7);
        QCOMPARE(section(Tone::Ping, u"魂", {}, U'门'), 6);
        QCOMPARE(section(Tone::Qu, u"泰", u'合', U'会'), 3);
        QCOMPARE(section(Tone::Qu, u"泰", u'開', U'带'), 5);
        QCOMPARE(section(Tone::Ping, u"佳", u'開', U'街'), 5);
        QCOMPARE(section(Tone::Ping, u"佳", u'開', U'涯'), 10);
        QCOMPARE(section(Tone::Qu, u"夬", u'合', U'话'), 10);
        QCOMPARE(section(Tone::Ping, u"皆", u'開', U'怀'), 5);
        QCOMPARE(section(Tone::Ru, u"東", {}, U'屋'), 15);
        QCOMPARE(section(Tone::Ru, u"覃", {}, U'合'), 19);
        QCOMPARE(cilinSectionName(17), u"第十七部"_s);
    }

    void modernBooksGroupByTheFinal_data()
    {
        QTest::addColumn<QString>("syllable");
        QTest::addColumn<QString>("xinyun");
        QTest::addColumn<QString>("tongyun");
        QTest::newRow("ge") << u"ge"_s << u"二波"_s << u"三鹅"_s;
        QTest::newRow("bo") << u"bo"_s << u"二波"_s << u"二喔"_s;
        QTest::newRow("jue") << u"jue"_s << u"三皆"_s << u"三鹅"_s;
        QTest::newRow("zhi") << u"zhi"_s << u"十三支"_s << u"四衣"_s;
        QTest::newRow("ci") << u"ci"_s << u"十三支"_s << u"四衣"_s;
        QTest::newRow("ji") << u"ji"_s << u"十二齐"_s << u"四衣"_s;
        QTest::newRow("ju") << u"ju"_s << u"十二齐"_s << u"六迂"_s;
        QTest::newRow("er") << u"er"_s << u"十二齐"_s << u"十六儿"_s;
        QTest::newRow("yun") << u"yun"_s << u"九文"_s << u"十二恩"_s;
        QTest::newRow("weng") << u"weng"_s << u"十一庚"_s << u"十四英"_s;
        QTest::newRow("xiong") << u"xiong"_s << u"十一庚"_s << u"十五雍"_s;
        QTest::newRow("you") << u"you"_s << u"七尤"_s << u"十欧"_s;
        QTest::newRow("hua") << u"hua"_s << u"一麻"_s << u"一啊"_s;
    }

    void modernBooksGroupByTheFinal()
    {
        QFETCH(QString, syllable);
        QFETCH(QString, xinyun);
        QFETCH(QString, tongyun);
        QCOMPARE(xinyunGroups().value(xinyunGroupOf(syllable)), xinyun);
        QCOMPARE(tongyunGroups().value(tongyunGroupOf(syllable)), tongyun);
        QCOMPARE(xinyunGroupOf(u"ng"_s), -1);
    }

    void assemblesTheBooksFromEntriesAndReadings()
    {
        const RhymeBooks books = buildRhymeBooks(smallSources());
        QCOMPARE(books.books.size(), 4);
        const Book &pingshui = books.books.at(0);
        const Book &cilin = books.books.at(1);
        QCOMPARE(pingshui.name, u"平水韵"_s);

        // Simplified forms take the readings of their traditional ones; the traditional form stays.
        QCOMPARE(groupsOf(pingshui, U'东'), QStringList{u"上平一东平"_s});
        QCOMPARE(groupsOf(pingshui, U'東'), QStringList{u"上平一东平"_s});
        QCOMPARE(groupsOf(pingshui, U'国'), QStringList{u"入声十三职入"_s});
        QCOMPARE(groupsOf(pingshui, U'國'), QStringList{u"入声十三职入"_s});
        // Both readings where the modern ones support both; the rare 上 of 何 is filtered out.
        QCOMPARE(groupsOf(pingshui, U'看'), (QStringList{u"上平十四寒平"_s, u"去声十五翰去"_s}));
        QCOMPARE(groupsOf(pingshui, U'何'), QStringList{u"下平五歌平"_s});
        // 听 gains the 上 of the old 听 by simplification, and loses it to the filter.
        QCOMPARE(groupsOf(pingshui, U'听'), (QStringList{u"下平九青平"_s, u"去声二十五径去"_s}));
        // 思 去 has no modern support, but our list keeps it.
        QCOMPARE(groupsOf(pingshui, U'思'), (QStringList{u"上平四支平"_s, u"去声四寘去"_s}));
        // Found under a variant form.
        QCOMPARE(groupsOf(pingshui, U'峰'), QStringList{u"上平二冬平"_s});
        // Missing from the entries: our list, a Cantonese entering tone, or the modern reading.
        QCOMPARE(groupsOf(pingshui, U'擦'), QStringList{u"入声七曷入"_s});
        QCOMPARE(ungroupedOf(pingshui, U'啪'), u"入粤音入声"_s);
        QCOMPARE(ungroupedOf(pingshui, U'们'), u"平今读"_s);
        QVERIFY(groupsOf(pingshui, U'们').isEmpty());

        QCOMPARE(groupsOf(cilin, U'灰'), QStringList{u"第三部平"_s});
        QCOMPARE(groupsOf(cilin, U'来'), QStringList{u"第五部平"_s});
        QCOMPARE(groupsOf(cilin, U'会'), QStringList{u"第三部去"_s});
        QCOMPARE(groupsOf(cilin, U'带'), QStringList{u"第五部去"_s});
        QCOMPARE(groupsOf(cilin, U'涯'), QStringList{u"第十部平"_s});
        QCOMPARE(groupsOf(cilin, U'街'), QStringList{u"第五部平"_s});
        QCOMPARE(groupsOf(cilin, U'门'), QStringList{u"第六部平"_s});
        QCOMPARE(groupsOf(cilin, U'言'), QStringList{u"第七部平"_s});
        // Our additions: 花靥 rhymes with 脸 in 温庭筠's 归国遥.
        QCOMPARE(groupsOf(cilin, U'靥'), (QStringList{u"第十八部入"_s, u"第十四部上"_s}));

        const Book &xinyun = books.books.at(2);
        QCOMPARE(groupsOf(xinyun, U'看'), (QStringList{u"八寒去"_s, u"八寒平"_s}));
        QCOMPARE(books.readings.value(U'看'), (QStringList{u"kàn"_s, u"kān"_s}));

        QCOMPARE(books.filter.readingsRemoved, 2); // 何 上 and 听 上
        QVERIFY(books.filter.changedLevelOne.contains(u"何 中→平"_s));
    }

    // Forms outside the standard are read as the standard character they stand for, through OpenCC,
    // Unihan's links or our own list; a standard character stays itself. The books leave those forms
    // out, and a standard character takes the readings of the forms it stands for (样 those of 樣, which
    // the 廣韻 writes 㨾), but not a semantic variant whose readings are not its own (閞 is no 开).
    void writtenFormsAreReadAsTheirStandardCharacters()
    {
        RhymeBookInputs in = smallSources();
        for (const auto &[c, rank, syllable, tone] :
             {std::tuple(U'众', 1100, "zhong", 4), std::tuple(U'样', 1101, "yang", 4),
              std::tuple(U'柳', 1102, "liu", 3), std::tuple(U'干', 1103, "gan", 1),
              std::tuple(U'乾', 1104, "qian", 2), std::tuple(U'开', 1105, "kai", 1)})
            in.standard.insert(c, standardChar(rank, {{QString::fromUtf8(syllable), tone}}));
        in.guangyun += {entry(U'眾', Tone::Qu, u"東"_s),          entry(U'样', Tone::Ping, u"陽"_s, u'開'),
                        entry(U'㨾', Tone::Qu, u"陽"_s, u'開'),   entry(U'柳', Tone::Shang, u"尤"_s),
                        entry(U'開', Tone::Ping, u"咍"_s, u'開'), entry(U'閞', Tone::Ping, u"仙"_s, u'開'),
                        entry(U'乾', Tone::Ping, u"仙"_s, u'開')};
        in.unihan.variants.insert(U'衆', U'眾');
        in.unihan.simplified.insert(U'眾', U'众');
        in.unihan.variants.insert(U'栁', U'柳');
        in.unihan.variants.insert(U'閞', U'開');
        // OpenCC: t2s (乾 alone as 干), then a Japanese form through jp2t.
        const VariantTable table = buildVariantTable(
            {in.standard, in.unihan, {{{U'樣', U'样'}, {U'開', U'开'}, {U'乾', U'干'}}, {{U'様', U'样'}}}});
        QString read; // each form, then its standard character
        for (const char32_t c : std::u32string_view(U"衆樣様㨾栁閞國乾玊")) {
            const char32_t standard = table.standardOf.value(c);
            read += QString::fromUcs4(&c, 1) + (standard ? QString::fromUcs4(&standard, 1) : QString());
        }
        QCOMPARE(read, u"衆众樣样様样㨾样栁柳閞开國国乾玊玉"_s);

        in.variants = &table;
        const RhymeBooks books = buildRhymeBooks(in);
        const Book &pingshui = books.books.at(0);
        QCOMPARE(groupsOf(pingshui, U'样'), QStringList{u"去声二十三漾去"_s});
        QCOMPARE(groupsOf(pingshui, U'众'), QStringList{u"去声一送去"_s});
        QCOMPARE(groupsOf(pingshui, U'乾'), QStringList{u"下平一先平"_s});
        QCOMPARE(groupsOf(pingshui, U'开'), QStringList{u"上平十灰平"_s});
        for (const char32_t form : {U'樣', U'國', U'眾'})
            QVERIFY(groupsOf(pingshui, form).isEmpty());
        QVERIFY(groupsOf(books.books.at(2), U'國').isEmpty());
        QCOMPARE(books.variants.value(U'國'), U'国');
        // 閞 keeps its own readings, under its own name.
        QCOMPARE(groupsOf(pingshui, U'閞'), QStringList{u"下平一先平"_s});
        QVERIFY(!books.variants.contains(U'閞'));
        QCOMPARE(books.filter.changedByForms, QStringList{u"样 下平七阳→去声二十三漾"_s});
    }

    void charactersOfAGroupAreOrderedCommonFirst()
    {
        RhymeBookInputs in = smallSources();
        in.guangyun.append(entry(U'棟', Tone::Ping, u"東"_s)); // simplifies to 栋, level 2 here
        in.standard.insert(U'栋', standardChar(5000, {{u"dong"_s, 1}}));
        const Book pingshui = buildRhymeBooks(in).books.at(0);
        QStringList order;
        for (const BookChar &c : pingshui.chars)
            if (c.group == u"上平一东" && QStringLiteral("东栋東棟").contains(QString::fromUcs4(&c.hanzi, 1)))
                order << QString::fromUcs4(&c.hanzi, 1) + QString::number(c.level) + u':' +
                             QString::number(c.order);
        QCOMPARE(order.join(u' '), u"东1:1 栋2:2 東0:3 棟0:4"_s);
    }

    void editorialNotesMoveOutOfThePoem()
    {
        const EditorialSplit split = splitEditorialNotes(
            u"早尝甘蔗淡，生摘琵琶酸。\n（「琵琶」，校本云：疑「枇杷」之误。\n）好是去尘俗，烟花长一栏。\n"
            "水急客舟（一作「行」）疾，池鱼泄（疑）水花。\n（出处卷四）（按：他本收作别人诗。\n）。"_s);
        QCOMPARE(split.poem.split(u'\n'), u"早尝甘蔗淡，生摘琵琶酸。\n好是去尘俗，烟花长一栏。\n"
                                          "水急客舟（一作「行」）疾，池鱼泄（疑）水花。"_s.split(u'\n'));
        QCOMPARE(split.notes, (QStringList{u"「琵琶」，校本云：疑「枇杷」之误。"_s, u"出处卷四"_s,
                                           u"按：他本收作别人诗。"_s}));
        // Unbalanced brackets are left as they are.
        QCOMPARE(splitEditorialNotes(u"山（未完"_s).poem, u"山（未完"_s);
    }

    void failedBuildLeavesNoFile()
    {
        QTemporaryDir dir;
        fixtures::writeUnihan(dir.filePath(u"unihan"_s), "", "");
        ReferenceOptions options;
        options.output = dir.filePath(u"date/rhymebooks.db"_s);
        options.sources = {dir.path(), dir.filePath(u"unihan"_s)};
        QString out;
        QTextStream log(&out);
        try {
            buildReferenceFile(options, log);
            QFAIL("a build without the 廣韻 package succeeded");
        } catch (const BuildError &e) {
            QVERIFY2(e.file().contains(u"tshet-uinh"_s), e.what());
        }
        QVERIFY(QDir(dir.filePath(u"date"_s)).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    // Reads the package through node exactly as the real build does, on a made-up package.
    void readsTheGuangyunPackageThroughNode()
    {
        if (QStandardPaths::findExecutable(u"node"_s).isEmpty())
            QSKIP("node is needed to read the package");
        QTemporaryDir dir;
        fixtures::writeFile(dir.filePath(u"tshet-uinh/package.json"_s), R"({"version":"0.0.1"})");
        fixtures::writeFile(dir.filePath(u"tshet-uinh/index.js"_s), R"(
const a1 = {韻: '東', 聲: '平', 呼: null}, a2 = {韻: '寒', 聲: '去', 呼: '開'};
const e = {[a1.韻 + a1.聲]: [{字頭: '東', 來源: {小韻號: '1'}}, {字頭: '凍', 來源: {小韻號: '1'}}],
           [a2.韻 + a2.聲]: [{字頭: '看', 來源: {小韻號: '2641'}}]};
exports.資料 = {iter音韻地位: function* () { yield a1; yield a2; },
               query音韻地位: (a) => e[a.韻 + a.聲]};)");
        const QList<GuangyunEntry> entries = readGuangyun(dir.filePath(u"tshet-uinh"_s));
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(2).hanzi, U'看');
        QCOMPARE(entries.at(2).reading.tone, Tone::Qu);
        QCOMPARE(entries.at(2).reading.rhyme, u"寒"_s);
        QCOMPARE(entries.at(2).reading.hu, QChar(u'開'));
        QCOMPARE(entries.at(2).reading.xiaoyun, 2641);
        QVERIFY(entries.at(0).reading.hu.isNull());

        fixtures::writeFile(dir.filePath(u"tshet-uinh/index.js"_s), "exports.資料 = {};");
        QVERIFY_THROWS_EXCEPTION(BuildError, readGuangyun(dir.filePath(u"tshet-uinh"_s)));
    }

    // With the real sources installed: the whole file, its counts and rows poets know.
    void buildsTheRealReferenceFile()
    {
        const SourcePaths installed = SourcePaths::installed();
        if (!QFileInfo::exists(installed.nodeModule(u"tshet-uinh/package.json"_s)) ||
            !QFileInfo::exists(installed.unihanFile(u"Unihan_Variants.txt.bz2"_s)))
            QSKIP("the data packages are not installed");
        QTemporaryDir dir;
        ReferenceOptions options;
        options.output = dir.filePath(u"date/rhymebooks.db"_s);
        QString out;
        QTextStream log(&out);
        const ReferenceSummary summary = buildReferenceFile(options, log);
        const QString path = options.output;

        QCOMPARE(query(path, u"SELECT count(DISTINCT 部) FROM 韵部 GROUP BY 书 ORDER BY min(rowid)"_s),
                 u"106 19 14 16"_s);
        const auto groups = [&](const char16_t *book, const char16_t *hanzi) {
            return query(path, u"SELECT 部 || 声 FROM 韵字 WHERE 书 = '%1' AND 字 = '%2' ORDER BY 1"_s.arg(
                                   QString::fromUtf16(book), QString::fromUtf16(hanzi)));
        };
        QCOMPARE(groups(u"平水韵", u"东"), u"上平一东平"_s);
        QCOMPARE(groups(u"平水韵", u"冬"), u"上平二冬平"_s);
        QCOMPARE(groups(u"平水韵", u"花"), u"下平六麻平"_s);
        QCOMPARE(groups(u"平水韵", u"白"), u"入声十一陌入"_s);
        QCOMPARE(groups(u"平水韵", u"国"), u"入声十三职入"_s);
        QCOMPARE(groups(u"平水韵", u"看"), u"上平十四寒平 去声十五翰去"_s);
        QCOMPARE(groups(u"平水韵", u"思"), u"上平四支平 去声四寘去"_s);
        QCOMPARE(groups(u"平水韵", u"何"), u"下平五歌平"_s);
        QCOMPARE(groups(u"平水韵", u"一"), u"入声四质入"_s);
        QCOMPARE(groups(u"平水韵", u"十"), u"入声十四缉入"_s);
        QCOMPARE(groups(u"平水韵", u"月"), u"入声六月入"_s);
        QCOMPARE(groups(u"平水韵", u"峰"), u"上平二冬平"_s);
        QCOMPARE(groups(u"平水韵", u"魂"), u"上平十三元平"_s);
        // Forms as written are not in the books but read as their standard characters.
        QCOMPARE(groups(u"平水韵", u"風"), QString());
        QCOMPARE(
            query(path, u"SELECT 字 || 正字 FROM 异体 WHERE 字 IN ('風', '衆', '栁', '㨾') ORDER BY 字"_s),
            u"㨾样 栁柳 衆众 風风"_s);
        QCOMPARE(query(path, u"SELECT count(*) FROM 异体 WHERE 字 = '乾'"_s), u"0"_s);
        QCOMPARE(query(path, u"SELECT 字 || 正字 FROM 兼体 WHERE 字 IN ('徵', '乾', '风') ORDER BY 字"_s),
                 u"乾干 徵征"_s);
        QCOMPARE(groups(u"平水韵", u"样"), u"去声二十三漾去"_s);
        QCOMPARE(groups(u"平水韵", u"娆"), u"下平二萧平"_s);
        QCOMPARE(groups(u"平水韵", u"斜"), u"下平六麻平"_s);
        QCOMPARE(groups(u"词林正韵", u"灰"), u"第三部平"_s);
        QCOMPARE(groups(u"词林正韵", u"开"), u"第五部平"_s);
        QCOMPARE(groups(u"中华新韵", u"花"), u"一麻平"_s);
        QCOMPARE(groups(u"中华新韵", u"看"), u"八寒去 八寒平"_s);
        QCOMPARE(groups(u"中华新韵", u"白"), u"四开平"_s);
        QCOMPARE(groups(u"中华通韵", u"歌"), u"三鹅平"_s);
        QCOMPARE(query(path, u"SELECT 据 FROM 无部字 WHERE 书 = '平水韵' AND 字 = '们'"_s), u"今读"_s);
        QCOMPARE(query(path, u"SELECT 拼音 FROM 词音 WHERE 词 = '长安'"_s), u"cháng ān"_s);

        // Every level-1 character of the standard is found in each classical book, but for 嘛, whose
        // only reading is in the neutral tone.
        QCOMPARE(query(path,
                       u"SELECT count(*) FROM (SELECT 字 FROM 韵字 WHERE 书 = '平水韵' AND 级 = 1 UNION "
                       "SELECT 字 FROM 无部字 WHERE 书 = '平水韵' AND 级 = 1)"_s),
                 u"3499"_s);
        QVERIFY(summary.books.filter.levelOneWithout < 100);

        // The 词谱: forms poets know, names joined, and every poem read accounted for.
        QCOMPARE(query(path, u"SELECT 结构 || ' ' || 韵式 FROM 词体 WHERE 牌 = '浣溪沙' AND 体 = 1"_s),
                 u"7,7,7,7,7,7 平韵"_s);
        QCOMPARE(
            query(path, u"SELECT 句 FROM 词句 WHERE 牌 = '浣溪沙' AND 体 = 1 AND 韵组 > 0 ORDER BY 句"_s),
            u"1 2 3 5 6"_s);
        QCOMPARE(
            query(path, u"SELECT 韵式 FROM 词体 WHERE 牌 IN ('菩萨蛮', '西江月') AND 体 = 1 ORDER BY 牌"_s),
            u"换韵 平仄通叶"_s);
        QCOMPARE(query(path, u"SELECT 牌 FROM 词牌名 WHERE 名 IN ('酹江月', '凤栖梧') ORDER BY 名"_s),
                 u"蝶恋花 念奴娇"_s);
        QCOMPARE(query(path, u"SELECT 牌 FROM 词牌 WHERE 序 <= 3 ORDER BY 序"_s),
                 u"浣溪沙 水调歌头 鹧鸪天"_s);
        QCOMPARE(query(path, u"SELECT sum(数) FROM 词谱概况 WHERE 项 IN ('残缺', '失调名', '词牌仅一首', "
                             "'无体', '入体')"_s),
                 query(path, u"SELECT 数 FROM 词谱概况 WHERE 项 = '词'"_s));
        QCOMPARE(summary.cipu.counts.poems, 21053 + 542); // 宋词 and the 五代 词 of 花间集 and 南唐二主词
        // The handbook's 词牌 the corpus attests, under their names; 通押 counted from the poems.
        QCOMPARE(query(path, u"SELECT count(DISTINCT 名) FROM 词牌名 WHERE 名 IN ('雨霖铃', '钗头凤', "
                             u"'扬州慢', '十六字令', "
                             "'一剪梅', '蕃女怨')"_s),
                 u"6"_s);
        // 御定词谱 merged: every 调 of the book, its 体 in its order under its names, the corpus's evidence
        // laid over those it shares; 调 no poem of the corpus follows come from the book alone.
        QVERIFY(query(path, u"SELECT count(*) FROM 词牌 WHERE 谱序 > 0"_s).toInt() >= 820);
        QVERIFY(query(path, u"SELECT count(*) FROM 词体 WHERE 谱序 > 0"_s).toInt() >= 2250);
        QCOMPARE(query(path, u"SELECT 牌 || 首数 FROM 词牌 WHERE 牌 IN ('撼庭秋', '惜春郎', '江月晃重山') "
                             "ORDER BY 谱序"_s),
                 u"撼庭秋0 惜春郎0 江月晃重山0"_s);
        QCOMPARE(
            query(path, u"SELECT 作者 || 源 FROM 词体 WHERE 牌 = '念奴娇' AND 谱序 <= 2 ORDER BY 谱序"_s),
            u"苏轼谱与词作 苏轼谱与词作"_s);
        QCOMPARE(query(path, u"SELECT 牌 FROM 词牌名 WHERE 名 = '十六字令'"_s), u"归字谣"_s);
        QVERIFY(query(path, u"SELECT 首数 FROM 通押 WHERE 部 = '第六部' AND 邻部 = '第十一部'"_s).toInt() >=
                10);
        QVERIFY(query(path, u"SELECT count(*) FROM 词牌"_s).toInt() >= 450);
        // Each line carries its positions' counts packed, eight bytes a position; 柳永's 戚氏, a body of
        // its own in a small 词牌, is a form of one poem (孤例), and no 词牌 of fifty poems has one.
        QCOMPARE(query(path, u"SELECT count(*) FROM 词句 WHERE length(位) <> 8 * 字数"_s), u"0"_s);
        QVERIFY(query(path, u"SELECT count(*) FROM 词体 WHERE 牌 = '戚氏' AND 首数 = 1"_s).toInt() >= 1);
        // (but for the few a 词牌 of another name brings, which the book counts as one: 临江仙).
        QVERIFY(query(path, u"SELECT count(*) FROM 词体 JOIN 词牌 USING (牌) WHERE 词体.首数 = 1 AND "
                            "词体.源 = '词作' AND 词牌.首数 >= 50"_s)
                    .toInt() < 5);
        QCOMPARE(query(path, u"SELECT count(*) FROM 词牌"_s), QString::number(summary.cipu.tunes.size()));

        // Up to date: a second build leaves the file alone; an older version is rebuilt.
        options.onlyIfOutdated = true;
        QVERIFY(buildReferenceFile(options, log).skipped);
        SqliteFile(path, SqliteFile::Mode::ReadWrite)
            .exec("UPDATE 版本 SET 值 = 'old' WHERE 键 = '数据版本'");
        QVERIFY(!buildReferenceFile(options, log).skipped);
        QCOMPARE(storedDataVersion(path), rhymeBooksDataVersion(installed));
    }
};

SHIHAI_TEST_MAIN(RhymeBooksTest)
#include "tst_rhymebooks.moc"
