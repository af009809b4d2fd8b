// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/judgedcouplets.h"

#include <QFile>

#include <stdexcept>

bool JudgedCouplet::middle() const
{
    return position == u"颔联" || position == u"颈联";
}

QList<JudgedCouplet> judgedCouplets()
{
    QFile file(QStringLiteral(":/evaluate/judgedcouplets.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the judged couplets are not built in");
    QList<JudgedCouplet> out;
    const QStringList rows = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &row : rows) {
        if (row.startsWith(u'#'))
            continue;
        const QStringList f = row.split(u'\t');
        const QString reading = f.value(6);
        if (f.size() != 7 || !(reading == u"对" || reading == u"散" || reading == u"疑"))
            throw std::runtime_error("a malformed row of the judged couplets: " + row.toStdString());
        out.append({f.at(0),
                    f.at(1),
                    f.at(2),
                    f.at(3),
                    {f.at(4), f.at(5)},
                    reading == u"对"   ? JudgedCouplet::Reading::Parallel
                    : reading == u"散" ? JudgedCouplet::Reading::Plain
                                       : JudgedCouplet::Reading::Doubtful});
    }
    return out;
}
