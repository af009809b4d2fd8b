// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/dates.h"

#include <QLocale>
#include <QRegularExpression>

namespace dates {

QString shortFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    // Two-digit years read back as 19xx; always show and read four.
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(twoDigitYear, QStringLiteral("yyyy"));
    return format;
}

QString display(const QDate &date)
{
    return QLocale().toString(date, shortFormat());
}

QDate fromStored(const QString &stored)
{
    return QDate::fromString(stored.left(10), Qt::ISODate);
}

QString shownFromStored(const QString &stored)
{
    const QDate date = fromStored(stored);
    return date.isValid() ? display(date) : stored;
}

QDate fromTyped(const QString &typed)
{
    const QString text = typed.trimmed();
    QDate date = QLocale().toDate(text, shortFormat());
    if (date.isValid())
        return date;
    static const QRegularExpression ymd(QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
    const QRegularExpressionMatch m = ymd.match(text);
    if (m.hasMatch())
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return date;
}

QString toStored(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

} // namespace dates
