// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/shi/rhymes.h"

#include "prosody/core/rhymevote.h"

namespace prosody {

namespace {

QString groupName(const ShiPoem &poem, int group)
{
    return group < 0 ? QString() : poem.books().groups(poem.book()).at(group).name;
}

int vote(const ShiPoem &poem, const QList<int> &lines, RhymeTone tone)
{
    QList<char32_t> rhymes;
    for (int l : lines)
        rhymes.append(poem.endCode(l));
    return voteRhyme(poem.books(), poem.book(), rhymes, tone, !lines.isEmpty() && lines.first() == 0).group;
}

// Rhymes of which none is 平 alone, some 仄 alone, and all in one 仄 group: the characters of both
// classes rhyme 仄 with the rest (顾况's 石窦泉 rhymes 旋 with 片 in 霰), unless the first line ends on a
// 平 of their 平 group.
bool obliqueByGroup(const ShiPoem &poem, int oblique, int onlyLevel)
{
    if (oblique == 0 || onlyLevel > 0)
        return false;
    const QList<int> lines = poem.evenLineEnds();
    QList<char32_t> rhymes;
    for (int l : lines)
        rhymes.append(poem.endCode(l));
    if (voteRhyme(poem.books(), poem.book(), rhymes, RhymeTone::Oblique).voters != rhymes.size())
        return false;
    if (!poem.hasEnd(0) || poem.endClass(0) != ToneClass::Ping)
        return true;
    QList<char32_t> level = {poem.endCode(0)};
    for (int l : lines)
        if (poem.endClass(l) == ToneClass::Both)
            level.append(poem.endCode(l));
    return voteRhyme(poem.books(), poem.book(), level, RhymeTone::Level).voters != level.size();
}

} // namespace

bool judgeObliqueRhyme(ShiPoem &poem, bool chosen)
{
    // A character of both classes may be read 平: only rhymes that are clearly 仄 make 古体.
    int level = 0, oblique = 0, onlyLevel = 0;
    QStringList chars;
    for (int l : poem.evenLineEnds()) {
        level += maybe(poem.endClass(l), ToneClass::Ping);
        onlyLevel += poem.endClass(l) == ToneClass::Ping;
        oblique += poem.endClass(l) == ToneClass::Ze;
        chars << poem.ch(l, poem.size(l));
    }
    // Where the poet chose regulated verse, only a clear majority: a 仄 at one rhyme is that rhyme's fault.
    if (oblique <= level && (chosen || !obliqueByGroup(poem, oblique, onlyLevel)))
        return false;
    poem.out().rhyme = groupName(poem, vote(poem, poem.evenLineEnds(), RhymeTone::Oblique));
    poem.add(-1, 0, FindingKind::ObliqueRhyme, chosen ? Severity::Fault : Severity::Warning,
             QStringLiteral("韵脚「%1」为仄声，属古体，不按近体格律检查").arg(chars.join(u'、')));
    return true;
}

void chooseRhymeGroup(ShiPoem &poem)
{
    // The even lines, and line 1 when it ends in 平: it counts for the rhyme only on a tie.
    QList<int> lines = poem.evenLineEnds();
    if (poem.hasEnd(0) && maybe(poem.endClass(0), ToneClass::Ping))
        lines.prepend(0);
    poem.group = vote(poem, lines, RhymeTone::Level);
    poem.out().rhyme = groupName(poem, poem.group);
}

void judgeRhymes(ShiPoem &poem)
{
    if (poem.group < 0)
        return;
    const QString name = groupName(poem, poem.group);
    for (int l = 0; l < poem.lineCount(); ++l) {
        if (!poem.out().lines.at(l).rhymed || !poem.hasEnd(l))
            continue;
        const int n = poem.size(l);
        const ToneClass c = poem.endClass(l);
        // A line of another length is not judged position by position: its rhyme is judged here.
        if (c == ToneClass::Ze && !poem.isFull(l))
            poem.add(l, n, FindingKind::Tones, Severity::Fault,
                     QStringLiteral("%1：韵脚应平，用了仄声").arg(poem.at(l, n)));
        if (poem.inGroup(l, poem.group, true) || c == ToneClass::Ze || c == ToneClass::Unknown)
            continue; // in the group, already a 平仄 fault, or a character the book lacks
        if (poem.books().memberships(poem.book(), poem.endCode(l)).isEmpty())
            continue; // classed by its modern reading: it has no group to compare
        if (l == 0 && poem.inNeighbour(l))
            poem.add(l, n, FindingKind::BorrowedRhyme, Severity::Warning,
                     QStringLiteral("%1：属邻韵%2，首句借邻韵，为孤雁出群，可用")
                         .arg(poem.at(l, n), poem.groupsOf(l)));
        else
            poem.add(l, n, FindingKind::OffRhyme, Severity::Fault,
                     QStringLiteral("%1：出韵，不在%2（属%3）").arg(poem.at(l, n), name, poem.groupsOf(l)));
    }
}

} // namespace prosody
