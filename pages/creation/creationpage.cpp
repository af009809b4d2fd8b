#include "creationpage.h"

#include "database.h"
#include "statusbar.h"

CreationPage::CreationPage(Database &db, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_status(status) {
    setObjectName(QStringLiteral("Edit"));
}

void CreationPage::EditShow() {}
