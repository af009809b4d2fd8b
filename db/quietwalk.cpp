// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/quietwalk.h"

#include "db/datasource.h"
#include "db/query.h"

QuietWalk::QuietWalk(Query *query)
    : m_query(query)
    , m_wasBlocked(query->dataSource()->blockSignals(true))
{
}

QuietWalk::~QuietWalk()
{
    m_query->dataSource()->blockSignals(m_wasBlocked);
    if (!m_wasBlocked)
        emit m_query->dataSource()->currentChanged(m_query->currentRow());
}
