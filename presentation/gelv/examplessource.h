// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <optional>

// What the 例句 tab shows and fetches, apart from where it comes from: the tab takes an
// ExamplesSource, so its test can hand it a stub.
class ExamplesSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The whole poem of a row as its window shows it.
    struct PoemPage {
        QString title; // "title · author"
        QString html;  // title, dynasty and author, the lines, the notes and the source
    };

    // What the rows are, or why there are none.
    virtual QString summary() const = 0;
    virtual int rowCount() const = 0;
    // A row as the list shows it, "line　——author《title》", and its tip.
    virtual QString rowText(int row) const = 0;
    virtual QString rowToolTip(int row) const = 0;
    // More rows come page by page, as the list is scrolled.
    virtual bool canFetchMore() const = 0;
    virtual void fetchMore() = 0;
    virtual std::optional<PoemPage> poemPage(int row) const = 0;

signals:
    void reset(); // a new text: the rows start again
    void rowsAdded(int from);
};
