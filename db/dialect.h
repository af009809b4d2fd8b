// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The query dialect of the pages: Chinese table and column names without quotes, text literals in
// double or single quotes ("" and '' stand for one quote inside them), <>, like with %, order by
// with DESC/desc. The translator hands every literal to the engine as a bound parameter, so no
// literal can be read as a column name and no text inside one can change the statement.
namespace dialect {

struct Translated {
    QByteArray sql;       // UTF-8, each literal replaced by ?
    QStringList literals; // the literal texts, in order of their ? markers
};

// Throws DbError when the text holds parameter markers of its own, or a NUL outside a literal.
Translated translate(const QString &text);

// The one way user text enters a query text: enclosed in double quotes with every " doubled, so the
// translator reads it back as exactly one literal holding exactly that text.
QString literal(const QString &text);

} // namespace dialect
