#include "W_Unit.h"
#include "dialogs.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TW::setUpApplication();
    try {
        TW w;
        w.show();
        return app.exec();
    } catch (const std::exception &e) {
        Dialogs::current().error(nullptr, QString::fromUtf8(e.what()));
        return 1;
    }
}
