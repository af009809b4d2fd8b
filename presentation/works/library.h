// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/work.h"

#include <QList>
#include <QString>

class Connection;
class Query;

// The works of the library as they are exported and compared: read through the query layer, texts
// as the page shows them. The draft is never one of them.
namespace library {

// The works of one category, newest first, as the page lists them.
QList<Work> ofCategory(Connection *connection, const QString &category);
// Every work: the five categories in their order, then any other, each newest first.
QList<Work> all(Connection *connection);
// The current row of a works query.
Work current(const Query &query);

} // namespace library
