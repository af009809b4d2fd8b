// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/progress.h"
#include "tools/common/referencewriter.h"
#include "tools/rhymebooks/cipu.h"
#include "tools/rhymebooks/cipumerge/cipumerge.h"

namespace builddb {

// The 词谱 into its tables of the reference file (db/rhymebookschema.h), and its counts into the log.
void writeCipu(ReferenceWriter &writer, const DerivedCipu &cipu);
void logCipu(const DerivedCipu &cipu, Progress &progress);
void logMerge(const cipumerge::MergeReport &report, Progress &progress);

} // namespace builddb
