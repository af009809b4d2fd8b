// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/recoveryprompt.h"

#include "db/database.h"
#include "db/recoveryfile.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/errorguard.h"
#include "presentation/restore.h"

namespace recoveryprompt {

bool offer(QWidget *window, Database &db, RecoveryKeeper &keeper,
           const std::function<void(const QString &)> &listCategory)
{
    const restore::Offer offer = restore::prepare(db, keeper);
    if (!offer.message.isEmpty())
        Dialogs::current().message(window, offer.message);
    if (offer.rows.isEmpty())
        return false;
    const Dialogs::Answer answer = Dialogs::current().ask(window, window->windowTitle(), question);
    if (answer == Dialogs::Answer::None)
        return false;
    if (answer == Dialogs::Answer::No) {
        restore::decline(keeper, offer);
        return false;
    }
    keeper.hold(false);
    if (!guarded(window, [&] { restore::putBack(db, listCategory, offer.rows); }))
        recovery::setAside(offer.file); // kept whole; what was put back is kept anew
    keeper.changed();
    return true;
}

RecoveryKeeper *keeperFor(QWidget *window, Database &db, const QString &databasePath)
{
    auto *keeper = new RecoveryKeeper(databasePath, db.queries(), window);
    keeper->hold(!keeper->leftFile().isEmpty());
    keepTypedCells(window, keeper);
    return keeper;
}

} // namespace recoveryprompt
