// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace builddb {

// Other names of a 词牌 known for certain, joined to it when the forms agree.
const QList<std::pair<QString, QStringList>> &ciAliasList();

// The 词牌 a modern handbook of 唐宋词格律 teaches as the common ones: where the corpus attests one, it
// is a 词牌 of the 词谱 under this name, even with a single poem.
const QStringList &handbookTunes();

// The poems of one way of writing a name, with the structures of their lines.
struct WrittenName {
    QString name; // "醉落魄·一斛珠"
    QStringList parts;
    QList<int> poems;       // indices the caller gives
    QStringList structures; // per poem: "7,7,7,7"
};

// Written names brought together into 词牌: a name shared by two ways of writing, a 令/慢/近/引 suffix,
// the alias list — each link taken only where the forms agree (at least half the poems of the smaller
// group have a line structure the larger one has twice or more).
struct NameGroup {
    QHash<QString, int> usual; // poems per name the corpus gives as the usual one (the last part)
    QHash<QString, int> named; // poems per name, however written
    QList<int> poems;
};
struct NameJoins {
    QList<NameGroup> groups;
    QStringList joined;  // "木兰花令 (12) → 玉楼春 (300), 令慢"
    QStringList refused; // links between groups of `report` poems or more kept apart
};
NameJoins joinNames(const QList<WrittenName> &written, int report);

// The name a group goes by: a handbook name it bears (the most written; not one the alias list gives
// to another 词牌), else the name the corpus most often gives as the usual one; never one in taken
// (empty when every name of the group is).
QString nameOfGroup(const NameGroup &group, const QSet<QString> &taken);

} // namespace builddb
