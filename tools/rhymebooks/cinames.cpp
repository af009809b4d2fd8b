// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cinames.h"

#include <QSet>

#include <algorithm>
#include <numeric>
#include <tuple>

namespace builddb {

const QList<std::pair<QString, QStringList>> &ciAliasList()
{
    static const QList<std::pair<QString, QStringList>> list = {
        {QStringLiteral("念奴娇"),
         {QStringLiteral("大江东去"), QStringLiteral("酹江月"), QStringLiteral("百字令"),
          QStringLiteral("百字谣"), QStringLiteral("壶中天")}},
        {QStringLiteral("蝶恋花"),
         {QStringLiteral("鹊踏枝"), QStringLiteral("凤栖梧"), QStringLiteral("黄金缕"),
          QStringLiteral("卷珠帘")}},
        {QStringLiteral("忆江南"),
         {QStringLiteral("望江南"), QStringLiteral("梦江南"), QStringLiteral("江南好")}},
        {QStringLiteral("采桑子"), {QStringLiteral("丑奴儿")}},
        {QStringLiteral("如梦令"), {QStringLiteral("忆仙姿"), QStringLiteral("宴桃源")}},
        {QStringLiteral("鹧鸪天"), {QStringLiteral("思佳客")}},
        {QStringLiteral("玉楼春"), {QStringLiteral("木兰花")}},
        {QStringLiteral("一斛珠"), {QStringLiteral("醉落魄")}},
        {QStringLiteral("虞美人"), {QStringLiteral("一江春水")}},
        {QStringLiteral("菩萨蛮"), {QStringLiteral("子夜歌"), QStringLiteral("重叠金")}},
        {QStringLiteral("十六字令"), {QStringLiteral("苍梧谣"), QStringLiteral("归字谣")}},
        {QStringLiteral("钗头凤"), {QStringLiteral("撷芳词"), QStringLiteral("折红英")}},
        {QStringLiteral("相见欢"), {QStringLiteral("秋夜月"), QStringLiteral("上西楼")}},
        {QStringLiteral("宴山亭"), {QStringLiteral("燕山亭")}},
        {QStringLiteral("戚氏"), {QStringLiteral("梦游仙")}},
        {QStringLiteral("调笑令"), {QStringLiteral("调笑"), QStringLiteral("宫中调笑")}},
        {QStringLiteral("长相思"), {QStringLiteral("双红豆"), QStringLiteral("忆多娇")}},
        {QStringLiteral("卜算子"), {QStringLiteral("百尺楼"), QStringLiteral("眉峰碧")}},
        {QStringLiteral("浪淘沙"), {QStringLiteral("卖花声")}},
        {QStringLiteral("贺新郎"),
         {QStringLiteral("金缕曲"), QStringLiteral("乳燕飞"), QStringLiteral("貂裘换酒")}},
        {QStringLiteral("摸鱼儿"),
         {QStringLiteral("摸鱼子"), QStringLiteral("买陂塘"), QStringLiteral("迈陂塘")}},
        {QStringLiteral("忆秦娥"), {QStringLiteral("秦楼月")}},
        {QStringLiteral("阮郎归"), {QStringLiteral("醉桃源"), QStringLiteral("碧桃春")}},
        {QStringLiteral("声声慢"), {QStringLiteral("胜胜慢"), QStringLiteral("凤求凰")}},
        {QStringLiteral("琐窗寒"), {QStringLiteral("锁窗寒"), QStringLiteral("琐寒窗")}},
        // Other writings of a name (tools/rhymebooks/cicorpus.cpp reads them as the usual one).
        {QStringLiteral("一剪梅"), {QStringLiteral("一翦梅")}},
        {QStringLiteral("雨霖铃"), {QStringLiteral("雨淋铃")}},
        {QStringLiteral("蕃女怨"), {QStringLiteral("番女怨")}},
        {QStringLiteral("离亭燕"), {QStringLiteral("离亭宴")}},
    };
    return list;
}

const QStringList &handbookTunes()
{
    static const QStringList list =
        QStringLiteral("十六字令 南歌子 荷叶杯 渔歌子 忆江南 潇湘神 南乡子 捣练子 浪淘沙 江南春 蕃女怨 "
                       "忆王孙 调笑令 如梦令 诉衷情 "
                       "天仙子 归自谣 定西番 江城子 长相思 相见欢 醉太平 上行杯 酒泉子 生查子 昭君怨 玉蝴蝶 "
                       "醉花间 点绛唇 浣溪沙 "
                       "霜天晓角 伤春怨 菩萨蛮 采桑子 木兰花 卜算子 谒金门 好事近 清平乐 忆秦娥 更漏子 "
                       "巫山一段云 忆少年 喜迁莺 "
                       "阮郎归 画堂春 三字令 忆馀杭 烛影摇红 朝中措 眼儿媚 人月圆 河渎神 柳梢青 太常引 "
                       "少年游 西江月 醉花阴 望江东 "
                       "临江仙 钗头凤 河传 望远行 鹧鸪天 虞美人 鹊桥仙 夜游宫 小重山 踏莎行 蝶恋花 一剪梅 "
                       "唐多令 定风波 破阵子 "
                       "渔家傲 苏幕遮 喝火令 淡黄柳 锦缠道 行香子 酷相思 解佩令 青玉案 千秋岁 粉蝶儿 风入松 "
                       "御街行 祝英台近 离亭燕 "
                       "金人捧露盘 最高楼 蓦山溪 洞仙歌 惜红衣 八六子 醉翁操 法曲献仙音 满江红 雪梅香 "
                       "水调歌头 满庭芳 黄莺儿 天香 "
                       "汉宫春 剑器近 八声甘州 醉蓬莱 凤凰台上忆吹箫 暗香 长亭怨慢 扬州慢 双双燕 声声慢 "
                       "宴山亭 念奴娇 绕佛阁 渡江云 "
                       "绛都春 高阳台 桂枝香 锦堂春慢 翠楼吟 霓裳中序第一 寿楼春 水龙吟 石州慢 宴清都 忆旧游 "
                       "瑞鹤仙 齐天乐 雨霖铃 "
                       "眉妩 永遇乐 二郎神 拜星月慢 曲玉管 西河 西吴曲 夜飞鹊 望海潮 疏影 沁园春 摸鱼儿 "
                       "贺新郎 兰陵王 多丽 六丑 "
                       "六州歌头 夜半乐 宝鼎现 哨遍 戚氏 莺啼序")
            .split(u' ', Qt::SkipEmptyParts);
    return list;
}

namespace {

using Histogram = QHash<QString, int>;

bool formsAgree(const Histogram &smaller, const Histogram &larger)
{
    const int top = larger.isEmpty() ? 0 : *std::max_element(larger.cbegin(), larger.cend());
    int fit = 0, total = 0;
    for (auto it = smaller.cbegin(); it != smaller.cend(); ++it) {
        total += it.value();
        const int there = larger.value(it.key());
        if (there >= 2 || (there > 0 && there == top))
            fit += it.value();
    }
    return 2 * fit >= total;
}

// Groups of written names joined so far, with the structures of all their poems.
class Joins {
public:
    explicit Joins(const QList<WrittenName> &written)
        : m_parent(written.size())
        , m_histogram(written.size())
    {
        std::iota(m_parent.begin(), m_parent.end(), 0);
        for (qsizetype g = 0; g < written.size(); ++g)
            for (const QString &s : written[g].structures)
                ++m_histogram[g][s];
    }
    int find(int g)
    {
        while (m_parent[g] != g)
            g = m_parent[g] = m_parent[m_parent[g]];
        return g;
    }
    int size(int root) const
    {
        return std::accumulate(m_histogram[root].cbegin(), m_histogram[root].cend(), 0);
    }
    // With loose, one structure in common is agreement enough: the corpus gives the larger group's
    // name as the smaller one's usual name ("胜胜慢・声声慢"), or our alias list joins them.
    bool join(int a, int b, bool loose)
    {
        int ra = find(a), rb = find(b);
        if (ra == rb)
            return true;
        if (size(ra) < size(rb))
            std::swap(ra, rb);
        const auto shared = [&] {
            for (auto it = m_histogram[rb].cbegin(); it != m_histogram[rb].cend(); ++it)
                if (m_histogram[ra].contains(it.key()))
                    return true;
            return false;
        };
        if (!formsAgree(m_histogram[rb], m_histogram[ra]) && !(loose && shared()))
            return false;
        for (auto it = m_histogram[rb].cbegin(); it != m_histogram[rb].cend(); ++it)
            m_histogram[ra][it.key()] += it.value();
        m_histogram[rb].clear();
        m_parent[rb] = ra;
        return true;
    }

private:
    QList<int> m_parent;
    QList<Histogram> m_histogram;
};

struct Link {
    int from;
    int to;
    QString reason;
    bool loose = false;
};

// Each link goes to the largest group bearing the name; the links of the most poems are tried first.
QList<Link> linksOf(const QList<WrittenName> &written)
{
    QHash<QString, int> bearer;
    QList<int> bySize(written.size());
    std::iota(bySize.begin(), bySize.end(), 0);
    std::stable_sort(bySize.begin(), bySize.end(),
                     [&](int a, int b) { return written[a].poems.size() > written[b].poems.size(); });
    for (int g : bySize)
        for (const QString &part : written[g].parts)
            if (!bearer.contains(part))
                bearer.insert(part, g);

    QList<Link> links;
    const auto link = [&](int g, const QString &name, const QString &reason, bool loose) {
        const int to = bearer.value(name, -1);
        if (to >= 0 && to != g)
            links.append({g, to, reason, loose});
    };
    for (int g = 0; g < written.size(); ++g) {
        for (const QString &part : written[g].parts) {
            link(g, part, QStringLiteral("集中写法"),
                 part == written[g].parts.last() && written[g].parts.size() > 1);
            if (part.size() > 2 && QStringView(u"令慢近引").contains(part.back()))
                link(g, part.chopped(1), QStringLiteral("令慢"), false);
            for (const auto &[usual, others] : ciAliasList())
                if (others.contains(part))
                    link(g, usual, QStringLiteral("别名表"), true);
        }
    }
    std::stable_sort(links.begin(), links.end(), [&](const Link &a, const Link &b) {
        return written[a.from].poems.size() + written[a.to].poems.size() >
               written[b.from].poems.size() + written[b.to].poems.size();
    });
    return links;
}

} // namespace

NameJoins joinNames(const QList<WrittenName> &written, int report)
{
    NameJoins out;
    Joins joins(written);
    for (const Link &link : linksOf(written)) {
        if (joins.find(link.from) == joins.find(link.to))
            continue;
        const bool big = joins.size(joins.find(link.from)) + joins.size(joins.find(link.to)) >= report;
        const QString line = QStringLiteral("%1 (%2) → %3 (%4), %5")
                                 .arg(written[link.from].name)
                                 .arg(written[link.from].poems.size())
                                 .arg(written[link.to].name)
                                 .arg(written[link.to].poems.size())
                                 .arg(link.reason);
        if (joins.join(link.from, link.to, link.loose))
            out.joined << line;
        else if (big)
            out.refused << line;
    }
    QHash<int, int> groupOf;
    for (qsizetype g = 0; g < written.size(); ++g) {
        const int root = joins.find(int(g));
        if (!groupOf.contains(root)) {
            groupOf.insert(root, int(out.groups.size()));
            out.groups.append(NameGroup());
        }
        NameGroup &group = out.groups[groupOf.value(root)];
        group.usual[written[g].parts.last()] += int(written[g].poems.size());
        for (const QString &part : written[g].parts)
            group.named[part] += int(written[g].poems.size());
        group.poems += written[g].poems;
    }
    return out;
}

QString nameOfGroup(const NameGroup &group, const QSet<QString> &taken)
{
    const auto aliasElsewhere = [](const QString &name) {
        return std::any_of(ciAliasList().begin(), ciAliasList().end(),
                           [&](const auto &entry) { return entry.second.contains(name); });
    };
    QStringList names = group.named.keys();
    std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        return std::tuple(-group.usual.value(a), -group.named.value(a), a) <
               std::tuple(-group.usual.value(b), -group.named.value(b), b);
    });
    // A handbook name the group bears, or one whose aliases it bears (苍梧谣 for 十六字令).
    QHash<QString, int> handbook;
    for (const QString &name : names)
        if (handbookTunes().contains(name) && !aliasElsewhere(name))
            handbook[name] += group.named.value(name);
    for (const auto &[usual, others] : ciAliasList())
        for (const QString &alias : others)
            if (handbookTunes().contains(usual) && group.named.contains(alias))
                handbook[usual] += group.named.value(alias);
    QString best;
    for (auto it = handbook.cbegin(); it != handbook.cend(); ++it)
        if (!taken.contains(it.key()) && (best.isEmpty() || it.value() > handbook.value(best) ||
                                          (it.value() == handbook.value(best) && it.key() < best)))
            best = it.key();
    if (!best.isEmpty())
        return best;
    for (const QString &name : names)
        if (!taken.contains(name))
            return name;
    return {};
}

} // namespace builddb
