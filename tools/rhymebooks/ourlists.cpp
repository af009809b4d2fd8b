// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/ourlists.h"

namespace builddb {

namespace {

// Common characters the 廣韻 lacks in every form, with their readings in the later rhyme books
// (集韻 and the 平水 tradition): tone, rhyme family by its 平聲 base name, 開合.
constexpr OurReading kOurReadings[] = {
    {U'撒', u'入', u'寒', u'開'}, {U'榕', u'平', u'鍾', 0},     {U'烹', u'平', u'庚', u'開'},
    {U'砍', u'上', u'覃', 0},     {U'舔', u'上', u'添', 0},     {U'葡', u'平', u'模', 0},
    {U'蝴', u'平', u'模', 0},     {U'票', u'平', u'宵', 0},     {U'票', u'去', u'宵', 0},
    {U'罕', u'上', u'寒', u'開'}, {U'潇', u'平', u'蕭', 0},     {U'摹', u'平', u'模', 0},
    {U'淘', u'平', u'豪', 0},     {U'擂', u'平', u'灰', 0},     {U'擂', u'去', u'灰', 0},
    {U'礁', u'平', u'宵', 0},     {U'瞧', u'平', u'宵', 0},     {U'狠', u'上', u'痕', 0},
    {U'戳', u'入', u'江', 0},     {U'蒂', u'去', u'齊', 0},     {U'柿', u'上', u'之', 0},
    {U'袱', u'入', u'東', 0},     {U'嚷', u'上', u'陽', u'開'}, {U'晰', u'入', u'青', 0},
    {U'晌', u'上', u'陽', u'開'}, {U'媳', u'入', u'蒸', u'開'}, {U'垄', u'上', u'鍾', 0},
    {U'埠', u'去', u'模', 0},     {U'嗓', u'上', u'唐', u'開'}, {U'汽', u'去', u'微', 0},
    {U'汽', u'入', u'殷', 0},     {U'橱', u'平', u'虞', 0},     {U'窝', u'平', u'歌', u'合'},
    {U'瘟', u'平', u'魂', 0},     {U'膛', u'平', u'唐', u'開'}, {U'菠', u'平', u'歌', u'合'},
    {U'泼', u'入', u'寒', u'合'}, {U'滤', u'去', u'魚', 0},     {U'烫', u'去', u'唐', u'開'},
    {U'疯', u'平', u'東', 0},     {U'躲', u'上', u'歌', u'合'}, {U'摔', u'入', u'真', u'合'},
    {U'擦', u'入', u'寒', u'開'}, {U'挖', u'入', u'山', u'合'}, {U'挣', u'平', u'耕', u'開'},
    {U'挣', u'去', u'耕', u'開'}, {U'捆', u'上', u'魂', 0},     {U'拷', u'上', u'豪', 0},
    {U'搁', u'入', u'唐', u'開'}, {U'撑', u'平', u'庚', u'開'}, {U'撵', u'上', u'仙', u'開'},
    {U'勾', u'平', u'侯', 0},     {U'吩', u'平', u'文', 0},     {U'咐', u'去', u'虞', 0},
    {U'呛', u'去', u'陽', u'開'}, {U'喇', u'入', u'寒', u'開'}, {U'塌', u'入', u'談', 0},
    {U'岔', u'去', u'麻', u'開'}, {U'歪', u'平', u'佳', u'合'}, {U'疤', u'平', u'麻', u'開'},
    {U'瘫', u'平', u'寒', u'開'}, {U'碟', u'入', u'添', 0},     {U'赔', u'平', u'灰', 0},
    {U'辆', u'去', u'陽', u'開'}, {U'锈', u'去', u'尤', 0},     {U'馅', u'去', u'咸', 0},
    {U'馍', u'平', u'模', 0},     {U'蘑', u'平', u'歌', u'合'}, {U'茉', u'入', u'寒', u'合'},
    {U'籽', u'上', u'之', 0},     {U'褂', u'去', u'佳', u'合'}, {U'褪', u'去', u'魂', 0},
    {U'谎', u'上', u'唐', u'合'}, {U'舱', u'平', u'唐', u'開'}, {U'做', u'去', u'歌', u'開'},
    {U'另', u'去', u'青', u'開'}, {U'嘀', u'入', u'青', 0},     {U'懂', u'上', u'東', 0},
    {U'俩', u'上', u'陽', u'開'}, {U'叁', u'平', u'談', 0},     {U'婶', u'上', u'侵', 0},
    {U'丢', u'平', u'尤', 0},     {U'鸵', u'平', u'歌', u'開'},
};

// Readings poets use that the 廣韻 lacks for a character it has (from the 集韻 and the 平水
// tradition): 漫漫 平, 探 去, 天涯 rhyming with 麻, 娉婷 平, 圈 a ring 平 (绣圈), 靥 a dimple 於琰切
// (温庭筠 and 吴文英 rhyme 花靥 with 脸 and 敛), 凹 於交切 (姚云文 rhymes 深凹 with 萧 腰 宵). Added after
// the filter, which they bypass.
constexpr OurReading kOurAdditions[] = {
    {U'漫', u'平', u'寒', u'合'}, {U'探', u'去', u'覃', 0},     {U'涯', u'平', u'麻', u'開'},
    {U'娉', u'平', u'清', 0},     {U'圈', u'平', u'仙', u'合'}, {U'靥', u'上', u'鹽', 0},
    {U'凹', u'平', u'肴', 0},
};

// Classical readings the reflex filter would drop but that poets use: the old 两读 that the
// modern standard has lost (思 as a noun is 去, 望 and 忘 are often 平, 一骑 is 去), 沈 written
// for 沉 (平), 花钿 (平) and 污 as a verb (去).
constexpr OurKeep kOurKeeps[] = {
    {U'思', u'去'}, {U'望', u'平'}, {U'忘', u'平'}, {U'听', u'去'}, {U'醒', u'平'}, {U'叹', u'平'},
    {U'过', u'平'}, {U'骑', u'去'}, {U'漫', u'平'}, {U'吹', u'去'}, {U'探', u'平'}, {U'凭', u'去'},
    {U'衣', u'去'}, {U'乘', u'去'}, {U'从', u'去'}, {U'操', u'去'}, {U'治', u'平'}, {U'烧', u'去'},
    {U'纵', u'平'}, {U'胜', u'平'}, {U'王', u'去'}, {U'遗', u'去'}, {U'傍', u'平'}, {U'障', u'平'},
    {U'施', u'去'}, {U'暝', u'去'}, {U'劳', u'去'}, {U'沈', u'平'}, {U'钿', u'平'}, {U'污', u'去'},
};

// The readings the audit of the books against the classics mends (shihai-evaluate readings,
// docs/READINGS.md): each a reading verse gives the character, rhymed on that often in the classics,
// that the books lacked (the 廣韻 lacks it or the reflex filter dropped it).
constexpr OurReading kClassicsMends[] = {
    {U'筒', u'平', u'東', 0},     // 竹筒 徒紅切; rhymed 平 23 times (香筒, 诗筒), never 仄
    {U'浪', u'平', u'唐', u'開'}, // 滄浪 魯當切; rhymed 平 76 times, nearly all 沧浪
    {U'沤', u'平', u'侯', 0},     // 浮漚 烏侯切; the modern 沤 is only òu (沤肥); rhymed 平 22
    {U'蓂', u'平', u'青', 0},     // 蓂莢 莫經切; the modern 蓂 is only mì (菥蓂); rhymed 平 16
    {U'翰', u'平', u'寒', u'開'}, // 羽翰 胡安切; rhymed 平 17 times, 仄 8
    {U'凝', u'去', u'蒸', u'開'}, // 牛𩜁切; 消凝, 愁凝 at the oblique rhymes of 词, 27 times
    {U'莹', u'去', u'青', u'合'}, // 瑩 烏定切; 玉莹 at the oblique rhymes of 词, 28 times
    {U'溅', u'平', u'先', u'開'}, // 濺濺 子仙切, flowing fast; rhymed 平 8
    {U'鞞', u'平', u'齊', 0},     // 鼓鞞 (鼙) 部迷切; rhymed 平 8, never 仄
    {U'渑', u'平', u'蒸', u'開'}, // 澠水 食陵切 (淄渑); rhymed 平 8, never 仄
    {U'撞', u'平', u'江', 0},     // 宅江切; rhymed 平 6, never 仄
    {U'萎', u'平', u'支', u'合'}, // 於為切, withered; rhymed 平 6, never 仄
    {U'夭', u'上', u'宵', u'開'}, // 於兆切 (寿夭); rhymed 仄 6
    {U'坻', u'平', u'脂', u'開'}, // 直尼切, an islet; rhymed 平 4
    {U'倡', u'平', u'陽', u'開'}, // 尺良切 (倡优, 娼); rhymed 平 3, never 仄
    {U'谩', u'平', u'寒', 0},     // 謾 母官切, to deceive; rhymed 平 4
    {U'觜', u'上', u'支', u'合'}, // 即委切, a beak (嘴); rhymed 仄 4
    {U'娆', u'平', u'宵', u'開'}, // 妖嬈 如招切 (集韻); the 廣韻's 嬈 is another word (嬲, 擾); rhymed 平 26
    {U'攒', u'平', u'寒', u'合'}, // 欑 在丸切, to gather; rhymed 平 28
    {U'澌', u'平', u'支', u'開'}, // 流澌 息移切 (集韻); the data has only 去; rhymed 平 15, never 仄
    {U'粗', u'平', u'模', 0},     // written for 麤 倉胡切; rhymed 平 16
    {U'厌', u'平', u'鹽', 0},     // 厭厭 於鹽切 (安也, 集韻); 厌厌 and 无厌 rhymed 平 32, 仄 7
    {U'杆', u'平', u'寒', u'開'}, // 欄杆 for 闌干 古寒切; rhymed 平 7
    {U'哑', u'平', u'麻', u'開'}, // 嘔啞 於加切 (集韻); rhymed 平 6
    {U'簌', u'入', u'東', 0}, // 簌簌 桑谷切 (集韻); the book's 平 came from a variant; rhymed 仄 6
};

} // namespace

std::span<const OurReading> classicsMends()
{
    return kClassicsMends;
}

std::span<const OurReading> ourReadings()
{
    return kOurReadings;
}

std::span<const OurReading> ourAdditions()
{
    return kOurAdditions;
}

std::span<const OurKeep> ourKeeps()
{
    return kOurKeeps;
}

std::optional<Tone> toneOf(char16_t c)
{
    for (Tone tone : {Tone::Ping, Tone::Shang, Tone::Qu, Tone::Ru})
        if (toneChar(tone) == QChar(c))
            return tone;
    return std::nullopt;
}

} // namespace builddb
