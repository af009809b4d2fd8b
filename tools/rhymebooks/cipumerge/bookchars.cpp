// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/rhymebooks/cipumerge/bookchars.h"

#include "tools/rhymebooks/cipubook/booktext.h"
#include "tools/rhymebooks/cipubook/variants.h"

#include <QHash>
#include <QRegularExpression>

namespace cipumerge {

namespace {

// Old forms the book prints that neither the reader's folding nor OpenCC's t2s maps (checked on the
// examples: each left its 平仄 unknown, or read another character's: the book writes 鐙 for 燈 and 盻
// for 盼 throughout, and 疎 逰 㑹 綘 㕔 in the names of 调 the corpus writes 疏影, 忆旧游, 点绛唇 …).
char32_t ownVariant(char32_t c)
{
    static const QHash<char32_t, char32_t> table = {
        {U'㟁', U'岸'}, {U'逺', U'远'}, {U'歴', U'历'}, {U'乗', U'乘'}, {U'叅', U'参'}, {U'埀', U'垂'},
        {U'幙', U'幕'}, {U'纒', U'缠'}, {U'堦', U'阶'}, {U'鬭', U'斗'}, {U'髪', U'发'}, {U'曽', U'曾'},
        {U'冺', U'泯'}, {U'筭', U'算'}, {U'搥', U'捶'}, {U'絃', U'弦'}, {U'竒', U'奇'}, {U'亷', U'廉'},
        {U'蔵', U'藏'}, {U'欵', U'款'}, {U'宻', U'密'}, {U'蘓', U'蘇'}, {U'鐙', U'燈'}, {U'盻', U'盼'},
        {U'疎', U'疏'}, {U'逰', U'遊'}, {U'㑹', U'會'}, {U'綘', U'絳'}, {U'㕔', U'廳'}, {U'卭', U'邛'},
    };
    return table.value(c, c);
}

} // namespace

BookCharacters::BookCharacters(const builddb::Converter &t2s)
    : m_t2s(t2s)
{
}

QString BookCharacters::operator()(const QString &printed) const
{
    static const QRegularExpression entity(QStringLiteral("&[A-Za-z]+[0-9]+;"));
    QString text = printed;
    text.replace(entity, QStringLiteral("□"));
    cipubook::Text chars = cipubook::folded(cipubook::toText(text));
    for (char32_t &c : chars)
        c = ownVariant(c);
    const QString standard = cipubook::toQString(chars);
    const QString simplified = m_t2s(standard);
    if (simplified.toUcs4().size() == standard.toUcs4().size())
        return simplified;
    // A phrase OpenCC rewrote to another length: character by character instead.
    QString out;
    for (const char32_t c : chars)
        out += m_t2s(QString::fromUcs4(&c, 1));
    return out;
}

} // namespace cipumerge
