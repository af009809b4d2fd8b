// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace builddb {

// The data version stored in an existing reference file (the rhyme books or the classics, whose
// 版本 tables share their key); empty when it has none or is unreadable.
QString storedDataVersion(const QString &path);

} // namespace builddb
