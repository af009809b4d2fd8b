// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/error.h"

namespace prosody {

// Raised when the reference file is missing, damaged or of another kind; the message names the
// command that builds the file.
class LoadError : public ShihaiError {
public:
    using ShihaiError::ShihaiError;
};

} // namespace prosody
