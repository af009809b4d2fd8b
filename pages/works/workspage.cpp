#include "workspage.h"

#include "database.h"
#include "query.h"
#include "schema.h"
#include "statusbar.h"

WorksPage::WorksPage(Database &db, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_status(status) {
    setObjectName(QStringLiteral("Show"));
}

void WorksPage::ShowShow() {}

void WorksPage::computeWorksTotal() {
    Query *q = m_db.Show_ADOQuery;
    m_worksTotal = 0;
    const int n = q->recordCount();
    for (int i = 0; i < n; ++i) {
        m_worksTotal += q->integer(schema::colCount);
        q->next();
    }
    q->first();
}
