// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/classics/pairtable.h"

namespace builddb {

// Groups the units of one length seen at least minCount times into k groups by whom they stand
// against: spherical k-means (cosine) over their partners, each weighted by its positive PMI; a
// two-character unit's partners count also character by character at half weight, so that words of
// few partners still find their group. Seeds are the most frequent unit and then, one by one, the
// frequent unit least like the seeds so far, so a build gives the same groups every time. Groups
// are numbered from firstGroup; units left out keep group 0. Returns the number of groups made.
int groupUnits(PairTable &table, int length, int k, int minCount, int firstGroup);

// How much more (or less) often than chance the units of each two groups of one length are set
// against each other, both ways; groups that never meet have no row.
QList<PairTable::GroupPair> pairGroups(const PairTable &table);

} // namespace builddb
