// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/couplet/shortlists.h"

#include <QHash>
#include <QSet>

namespace prosody {

namespace {

struct List {
    const char16_t *name;
    const char16_t *chars;
};

// 孤, 独, 半 and 双 stand against numbers in the classics too; the table finds those pairs itself.
// 时令 and 八卦 also name the 并列 words whose two characters the poems keep together and so never set
// against each other (日夜 against 东南, 乾坤 against 吴楚): the table cannot see that they are pairs.
const List kLists[] = {
    {u"数目", u"一二三四五六七八九十百千万亿两"},
    {u"颜色", u"红赤朱丹绛紫青绿碧翠苍黄白素皓黑玄乌金银"},
    {u"方位", u"东西南北中上下前后左右内外里"},
    {u"时令", u"春夏秋冬朝暮晨昏旦夕昼夜日年古今昔"},
    {u"天干", u"甲乙丙丁戊己庚辛壬癸"},
    {u"地支", u"子丑寅卯辰巳午未申酉戌亥"},
    {u"八卦", u"乾坤震巽坎离艮兑"},
    {u"代词", u"我吾予余尔汝君卿他彼此其谁伊侬"},
};

// Sets of near-synonyms, kept short: only what a reader takes for the same word.
const char16_t *const kSynonyms[] = {
    u"见看望视观睹瞻", u"言语说道云曰谈", u"年岁载", u"江河川",   u"山岳峰峦", u"愁忧悲哀伤戚", u"喜欢乐悦",
    u"歌唱吟咏讴",     u"古昔旧往",       u"长永久", u"远遥迢",   u"美好佳嘉", u"朝晨旦晓",     u"暮夕晚昏",
    u"夜宵",           u"归还回返",       u"来至到", u"思念忆怀", u"门户扉",   u"路道途径",     u"家宅舍室",
    u"君王帝皇",       u"花华葩",         u"树木林", u"舟船",     u"鸟禽",     u"楼阁台",       u"泪涕",
    u"哭泣啼",         u"落坠堕",         u"寒冷凉", u"暖温",     u"静寂",     u"空虚",         u"满盈",
};

struct NamedSet {
    QString name;
    QSet<char32_t> chars;
};

const QList<NamedSet> &lists()
{
    static const QList<NamedSet> out = [] {
        QList<NamedSet> sets;
        for (const List &l : kLists) {
            const QList<uint> chars = QString::fromUtf16(l.chars).toUcs4();
            sets.append({QString::fromUtf16(l.name), QSet<char32_t>(chars.begin(), chars.end())});
        }
        return sets;
    }();
    return out;
}

// Each character's set of near-synonyms, numbered from 1.
const QHash<char32_t, int> &synonymSets()
{
    static const QHash<char32_t, int> out = [] {
        QHash<char32_t, int> sets;
        for (qsizetype i = 0; i < qsizetype(std::size(kSynonyms)); ++i)
            for (const char32_t c : QString::fromUtf16(kSynonyms[i]).toUcs4())
                sets.insert(c, int(i) + 1);
        return sets;
    }();
    return out;
}

} // namespace

QString sharedList(char32_t a, char32_t b)
{
    for (const NamedSet &l : lists())
        if (l.chars.contains(a) && l.chars.contains(b))
            return l.name;
    return {};
}

bool isReduplicated(const QList<char32_t> &unit)
{
    return unit.size() == 2 && unit.at(0) == unit.at(1);
}

bool opensOneSentence(const QList<char32_t> &line)
{
    static const QSet<QString> words = [] {
        QSet<QString> out;
        for (const QString &w :
             QStringLiteral("为报 寄语 寄言 传语 借问 为问 试问 却话 闻道 安得 谁能 但愿 何当 但使 若使 "
                            "纵使 莫道 况是 要知 早知 须知 欲知 应知 始知 方知 谁知 不知 "
                            "遥知 岂知 那知")
                 .split(u' '))
            out.insert(w);
        return out;
    }();
    return line.size() >= 2 && words.contains(QString::fromUcs4(line.constData(), 2));
}

bool isNearSynonym(char32_t a, char32_t b)
{
    if (a == b)
        return true;
    const int s = synonymSets().value(a);
    return s > 0 && s == synonymSets().value(b);
}

} // namespace prosody
