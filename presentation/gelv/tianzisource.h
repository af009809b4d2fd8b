// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

// What the 填字 tab shows and what a double-click there puts into the draft, apart from where it comes
// from: the tab takes a TianziSource, so its test can hand it a stub.
class TianziSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A word the classics write at the caret's place.
    struct Row {
        QString word;
        int count = 0;
        QString example;       // the line: "白日依山尽，黄河入海流。"
        QString toolTip;       // whose: "王之涣《登鹳雀楼》 · 双击填入"
        bool parallel = false; // set against the word above in the classics' couplets
        QString insert;        // what a double-click types: the word, after a line's end punctuation
        bool operator==(const Row &) const = default;
    };

    // Where the caret stands and what the place asks, or why nothing is offered.
    virtual QString summary() const = 0;
    virtual QList<Row> rows() const = 0;

signals:
    void changed();
};
