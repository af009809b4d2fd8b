// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/classics.h"
#include "presentation/gelv/examplessource.h"

// A poem of the classics as the poem dialog shows it: its title, dynasty and author, the lines, the
// notes and the source. Shared by the tabs that open a poem from a line (例句, 集句).
ExamplesSource::PoemPage poemPageOf(const classics::Poem &poem);
