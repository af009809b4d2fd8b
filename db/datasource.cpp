#include "db/datasource.h"

#include "db/query.h"

DataSource::DataSource(Query *query)
    : QObject(query)
    , m_query(query)
{
    QString name = query->objectName();
    name.replace(QStringLiteral("_ADOQuery"), QString());
    setObjectName(name + QStringLiteral("_DataSource"));
}
