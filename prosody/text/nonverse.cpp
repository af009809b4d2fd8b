// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/text/nonverse.h"

#include <QRegularExpression>

namespace prosody {

namespace {

const QString kDynasties = QStringLiteral(
    "先秦|秦|西汉|东汉|汉|三国|魏|蜀|吴|西晋|东晋|晋|南北朝|南朝|北朝|宋|齐|梁|陈|北魏|北齐|北周|隋|唐|五代|"
    "南唐|后蜀|北宋|南宋|辽|金|元|明|清|近代|近现代|现代|当代|"
    "漢|魏晉|晉|南唐|後蜀|遼|現代|當代|近現代");

} // namespace

LineKind kindOfLine(const QString &visible)
{
    const QString t = visible.trimmed();
    if (t.isEmpty() || t.size() > 40) // what is printed around a poem is short
        return LineKind::Verse;
    static const QRegularExpression section(QStringLiteral(
        "^[\\[【〔（(]?(上|下|前|后|後)(阕|阙|闋|闕|片|段|半阕|半阙|半闋)[\\]】〕）)]?[：:]?$"));
    if (section.match(t).hasMatch())
        return LineKind::Section;
    static const QRegularExpression part(QStringLiteral(
        "^[\\[【〔（(]?(其[一二三四五六七八九十百]{1,3}|第[一二三四五六七八九十百0-9]{1,3}(首|阕|阙|闋)|"
        "[一二三四五六七八九十]{1,3}|[0-9０-９]{1,3})[\\]】〕）)]?[、.．:：]?$"));
    if (part.match(t).hasMatch())
        return LineKind::Part;
    static const QRegularExpression commentary(QStringLiteral(
        "^(注[：:．.、\\s0-9０-９①-⑳释釋解]|注$|(译文|譯文|赏析|賞析|简析|簡析|评析|評析|注释|注釋)"
        "[：:\\s]|(译文|譯文|赏析|賞析|注释|注釋)$)"));
    if (commentary.match(t).hasMatch())
        return LineKind::Commentary;
    // A date, in digits or in Chinese numerals or by the cycle of years, then anything short (a place,
    // a signature) without the punctuation of a verse line.
    static const QRegularExpression date(QStringLiteral(
        "^(公元)?([0-9０-９]{2,4}|[〇○零一二三四五六七八九十]{2,4}|[甲乙丙丁戊己庚辛壬癸]["
        "子丑寅卯辰巳午未申酉戌亥])"
        "年[〇○零一二三四五六七八九十0-9０-９闰正冬腊]{0,3}(月|春|夏|秋|冬)[^，。！？；,!?;]{0,16}$|"
        "^[0-9]{4}[-./][0-9]{1,2}([-./][0-9]{1,2})?[^，。！？；,!?;]{0,16}$"));
    if (date.match(t).hasMatch())
        return LineKind::Date;
    static const QRegularExpression author(
        QStringLiteral("^(——|—|－－|--|―|~|～)\\s*[^，。！？；,!?;]{1,16}$|"
                       "^[〔【\\[（(]?(%1)[代朝]?[〕】\\]）)]?\\s*[·・•‧.:：\\s]"
                       "\\s*\\S{1,8}$")
            .arg(kDynasties));
    if (author.match(t).hasMatch())
        return LineKind::Author;
    return LineKind::Verse;
}

bool looksLikeName(const QString &visible)
{
    const QString t = visible.trimmed();
    if (t.size() < 2 || t.size() > 4)
        return false;
    for (QChar c : t)
        if (c.script() != QChar::Script_Han)
            return false;
    return true;
}

} // namespace prosody
