// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/closing.h"

#include "db/database.h"
#include "db/query.h"
#include "db/recoveryfile.h"

#include <exception>

namespace closing {

QStringList writeUnwritten(Database &db)
{
    QStringList refused;
    QList<Query *> failed;
    const auto attempt = [&](Query *q, auto &&write) {
        try {
            write();
        } catch (const std::exception &e) {
            refused << QString::fromUtf8(e.what());
            failed << q;
        }
    };
    // The draft and the work shown first.
    for (Query *q : {db.Edit_ADOQuery, db.Show_ADOQuery}) {
        if (q->rowCount() > 0) {
            attempt(q, [q] {
                q->edit();
                q->post();
            });
        }
    }
    for (Query *q : db.queries())
        if (!failed.contains(q))
            attempt(q, [q] { q->settle(); });
    return refused;
}

bool writeForExit(Database &db, RecoveryKeeper &keeper)
{
    const QStringList refused = writeUnwritten(db);
    for (const QString &message : refused)
        qWarning("%s", qPrintable(message));
    if (!keeper.keepNow())
        qWarning("%s", qPrintable(QStringLiteral("无法写入恢复文件 %1").arg(keeper.file())));
    return refused.isEmpty();
}

} // namespace closing
