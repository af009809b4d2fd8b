// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/dbgrid.h"
#include "tests/creation/rhymerows.h"
#include "tests/support/fixture.h"
#include "tests/support/typing.h"

#include <QStringList>
#include <QTest>

// One column of a grid, top to bottom, as shown.
inline QStringList gridColumn(const DbGrid *grid, int column)
{
    QStringList out;
    const QAbstractItemModel *model = grid->model();
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, column).data().toString();
    return out;
}
