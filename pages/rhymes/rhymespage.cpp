#include "rhymespage.h"

#include "database.h"
#include "statusbar.h"

RhymesPage::RhymesPage(Database &db, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_status(status) {
    setObjectName(QStringLiteral("View"));
}

void RhymesPage::ViewShow() {}
