// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/shi/shipoem.h"

namespace prosody {

// Gives each line the type of its place (rhymed or not) that fits its characters best; on a tie, the
// one that keeps 粘 and 对 with its neighbours, then the one its own second character shows. Sets the
// lines' templates (中 at the free positions), which lines rhyme, and the poem's variant. Needs the
// rhyme group, when there is one, to tell whether a first line of both classes rhymes.
void chooseLineTypes(ShiPoem &poem);

} // namespace prosody
