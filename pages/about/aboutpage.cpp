#include "aboutpage.h"

#include "statusbar.h"

AboutPage::AboutPage(StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_status(status) {
    setObjectName(QStringLiteral("About"));
}

void AboutPage::AboutShow() {}
