#pragma once

#include <QString>

namespace prosody {

// A fault breaks a rule of the form; a warning is allowed but worth a look (三仄尾, a borrowed
// rhyme, a character the book lacks); an accepted finding is a licence the tradition allows (拗救).
enum class Severity { Fault, Warning, Accepted };

// Kinds of finding, as they are named to the user.
namespace kind {
inline const QString tones = QStringLiteral("平仄");
inline const QString lonePing = QStringLiteral("孤平");
inline const QString threePing = QStringLiteral("三平尾");
inline const QString threeZe = QStringLiteral("三仄尾");
inline const QString unmatched = QStringLiteral("失对");
inline const QString unglued = QStringLiteral("失粘");
inline const QString offRhyme = QStringLiteral("出韵");
inline const QString unrhymed = QStringLiteral("未押韵");
inline const QString borrowedRhyme = QStringLiteral("孤雁出群");
inline const QString sharedRhyme = QStringLiteral("通押");
inline const QString obliqueRhyme = QStringLiteral("仄韵");
inline const QString length = QStringLiteral("字数");
inline const QString selfRescue = QStringLiteral("本句自救");
inline const QString lonePingRescue = QStringLiteral("孤平拗救");
inline const QString partnerRescue = QStringLiteral("对句相救");
inline const QString unknown = QStringLiteral("未知");
inline const QString modernOnly = QStringLiteral("今读");
inline const QString unfinished = QStringLiteral("未完");
} // namespace kind

struct Finding {
    int line = 0; // 1-based; 0 for the whole poem
    int pos = 0;  // 1-based character in the line; 0 for the whole line
    QString character;
    QString kind;
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
