// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/findings/finding.h"

namespace prosody {

QString kindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Tones:
        return QStringLiteral("平仄");
    case FindingKind::LonePing:
        return QStringLiteral("孤平");
    case FindingKind::ThreePing:
        return QStringLiteral("三平尾");
    case FindingKind::ThreeZe:
        return QStringLiteral("三仄尾");
    case FindingKind::Unmatched:
        return QStringLiteral("失对");
    case FindingKind::Unglued:
        return QStringLiteral("失粘");
    case FindingKind::OffRhyme:
        return QStringLiteral("出韵");
    case FindingKind::Unrhymed:
        return QStringLiteral("未押韵");
    case FindingKind::BorrowedRhyme:
        return QStringLiteral("孤雁出群");
    case FindingKind::SharedRhyme:
        return QStringLiteral("通押");
    case FindingKind::ObliqueRhyme:
        return QStringLiteral("仄韵");
    case FindingKind::Length:
        return QStringLiteral("字数");
    case FindingKind::SelfRescue:
        return QStringLiteral("本句自救");
    case FindingKind::LonePingRescue:
        return QStringLiteral("孤平拗救");
    case FindingKind::PartnerRescue:
        return QStringLiteral("对句相救");
    case FindingKind::Unknown:
        return QStringLiteral("未知");
    case FindingKind::ModernOnly:
        return QStringLiteral("今读");
    case FindingKind::Unfinished:
        return QStringLiteral("未完");
    case FindingKind::Parallel:
        return QStringLiteral("对仗");
    case FindingKind::SameChar:
        return QStringLiteral("同字相对");
    case FindingKind::Alike:
        return QStringLiteral("合掌");
    }
    return QString();
}

} // namespace prosody
