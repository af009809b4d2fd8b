// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/error.h"

// An error reported by the database engine or the data layer; what() is the message shown to the user.
class DbError : public ShihaiError {
public:
    using ShihaiError::ShihaiError;
};

// Messages of the data layer itself (the engine's own messages come from sqlite3_errmsg).
namespace dberror {
inline const QString closedDataset = QStringLiteral("Cannot perform this operation on a closed dataset");
inline const QString emptyDataset = QStringLiteral("Cannot perform this operation on an empty dataset");
inline const QString notEditing = QStringLiteral("Dataset not in edit or insert mode");
inline const QString readOnly = QStringLiteral("Cannot modify a read-only dataset");
inline const QString rowMissing = QStringLiteral(
    "Row cannot be located for updating. Some values may have been changed since it was last read.");
} // namespace dberror
