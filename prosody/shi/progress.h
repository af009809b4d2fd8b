// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/shi/shipoem.h"

namespace prosody {

// The lines a poem being written has still to write, as the templates its variant gives them (中 at
// the free positions), once the written lines have their types.
void addPendingLines(ShiPoem &poem);

} // namespace prosody
