// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/datasource.h"

DataSource::DataSource(Query *query, QObject *owner)
    : QObject(owner)
    , m_query(query)
{
    QString name = owner->objectName();
    name.replace(QStringLiteral("_ADOQuery"), QString());
    setObjectName(name + QStringLiteral("_DataSource"));
}
