// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The finals table: the program's whole vocabulary of finals (韵母), by vowel group. The creation
// page and the rhyme browser fill their finals selectors from it, item for item.
namespace finals {

// A finals list always has this many items: the group's finals, then blank items " ".
inline constexpr int listSize = 8;

struct Group {
    QString text;                        // the item of the group selector, e.g. "[a]开头"
    std::array<QString, listSize> items; // the finals, padded with " "
    const QString &firstFinal() const { return items[0]; }
    QStringList itemList() const { return QStringList(items.begin(), items.end()); }
};

// The six groups in their fixed order.
const std::array<Group, 6> &groups();
QStringList groupTexts();
// The group whose text is exactly `text`, or nullptr: a group selector showing any other text
// changes nothing.
const Group *findGroup(const QString &text);

// What a finals selector lists before any group was chosen (never seen: it is disabled until then).
QStringList startItems();

} // namespace finals
