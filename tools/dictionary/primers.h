// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/converter.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace builddb {

// A poem of the primers in mengxue/, already in simplified characters.
struct PrimerPoem {
    QString title;
    QString author;
    QString dynasty;
    QString form; // the primer's section: 五言绝句, 七言律诗, 五言古诗, 乐府 …
    QStringList lines;
    QStringList notes;
};
QList<PrimerPoem> readPrimer(const QString &path, const QString &defaultDynasty, const Converter &t2s);
QString tangPrimerPath(const QString &dist); // 唐诗三百首

} // namespace builddb
