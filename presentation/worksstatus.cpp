// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/worksstatus.h"

namespace worksstatus {

Texts series(int rows, qint64 total)
{
    return {QStringLiteral("结果：共%1个系列").arg(rows), QStringLiteral("数目：共%1首诗词").arg(total)};
}

Texts records(int rows)
{
    return {QStringLiteral("结果：共%1条记录").arg(rows), QString()};
}

QString exported(int works, const QString &fileName)
{
    return QStringLiteral("已导出%1篇作品到 %2").arg(works).arg(fileName);
}

QString imported(int works, const QString &category)
{
    return QStringLiteral("已导入%1篇作品到%2").arg(works).arg(category);
}

} // namespace worksstatus
