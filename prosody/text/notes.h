// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace prosody {

// Which characters of a text are notes rather than verse: what stands in brackets （…） (…) 【…】 […]
// 〔…〕, the brackets included, as books and web pages print variant readings and glosses
// ("三顧頻煩天下計。(頻煩 一作：頻繁)"). A note may run over line breaks but not over a blank line; a
// bracket left open there closes at the end of its own line, so a stray bracket hides no verse.
QList<bool> noteMask(const QString &text);

} // namespace prosody
