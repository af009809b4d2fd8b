// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/rhymestatus.h"

namespace rhymestatus {

QString allRecords()
{
    return QStringLiteral("查询条件：显示所有记录");
}

QString finalAndTone(const QString &final, const QString &tone)
{
    return QStringLiteral("查询条件：韵母=") + final + QStringLiteral(" 声调=") + tone;
}

QString finalOnly(const QString &final)
{
    return QStringLiteral("查询条件：韵母=") + final;
}

QString toneOnly(const QString &tone)
{
    return QStringLiteral("查询条件：声调=") + tone;
}

QString counts(int psy, int jsy)
{
    return QStringLiteral("数据条目：平舌音=") + QString::number(psy) + QStringLiteral(" 卷舌音=") +
           QString::number(jsy);
}

} // namespace rhymestatus
