// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/rhymegroups.h"

#include <QHash>

namespace builddb {

namespace {

// One group of 平水韵 with the 廣韻 rhyme families it unites, by their 平聲 base names.
struct GroupFact {
    const char16_t *name;
    const char16_t *rhymes;
};

constexpr GroupFact kShangPing[] = {
    {u"一东", u"東"},       {u"二冬", u"冬鍾"}, {u"三江", u"江"},     {u"四支", u"支脂之"},
    {u"五微", u"微"},       {u"六鱼", u"魚"},   {u"七虞", u"虞模"},   {u"八齐", u"齊祭"},
    {u"九佳", u"佳皆"},     {u"十灰", u"灰咍"}, {u"十一真", u"真臻"}, {u"十二文", u"文殷"},
    {u"十三元", u"元魂痕"}, {u"十四寒", u"寒"}, {u"十五删", u"刪山"},
};
constexpr GroupFact kXiaPing[] = {
    {u"一先", u"先仙"},   {u"二萧", u"蕭宵"},     {u"三肴", u"肴"},       {u"四豪", u"豪"},
    {u"五歌", u"歌"},     {u"六麻", u"麻"},       {u"七阳", u"陽唐"},     {u"八庚", u"庚耕清"},
    {u"九青", u"青"},     {u"十蒸", u"蒸登"},     {u"十一尤", u"尤侯幽"}, {u"十二侵", u"侵"},
    {u"十三覃", u"覃談"}, {u"十四盐", u"鹽添嚴"}, {u"十五咸", u"咸銜凡"},
};
constexpr GroupFact kShang[] = {
    {u"一董", u"東"},         {u"二肿", u"鍾冬"},     {u"三讲", u"江"},         {u"四纸", u"支脂之"},
    {u"五尾", u"微"},         {u"六语", u"魚"},       {u"七麌", u"虞模"},       {u"八荠", u"齊"},
    {u"九蟹", u"佳皆"},       {u"十贿", u"灰咍廢"},   {u"十一轸", u"真臻"},     {u"十二吻", u"文殷"},
    {u"十三阮", u"元魂痕"},   {u"十四旱", u"寒"},     {u"十五潸", u"刪山"},     {u"十六铣", u"先仙"},
    {u"十七筱", u"蕭宵"},     {u"十八巧", u"肴"},     {u"十九皓", u"豪"},       {u"二十哿", u"歌"},
    {u"二十一马", u"麻"},     {u"二十二养", u"陽唐"}, {u"二十三梗", u"庚耕清"}, {u"二十四迥", u"青蒸登"},
    {u"二十五有", u"尤侯幽"}, {u"二十六寝", u"侵"},   {u"二十七感", u"覃談"},   {u"二十八琰", u"鹽添嚴"},
    {u"二十九豏", u"咸銜凡"},
};
constexpr GroupFact kQu[] = {
    {u"一送", u"東"},         {u"二宋", u"冬鍾"},       {u"三绛", u"江"},       {u"四寘", u"支脂之"},
    {u"五未", u"微"},         {u"六御", u"魚"},         {u"七遇", u"虞模"},     {u"八霁", u"齊祭"},
    {u"九泰", u"泰"},         {u"十卦", u"佳皆夬"},     {u"十一队", u"灰咍廢"}, {u"十二震", u"真臻"},
    {u"十三问", u"文殷"},     {u"十四愿", u"元魂痕"},   {u"十五翰", u"寒"},     {u"十六谏", u"刪山"},
    {u"十七霰", u"先仙"},     {u"十八啸", u"蕭宵"},     {u"十九效", u"肴"},     {u"二十号", u"豪"},
    {u"二十一个", u"歌"},     {u"二十二祃", u"麻"},     {u"二十三漾", u"陽唐"}, {u"二十四敬", u"庚耕清"},
    {u"二十五径", u"青蒸登"}, {u"二十六宥", u"尤侯幽"}, {u"二十七沁", u"侵"},   {u"二十八勘", u"覃談"},
    {u"二十九艳", u"鹽添嚴"}, {u"三十陷", u"咸銜凡"},
};
constexpr GroupFact kRu[] = {
    {u"一屋", u"東"},       {u"二沃", u"冬鍾"},   {u"三觉", u"江"},       {u"四质", u"真臻"},
    {u"五物", u"文殷"},     {u"六月", u"元魂痕"}, {u"七曷", u"寒"},       {u"八黠", u"刪山"},
    {u"九屑", u"先仙"},     {u"十药", u"陽唐"},   {u"十一陌", u"庚耕清"}, {u"十二锡", u"青"},
    {u"十三职", u"蒸登"},   {u"十四缉", u"侵"},   {u"十五合", u"覃談"},   {u"十六叶", u"鹽添嚴"},
    {u"十七洽", u"咸銜凡"},
};

struct Section {
    const char16_t *prefix;
    Tone tone;
    const GroupFact *groups;
    qsizetype count;
};

template <qsizetype N>
constexpr Section section(const char16_t *prefix, Tone tone, const GroupFact (&groups)[N])
{
    return {prefix, tone, groups, N};
}

const Section kSections[] = {
    section(u"上平", Tone::Ping, kShangPing), section(u"下平", Tone::Ping, kXiaPing),
    section(u"上声", Tone::Shang, kShang),    section(u"去声", Tone::Qu, kQu),
    section(u"入声", Tone::Ru, kRu),
};

struct PingshuiTables {
    QList<PingshuiGroup> groups;
    QHash<QString, int> byToneAndRhyme; // toneChar + base name
    QHash<QString, int> byName;
};

const PingshuiTables &pingshuiTables()
{
    static const PingshuiTables tables = [] {
        PingshuiTables t;
        for (const Section &s : kSections) {
            for (qsizetype i = 0; i < s.count; ++i) {
                const GroupFact &g = s.groups[i];
                const int index = int(t.groups.size());
                const QString name = QString::fromUtf16(s.prefix) + QString::fromUtf16(g.name);
                t.groups.append({name, s.tone});
                t.byName.insert(name, index);
                for (const QChar rhyme : QString::fromUtf16(g.rhymes))
                    t.byToneAndRhyme.insert(QString(toneChar(s.tone)) + rhyme, index);
            }
        }
        return t;
    }();
    return tables;
}

// Characters of 佳, 卦 and 夬 that the 词林正韵 puts with 麻 (第十部) rather than 第五部; both forms.
constexpr char16_t kJiaWithMa[] = u"涯崖娃蛙哇洼窪漥蜗蝸娲媧騧卦挂掛罣絓詿画畫话話";

int pingshuiIndex(const char16_t *name)
{
    return pingshuiTables().byName.value(QString::fromUtf16(name), -1);
}

// The 部 of every 平水韵 group that the 词林正韵 takes whole.
const QHash<int, int> &wholeGroups()
{
    static const QHash<int, int> table = [] {
        const struct {
            int section;
            const char16_t *groups;
        } facts[] = {
            {1, u"上平一东 上平二冬 上声一董 上声二肿 去声一送 去声二宋"},
            {2, u"上平三江 下平七阳 上声三讲 上声二十二养 去声三绛 去声二十三漾"},
            {3, u"上平四支 上平五微 上平八齐 上声四纸 上声五尾 上声八荠 去声四寘 去声五未 去声八霁"},
            {4, u"上平六鱼 上平七虞 上声六语 上声七麌 去声六御 去声七遇"},
            {5, u"上声九蟹"},
            {6, u"上平十一真 上平十二文 上声十一轸 上声十二吻 去声十二震 去声十三问"},
            {7, u"上平十四寒 上平十五删 下平一先 上声十四旱 上声十五潸 上声十六铣 去声十五翰 去声十六谏 "
                u"去声十七霰"},
            {8,
             u"下平二萧 下平三肴 下平四豪 上声十七筱 上声十八巧 上声十九皓 去声十八啸 去声十九效 去声二十号"},
            {9, u"下平五歌 上声二十哿 去声二十一个"},
            {10, u"下平六麻 上声二十一马 去声二十二祃"},
            {11, u"下平八庚 下平九青 下平十蒸 上声二十三梗 上声二十四迥 去声二十四敬 去声二十五径"},
            {12, u"下平十一尤 上声二十五有 去声二十六宥"},
            {13, u"下平十二侵 上声二十六寝 去声二十七沁"},
            {14, u"下平十三覃 下平十四盐 下平十五咸 上声二十七感 上声二十八琰 上声二十九豏 去声二十八勘 "
                 u"去声二十九艳 去声三十陷"},
            {15, u"入声一屋 入声二沃"},
            {16, u"入声三觉 入声十药"},
            {17, u"入声四质 入声十一陌 入声十二锡 入声十三职 入声十四缉"},
            {18, u"入声五物 入声六月 入声七曷 入声八黠 入声九屑 入声十六叶"},
            {19, u"入声十五合 入声十七洽"},
        };
        QHash<int, int> t;
        for (const auto &f : facts)
            for (const QString &name : QString::fromUtf16(f.groups).split(u' ', Qt::SkipEmptyParts))
                t.insert(pingshuiTables().byName.value(name, -1), f.section);
        t.remove(-1);
        return t;
    }();
    return table;
}

const char16_t *const kChineseNumbers[] = {u"一",   u"二",   u"三",   u"四",   u"五",   u"六",   u"七",
                                           u"八",   u"九",   u"十",   u"十一", u"十二", u"十三", u"十四",
                                           u"十五", u"十六", u"十七", u"十八", u"十九"};

bool isApical(const QString &syllable)
{
    for (const char *initial : {"zh", "ch", "sh", "r", "z", "c", "s"})
        if (syllable == QLatin1String(initial) + u'i')
            return true;
    return false;
}

} // namespace

const QList<PingshuiGroup> &pingshuiGroups()
{
    return pingshuiTables().groups;
}

int pingshuiGroupOf(Tone tone, const QString &rhyme)
{
    return pingshuiTables().byToneAndRhyme.value(QString(toneChar(tone)) + rhyme, -1);
}

int cilinSectionOf(int pingshuiGroup, const QString &rhyme, QChar hu, char32_t hanzi)
{
    if (const auto it = wholeGroups().constFind(pingshuiGroup); it != wholeGroups().constEnd())
        return *it;
    const auto is = [&](const char16_t *name) { return pingshuiGroup == pingshuiIndex(name); };
    const bool withMa = QString::fromUtf16(kJiaWithMa).contains(QString::fromUcs4(&hanzi, 1));
    // 灰 and 隊 with 支; 咍 and 代 with 佳. 廢 goes with 支 as well.
    if (is(u"上平十灰") || is(u"上声十贿") || is(u"去声十一队"))
        return rhyme == u"咍" ? 5 : 3;
    // 元 with 寒, 魂 and 痕 with 真.
    if (is(u"上平十三元") || is(u"上声十三阮") || is(u"去声十四愿"))
        return rhyme == u"元" ? 7 : 6;
    // The closed 泰 (and its labials, which read as closed) with 支, the open one with 佳.
    if (is(u"去声九泰"))
        return hu == u'開' ? 5 : 3;
    if (is(u"上平九佳") || is(u"去声十卦"))
        return rhyme != u"皆" && withMa ? 10 : 5;
    return 0;
}

QString cilinSectionName(int section)
{
    if (section < 1 || section > 19)
        return {};
    return QStringLiteral("第%1部").arg(QString::fromUtf16(kChineseNumbers[section - 1]));
}

const QStringList &xinyunGroups()
{
    static const QStringList list =
        QStringLiteral("一麻 二波 三皆 四开 五微 六豪 七尤 八寒 九文 十唐 十一庚 十二齐 "
                       "十三支 十四姑")
            .split(u' ');
    return list;
}

const QStringList &tongyunGroups()
{
    static const QStringList list =
        QStringLiteral("一啊 二喔 三鹅 四衣 五乌 六迂 七哀 八欸 九熬 十欧 十一安 十二恩 "
                       "十三昂 十四英 十五雍 十六儿")
            .split(u' ');
    return list;
}

QString fullFinal(const QString &syllable)
{
    static const QHash<QString, QString> zeroInitial = {
        {QStringLiteral("yi"), QStringLiteral("i")},      {QStringLiteral("ya"), QStringLiteral("ia")},
        {QStringLiteral("yo"), QStringLiteral("o")},      {QStringLiteral("ye"), QStringLiteral("ie")},
        {QStringLiteral("yao"), QStringLiteral("iao")},   {QStringLiteral("you"), QStringLiteral("iu")},
        {QStringLiteral("yan"), QStringLiteral("ian")},   {QStringLiteral("yin"), QStringLiteral("in")},
        {QStringLiteral("yang"), QStringLiteral("iang")}, {QStringLiteral("ying"), QStringLiteral("ing")},
        {QStringLiteral("yong"), QStringLiteral("iong")}, {QStringLiteral("yu"), QStringLiteral("ü")},
        {QStringLiteral("yue"), QStringLiteral("üe")},    {QStringLiteral("yuan"), QStringLiteral("üan")},
        {QStringLiteral("yun"), QStringLiteral("ün")},    {QStringLiteral("wu"), QStringLiteral("u")},
        {QStringLiteral("wa"), QStringLiteral("ua")},     {QStringLiteral("wo"), QStringLiteral("uo")},
        {QStringLiteral("wai"), QStringLiteral("uai")},   {QStringLiteral("wei"), QStringLiteral("ui")},
        {QStringLiteral("wan"), QStringLiteral("uan")},   {QStringLiteral("wen"), QStringLiteral("un")},
        {QStringLiteral("wang"), QStringLiteral("uang")}, {QStringLiteral("weng"), QStringLiteral("ueng")},
    };
    if (const auto it = zeroInitial.constFind(syllable); it != zeroInitial.constEnd())
        return *it;
    if (isApical(syllable))
        return QStringLiteral("-i");
    qsizetype start = 0;
    if (syllable.startsWith(u"zh") || syllable.startsWith(u"ch") || syllable.startsWith(u"sh"))
        start = 2;
    else if (!syllable.isEmpty() && QStringLiteral("bpmfdtnlgkhjqxrzcs").contains(syllable.front()))
        start = 1;
    QString rest = syllable.mid(start);
    // After j, q and x pinyin writes ü as u.
    if (start == 1 && QStringLiteral("jqx").contains(syllable.front()) && rest.startsWith(u'u'))
        rest.replace(0, 1, QStringLiteral("ü"));
    return rest;
}

namespace {

struct FinalsOfGroup {
    int group;
    const char *finals;
};

// Final → group, from each group's finals written out.
template <qsizetype N> QHash<QString, int> groupsByFinal(const FinalsOfGroup (&facts)[N])
{
    QHash<QString, int> t;
    for (const FinalsOfGroup &f : facts)
        for (const QString &final : QString::fromUtf8(f.finals).split(u' '))
            t.insert(final, f.group);
    return t;
}

} // namespace

int xinyunGroupOf(const QString &syllable)
{
    static const FinalsOfGroup facts[] = {{0, "a ia ua"},
                                          {1, "o uo e"},
                                          {2, "ie üe ê"},
                                          {3, "ai uai"},
                                          {4, "ei ui"},
                                          {5, "ao iao"},
                                          {6, "ou iu"},
                                          {7, "an ian uan üan"},
                                          {8, "en in un ün"},
                                          {9, "ang iang uang"},
                                          {10, "eng ing ong iong ueng"},
                                          {11, "i er ü"},
                                          {12, "-i"},
                                          {13, "u"}};
    static const QHash<QString, int> byFinal = groupsByFinal(facts);
    return byFinal.value(fullFinal(syllable), -1);
}

int tongyunGroupOf(const QString &syllable)
{
    static const FinalsOfGroup facts[] = {{0, "a ia ua"},
                                          {1, "o uo"},
                                          {2, "e ie üe ê"},
                                          {3, "i -i"},
                                          {4, "u"},
                                          {5, "ü"},
                                          {6, "ai uai"},
                                          {7, "ei ui"},
                                          {8, "ao iao"},
                                          {9, "ou iu"},
                                          {10, "an ian uan üan"},
                                          {11, "en in un ün"},
                                          {12, "ang iang uang"},
                                          {13, "eng ing ueng"},
                                          {14, "ong iong"},
                                          {15, "er"}};
    static const QHash<QString, int> byFinal = groupsByFinal(facts);
    return byFinal.value(fullFinal(syllable), -1);
}

} // namespace builddb
