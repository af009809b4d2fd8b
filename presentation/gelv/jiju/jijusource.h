// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/gelv/examplessource.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// What the 集句 tab asks for, as its controls hold it: the text of each, the picks of its lists.
struct JijuForm {
    QString pattern = {}; // 平仄中 or ○●◎ per place
    int rhymeGroup = -1;  // an index into rhymeGroups(); -1 for any
    QString places = {};  // "5=月"
    QString dynasty = {}; // empty for any
    QString author = {};  // empty for any

    bool operator==(const JijuForm &) const = default;
};

// What the 集句 tab shows and fetches, apart from where it comes from: the tab takes a JijuSource, so
// its test can hand it a stub.
class JijuSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The choices of the tab's lists: the groups of the window's book, the dynasties of the classics.
    virtual QStringList rhymeGroups() const = 0;
    virtual QStringList dynasties() const = 0;
    // The pattern of the line being written at the caret (平仄中), in the form and book being checked;
    // empty when the caret is at no line of a known form.
    virtual QString patternHere() const = 0;

    // Searches the classics for what the form asks.
    virtual void search(const JijuForm &form) = 0;
    // What the rows are, or why there are none (a mistake in the form, a missing file).
    virtual QString summary() const = 0;
    virtual int rowCount() const = 0;
    // A row as the list shows it, "line　——author《title》", and its tip.
    virtual QString rowText(int row) const = 0;
    virtual QString rowToolTip(int row) const = 0;
    // More rows come page by page, as the list is scrolled.
    virtual bool canFetchMore() const = 0;
    virtual void fetchMore() = 0;
    virtual std::optional<ExamplesSource::PoemPage> poemPage(int row) const = 0;

signals:
    void choicesChanged(); // another book, or the classics opened: the lists change
    void reset();          // a new search: the rows start again
    void rowsAdded(int from);
};
