// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/schema.h"

#include <QString>

#include <vector>

class Statement;

// One column of a query's result.
struct ResultColumn {
    QString name;
    QString origin; // column of the base table, empty for an expression
    schema::ColumnKind kind;
};

// The index of the column of this name (in any case), or of the one reading this column of the base
// table; -1 when there is none.
int columnNamed(const std::vector<ResultColumn> &columns, const QString &name);
int columnReading(const std::vector<ResultColumn> &columns, const QString &origin);

// What a prepared statement's result is made of: its columns from `first` on, and the one table they
// all come from (empty when they come from several, or one is an expression of none).
struct ResultShape {
    QString table;
    std::vector<ResultColumn> columns;
};
ResultShape describeResult(const Statement &statement, int first);
