// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class Query;

// Announces every change of a query to the controls bound to it, so that they follow at once.
class DataSource : public QObject {
    Q_OBJECT
public:
    // Owned by `owner`, the query itself, and named after it.
    DataSource(Query *query, QObject *owner);
    Query *query() const { return m_query; }

signals:
    void reset();                 // opened or closed: every row replaced
    void rowInserted(int row);    // a new row begun at this position
    void rowRemoved(int row);     // a row deleted or a new row discarded
    void rowChanged(int row);     // a value of this row changed, or its changes were posted or cancelled
    void currentChanged(int row); // another row became current (-1: none)
    void stateChanged();          // browse, edit or insert

private:
    Query *m_query;
};
