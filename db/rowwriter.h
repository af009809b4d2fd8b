// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/resultcolumn.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

class Snapshot;
class SqliteFile;

// A text as typed: full-width digits and separators, as a Chinese input method types them, read as
// their ASCII forms.
QString typedValue(const QString &text);
// A typed text as a whole number: a decimal rounded, 0 when it is no number.
qint64 typedInteger(const QString &text);

// Writes rows of a result back to its base table by rowid. Values are the texts the user typed, one
// per result column (none: unchanged); integer and date columns take them as such or refuse them
// with a message naming the column.
class RowWriter {
public:
    using Values = std::vector<std::optional<QString>>;

    RowWriter(SqliteFile &db, const QString &table, const QString &rowidName,
              const std::vector<ResultColumn> &columns);

    // Whether any value is set; throws DbError for a value its column refuses, before the file is touched.
    bool writes(const Values &values) const { return !assignment(values).names.isEmpty(); }
    // Writes the set values into the row; false when there were none. Throws DbError, also when the
    // row is no longer in the table.
    bool update(qint64 rowid, const Values &values);
    // Inserts a row of the set values; returns its rowid.
    qint64 insert(const Values &values);
    void remove(qint64 rowid);
    // Reads the table's values of the row back into `row` of the snapshot.
    void reload(qint64 rowid, Snapshot &snapshot, quint32 row);

private:
    struct Assignment {
        QStringList names;
        QList<QVariant> values;
    };
    Assignment assignment(const Values &values) const;

    SqliteFile &m_db;
    QString m_table; // quoted
    const QString &m_rowidName;
    const std::vector<ResultColumn> &m_columns;
};
