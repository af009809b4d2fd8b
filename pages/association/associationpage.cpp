#include "associationpage.h"

#include "database.h"
#include "statusbar.h"

AssociationPage::AssociationPage(Database &db, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_status(status) {
    setObjectName(QStringLiteral("Think"));
}

void AssociationPage::ThinkShow() {}
