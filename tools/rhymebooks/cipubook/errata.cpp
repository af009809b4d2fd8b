// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipubook/errata.h"

#include <algorithm>

namespace cipubook {

namespace {

struct Erratum {
    const char16_t *printed;
    const char16_t *meant;
};

// Found by the examples that broke their own rhyme (shihai-evaluate cipubook --examples); only where
// the character meant is certain: the rhyme of the 部 the example keeps, and the poem's known text.
constexpr Erratum kErrata[] = {
    {u"處處燕鶯晴書", u"處處燕鶯晴晝"},     // 吴文英 花心动: 晝 rhymes with 瘦 綬 酒
    {u"悽悽慘慘戚成", u"悽悽慘慘戚戚"},     // 李清照 声声慢
    {u"無奈被他情擔門", u"無奈被他情擔閣"}, // 王安石 千秋岁引: 擔閣 among 角 廓 落
    {u"笑今夕不知何久", u"笑今夕不知何夕"}, // 方岳 鹊桥仙: 今夕何夕, among 一 日 十
    {u"豳詩漫興", u"豳詩漫與"},             // 姜夔 齐天乐: 漫與, among 賦 語 處
    {u"誰見恨時眉嫌", u"誰見恨時眉嫵"},     // 史达祖 贺新郎: 眉嫵, among 樹 數 侣
    {u"當時曽共秋波", u"當時曽共秋被"},     // 吴文英 梦芙蓉: 秋被, among 綺 里 醉
    {u"朝露漙溥", u"朝露漙漙"},             // 苏轼 沁园春: 漙漙, among 殘 歡 端
};

} // namespace

void mendErrata(BookExample &example, QStringList &slips)
{
    for (BookStanza &stanza : example.stanzas)
        for (BookLine &line : stanza.lines)
            for (const Erratum &e : kErrata) {
                const QString printed = QString::fromUtf16(e.printed);
                if (!line.rhymed() || line.text != printed)
                    continue;
                line.text = QString::fromUtf16(e.meant);
                // The one character that differs, with the one before it.
                qsizetype at = 0;
                while (at < printed.size() && printed[at] == line.text[at])
                    ++at;
                const qsizetype from = std::max<qsizetype>(0, at - 1);
                slips << QStringLiteral("「%1」作「%2」").arg(printed.mid(from, 2), line.text.mid(from, 2));
            }
}

} // namespace cipubook
