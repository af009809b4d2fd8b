#pragma once

#include "prosody/shi/shipoem.h"

namespace prosody {

// The lines' lengths and count against the forms of regulated verse (or the chosen one): sets the
// form's name and returns true when they make one, else reports why (字数) and returns false.
bool judgeLength(ShiPoem &poem, FormChoice choice);

} // namespace prosody
