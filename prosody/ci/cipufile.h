#pragma once

#include "prosody/ci/cipu.h"

#include <memory>

struct sqlite3;

namespace prosody {

// Reads the 词谱 tables of an open reference file; empty when the file has none (an older file).
// Throws DbError on a damaged table.
std::shared_ptr<const Cipu> readCipu(sqlite3 *db);

} // namespace prosody
