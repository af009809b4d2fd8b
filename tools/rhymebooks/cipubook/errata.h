// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cipubook/booktypes.h"

#include <QStringList>

namespace cipubook {

// Characters the transcription of the book mistook in an example, each mended in the rhymed 句 it
// stands in, as printed whole: found where the rhyme the book marks there failed, and mended to the
// character the poem as every edition prints it gives (李清照's 戚戚 printed 戚成, 王安石's 擔閣
// printed 擔門). Each mend is told in slips: "「晴書」作「晴晝」".
void mendErrata(BookExample &example, QStringList &slips);

} // namespace cipubook
