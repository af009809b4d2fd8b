#pragma once

#include "tools/builddb/cipu.h"
#include "tools/builddb/progress.h"
#include "tools/builddb/referencewriter.h"

namespace builddb {

// The 词谱 into its tables of the reference file (db/rhymebookschema.h), and its counts into the log.
void writeCipu(ReferenceWriter &writer, const DerivedCipu &cipu);
void logCipu(const DerivedCipu &cipu, Progress &progress);

} // namespace builddb
