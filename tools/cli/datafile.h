// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace cli {

// A reference file named by its usual place (date/rhymebooks.db): the working directory's as the
// program reads it, else the user's data folder of the installed program, else the copy installed
// beside the command. The usual place when none is there, so that a message names it.
QString dataFile(const QString &local);

} // namespace cli
