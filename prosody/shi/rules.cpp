// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/rules.h"

namespace prosody {

namespace {

QString classWord(ToneClass c)
{
    return c == ToneClass::Ping ? QStringLiteral("平") : QStringLiteral("仄");
}

// Position in the line of a position of its last five characters.
int core(const ShiPoem &poem, int p)
{
    return p + poem.length() - 5;
}

// Whether a line's second character goes against its own type.
bool offType(const ShiPoem &poem, int l)
{
    return isDefinite(poem.cls(l, 2)) &&
           poem.cls(l, 2) != classOfTemplate(templateOf(poem.types.at(l), poem.length()).at(1));
}

// 对 inside a couplet and 粘 between couplets, at the second character. A broken relation is the
// fault of this line unless the line before goes against its own type (its fault, already reported).
// Returns whether a broken relation was reported here (a fault, or the warning of a 折腰体).
bool judgeRelations(ShiPoem &poem, int l)
{
    if (l == 0 || !isDefinite(poem.cls(l, 2)) || !isDefinite(poem.cls(l - 1, 2)) || offType(poem, l - 1))
        return false;
    const bool couplet = l % 2 == 1;
    const bool same = poem.cls(l, 2) == poem.cls(l - 1, 2);
    if (couplet != same)
        return false;
    const ToneClass other = poem.cls(l - 1, 2) == ToneClass::Ping ? ToneClass::Ze : ToneClass::Ping;
    const QString want = classWord(couplet ? other : poem.cls(l - 1, 2));
    // 折腰体: a quatrain whose second couplet does not hold to the first, as many of the Tang do (渭城
    // 朝雨, 滁州西涧). A warning; in a 律诗 失粘 stays a fault.
    if (!couplet && l == 2 && poem.formLines == 4) {
        poem.add(
            l, 2, FindingKind::Unglued, Severity::Warning,
            QStringLiteral("%1：与上联失粘，为折腰体，唐人绝句有之；依律此处应%2").arg(poem.at(l, 2), want));
        return true;
    }
    poem.add(l, 2, couplet ? FindingKind::Unmatched : FindingKind::Unglued, Severity::Fault,
             QStringLiteral("%1：与%2%3，此处应%4")
                 .arg(poem.at(l, 2), couplet ? QStringLiteral("上句") : QStringLiteral("上联"),
                      couplet ? QStringLiteral("失对") : QStringLiteral("失粘"), want));
    return true;
}

void judgeBrokenPosition(ShiPoem &poem, int l, int p, LineType type, ToneClass want)
{
    const QString should =
        QStringLiteral("此处应%1，用了%2声").arg(classWord(want), classWord(poem.cls(l, p)));
    if (p == poem.length()) {
        poem.add(l, p, FindingKind::Tones, Severity::Fault,
                 poem.out().lines.at(l).rhymed
                     ? QStringLiteral("%1：韵脚应平，用了仄声").arg(poem.at(l, p))
                     : QStringLiteral("%1：不押韵的句子末字应仄，用了平声").arg(poem.at(l, p)));
        return;
    }
    const int third = core(poem, 3), fourth = core(poem, 4);
    // 平平仄平仄 for 平平平仄仄: the fourth turned 平 is made good by the third turned 仄.
    if (type == LineType::C && p == fourth && maybe(poem.cls(l, third), ToneClass::Ze)) {
        poem.add(l, p, FindingKind::SelfRescue, Severity::Accepted,
                 QStringLiteral("%1：第%2字用仄、第%3字用平，为本句自救，可用")
                     .arg(poem.at(l, p))
                     .arg(third)
                     .arg(fourth));
        return;
    }
    // 仄仄平仄仄 for 仄仄平平仄, made good by 平 at the third of the partner line.
    if (type == LineType::A && p == fourth && l + 1 < poem.lineCount() && l % 2 == 0 &&
        poem.types.at(l + 1) == LineType::B && maybe(poem.cls(l + 1, third), ToneClass::Ping)) {
        poem.add(l, p, FindingKind::PartnerRescue, Severity::Accepted,
                 QStringLiteral("%1拗，对句第%2字「%3」用平相救，为对句相救，可用")
                     .arg(poem.at(l, p))
                     .arg(third)
                     .arg(poem.ch(l + 1, third)));
        return;
    }
    poem.add(l, p, FindingKind::Tones, Severity::Fault, QStringLiteral("%1：%2").arg(poem.at(l, p), should));
}

// In a line of the type 平平仄仄平, one 平 besides the rhyme is 孤平; 仄平平仄平 makes it good.
void judgeLonePing(ShiPoem &poem, int l, LineType type)
{
    if (type != LineType::B || !poem.isFull(l))
        return;
    int level = 0;
    for (int p = 1; p <= 4; ++p) {
        const ToneClass c = poem.cls(l, core(poem, p));
        level += c == ToneClass::Ping || c == ToneClass::Both || c == ToneClass::Unknown;
    }
    if (level <= 1) {
        poem.add(l, core(poem, 1), FindingKind::LonePing, Severity::Fault,
                 QStringLiteral("第%1句犯孤平：除韵脚外只有一个平声字").arg(l + 1));
        return;
    }
    if (poem.cls(l, core(poem, 1)) == ToneClass::Ze && maybe(poem.cls(l, core(poem, 3)), ToneClass::Ping))
        poem.add(l, core(poem, 3), FindingKind::LonePingRescue, Severity::Accepted,
                 QStringLiteral("%1：第%2字用仄，此字用平相救，为孤平拗救，可用")
                     .arg(poem.at(l, core(poem, 3)))
                     .arg(core(poem, 1)));
}

void judgeTail(ShiPoem &poem, int l)
{
    if (!poem.isFull(l))
        return;
    const int n = poem.length();
    const QString tail = poem.out().lines.at(l).line.text(n - 3, 3);
    const auto all = [&](ToneClass c) {
        return poem.cls(l, n - 2) == c && poem.cls(l, n - 1) == c && poem.cls(l, n) == c;
    };
    if (all(ToneClass::Ping))
        poem.add(l, n - 2, FindingKind::ThreePing, Severity::Fault,
                 QStringLiteral("第%1句末三字「%2」连用平声，犯三平尾").arg(l + 1).arg(tail));
    else if (all(ToneClass::Ze))
        poem.add(l, n - 2, FindingKind::ThreeZe, Severity::Warning,
                 QStringLiteral("第%1句末三字「%2」连用仄声（三仄尾），可用，宜慎").arg(l + 1).arg(tail));
}

} // namespace

void judgeLines(ShiPoem &poem)
{
    for (int l = 0; l < poem.lineCount(); ++l) {
        const LineType type = poem.types.at(l);
        const QString t = templateOf(type, poem.length());
        const bool related = judgeRelations(poem, l);
        for (int p : fixedPositions(poem.length())) {
            const ToneClass want = classOfTemplate(t.at(p - 1));
            const ToneClass have = poem.cls(l, p);
            if (!isDefinite(have) || have == want || (p == 2 && related))
                continue;
            judgeBrokenPosition(poem, l, p, type, want);
        }
        judgeLonePing(poem, l, type);
        judgeTail(poem, l);
    }
}

} // namespace prosody
