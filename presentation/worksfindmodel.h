// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>

// A work that holds the text looked for, and where: in its title, its author or its text.
struct FoundWork {
    enum class Where { Title, Author, Text };
    qint64 rowid = 0;
    QString category;
    QString title;
    QString author;
    Where where = Where::Title;
    QString excerpt; // the text around the first place it was found, for a find in the text
    bool operator==(const FoundWork &) const = default;
};

// What 经典案例's find bar lists: the works found for the text typed so far, one line each, and a
// summary. The search itself is left to a subclass, so a view's test can hand the bar a stub.
class WorksFindModel : public QAbstractListModel {
    Q_OBJECT
public:
    // More are counted, not listed: a list a user can still read through.
    static constexpr int listedAtMost = 200;
    static const QString nothingFound;

    using QAbstractListModel::QAbstractListModel;

    // Looks for `text` (surrounding blanks ignored) and lists what is found; an empty text lists nothing.
    void find(const QString &text);
    QString text() const { return m_text; }
    // 找到 N 篇, 没有找到, or empty before anything is looked for.
    QString summary() const;
    const FoundWork &work(int row) const { return m_found.at(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

signals:
    void summaryChanged(const QString &summary);

protected:
    // Every work that holds `text`, in the order they are to be listed.
    virtual QList<FoundWork> search(const QString &text) const = 0;

private:
    QString m_text;
    QList<FoundWork> m_found;
    int m_total = 0;
};
