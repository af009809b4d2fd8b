// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/examplessource.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// What the 对仗 tab shows of a word and what a user does there, apart from where it comes from: the
// tab takes a CoupletWordsSource, so its test can hand it a stub.
class CoupletWordsSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A word the classics set against the one looked up.
    struct Row {
        QString word;
        int count = 0;
        QString example; // the couplet: "明月松间照，清泉石上流"
        QString toolTip; // where it stands: "王维《山居秋暝》颔联 · 双击看全诗"
        bool operator==(const Row &) const = default;
    };

    // The word looked up; empty when there is none.
    virtual QString word() const = 0;
    // What the rows are, or why there are none.
    virtual QString summary() const = 0;
    virtual QList<Row> rows() const = 0;
    // The whole poem of a row's example, its couplet set off.
    virtual std::optional<ExamplesSource::PoemPage> poemPage(int row) const = 0;
    // A word typed into the tab.
    virtual void lookUpTyped(const QString &text) = 0;

signals:
    void changed();
};
