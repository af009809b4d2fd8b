// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "db/query.h"
#include "db/schema.h"
#include "tests/support/dbfixture.h"

#include <QStringList>

// A small rhyme dictionary, inserted out of syllable order so that every ordering shows.
// 平舌音: nine rows, one (mang) with an empty 简易; 卷舌音: five rows, one (rang) with an empty 简易.
inline void addRhymes(const Fixture &fx)
{
    const QStringList columns = {schema::colFinal, schema::colSyllable, schema::colTone, schema::colCommon,
                                 schema::colRare};
    const QList<QStringList> psy = {
        {"ang", "pang", "阳平", "旁庞", "彷"}, {"ang", "bang", "阴平", "邦帮", "梆"},
        {"ang", "ang", "阳平", "昂", "卬"},    {"ang", "mang", "阳平", "", "硭"},
        {"ang", "fang", "阳平", "房防", "鲂"}, {"a", "ba", "去声", "爸", "罢"},
        {"ang", "sang", "去声", "丧", ""},     {"ang", "bang", "上声", "榜绑", ""},
        {"ü", "lü", "上声", "旅", "膂"},
    };
    const QList<QStringList> jsy = {
        {"ang", "shang", "阳平", "裳", ""}, {"ang", "chang", "阳平", "长常肠", "苌"},
        {"ang", "rang", "阳平", "", "瓤"},  {"ang", "zhang", "阴平", "张章", ""},
        {"a", "zha", "去声", "诈", ""},
    };
    for (const QStringList &row : psy)
        fx.insert(schema::tablePsy, columns, {row[0], row[1], row[2], row[3], row[4]});
    for (const QStringList &row : jsy)
        fx.insert(schema::tableJsy, columns, {row[0], row[1], row[2], row[3], row[4]});
}

// One column of a query's rows, top to bottom, as the grid over it shows them.
inline QStringList queryColumn(const Query *query, const QString &column)
{
    QStringList out;
    for (int row = 0; row < query->rowCount(); ++row)
        out << query->cellText(row, query->fieldIndex(column));
    return out;
}
