// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/books.h"
#include "prosody/couplet/pairsource.h"
#include "prosody/findings/poemcheck.h"

#include <QList>
#include <QString>

namespace prosody {

// The form of the 春联 writer: 对联.
inline const QString duilianForm = QStringLiteral("对联");

// Checks each 对联 of a text as read (several apart at blank lines): the 上联 on one line and the 下联 on the
// next (or the first half of the clauses and the second), of equal length clause by clause. The 上联
// ends 仄 and the 下联 平; at the rhythm points (the 2nd, 4th, 6th … characters and the last of each
// clause) the two are opposed; then the 对仗 of each pair of clauses as a couplet. Without pairs
// only the 平仄 is checked, and a warning says so.
QList<PoemCheck> checkDuilian(const RhymeBooks &books, const QList<Poem> &poems, Book book,
                              const PairSource *pairs);

} // namespace prosody
