#include "app/W_Unit.h"
#include "pages/shared/dialogs.h"
#include "presentation/termination.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TW::setUpApplication();
    const TerminationSignals termination;
    try {
        TW w;
        QObject::connect(&termination, &TerminationSignals::received, &w, &TW::endBySignal);
        w.show();
        return app.exec();
    } catch (const std::exception &e) {
        Dialogs::current().error(nullptr, QString::fromUtf8(e.what()));
        return 1;
    }
}
