// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/database.h"
#include "pages/instance/singleinstance.h"
#include "pages/shared/dialogs.h"
#include "presentation/runtimefolder.h"
#include "presentation/termination.h"

#include <QApplication>

int main(int argc, char **argv)
{
    const RuntimeFolder runtime;
    QApplication app(argc, argv);
    TW::setUpApplication();
    // A copy already on this database is brought forward; this one ends without touching its files.
    SingleInstance instance(Database::defaultPath());
    if (!instance.isFirst())
        return instance.handOver();
    const TerminationSignals termination;
    try {
        TW w;
        instance.raiseOnRequest(&w);
        QObject::connect(&termination, &TerminationSignals::received, &w, &TW::endBySignal);
        w.show();
        return app.exec();
    } catch (const std::exception &e) {
        Dialogs::current().error(nullptr, QString::fromUtf8(e.what()));
        return 1;
    }
}
