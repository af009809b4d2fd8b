// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/cipu.h"

#include <memory>

class SqliteFile;

namespace prosody {

// Reads the 词谱 tables of an open reference file; empty when the file has none (an older file).
// Throws DbError on a damaged table.
std::shared_ptr<const Cipu> readCipu(const SqliteFile &db);

} // namespace prosody
