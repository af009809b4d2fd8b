// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/findings/poemcheck.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The marks of 对仗 in the marked poem: under the lower line of each middle couplet of a 律诗 or 排律
// (and of each 对联), its units of the rhythm marked 工, 宽 or 未对 and, on hover, the pair and how
// often the classics set it.

// A unit: the characters it spans (0-based) and the mark under them.
struct CoupletMark {
    int from = 0;
    int length = 0;
    QString mark; // 工 宽 未对
    prosody::Parallel judgement = prosody::Parallel::None;
    bool operator==(const CoupletMark &) const = default;
};

struct CoupletMarks {
    QString summary; // "颔联对仗", "颈联未成对仗"
    bool parallel = false;
    QList<CoupletMark> units;
    QStringList tips; // per character of the line
};

// The marks of the middle couplet whose lower line is line (0-based); nullopt when there is none.
std::optional<CoupletMarks> coupletMarks(const prosody::PoemCheck &check, int line);
