// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace prosody {

// A fault breaks a rule of the form; a warning is allowed but worth a look (三仄尾, a borrowed
// rhyme, a character the book lacks); an accepted finding is a licence the tradition allows (拗救).
enum class Severity { Fault, Warning, Accepted };

// Kinds of finding: of regulated verse, of 词, of the couplets (对仗) and of the characters; each shows
// to the user (and in the JSON) by its Chinese name, kindName().
enum class FindingKind : quint8 {
    Tones,          // 平仄
    LonePing,       // 孤平
    ThreePing,      // 三平尾
    ThreeZe,        // 三仄尾
    Unmatched,      // 失对
    Unglued,        // 失粘
    OffRhyme,       // 出韵
    Unrhymed,       // 未押韵
    BorrowedRhyme,  // 孤雁出群
    SharedRhyme,    // 通押
    ObliqueRhyme,   // 仄韵
    Length,         // 字数
    SelfRescue,     // 本句自救
    LonePingRescue, // 孤平拗救
    PartnerRescue,  // 对句相救
    Unknown,        // 未知
    ModernOnly,     // 今读
    Unfinished,     // 未完
    Parallel,       // 对仗
    SameChar,       // 同字相对
    Alike,          // 合掌
};
QString kindName(FindingKind kind);

struct Finding {
    int line = 0; // 1-based; 0 for the whole poem
    int pos = 0;  // 1-based character in the line; 0 for the whole line
    QString character;
    FindingKind kind = FindingKind::Tones;
    Severity severity = Severity::Fault;
    QString text; // plain Chinese: "第3句第4字「月」：此处应平，用了仄声"

    bool isFault() const { return severity == Severity::Fault; }
};

// Where a finding points, as its text begins: "第3句第4字「月」" (line and position 1-based).
inline QString locator(int line, int pos, const QString &character)
{
    return QStringLiteral("第%1句第%2字「%3」").arg(line).arg(pos).arg(character);
}

} // namespace prosody
