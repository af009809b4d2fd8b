// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class DataSource;
class Database;

// 词语联想 without widgets: one search over the words of 词组 and the idioms of 成语 whose key begins
// with, contains or ends with a text, and the status texts.
class AssociationModel : public QObject {
    Q_OBJECT
public:
    explicit AssociationModel(Database &db, QObject *parent = nullptr);

    // What the page's grids are bound to: the words of 词组 and the idioms of 成语 found.
    DataSource *wordRows() const;
    DataSource *idiomRows() const;

    // The mode selector's items, and the text it shows until the user sets it (which searches by
    // suffix).
    static QStringList modes();
    static const QString defaultMode;

    // The page is shown: the status describes the mode and text over the current results.
    void show(const QString &mode, const QString &text);
    // Searches both tables, 词组 first, by the mode; a mode that is none of the four searches nothing
    // and only writes the status. Rows with unwritten changes are written before either result is
    // replaced, so a refused write (DbError) leaves both as they were.
    void search(const QString &mode, const QString &text);
    // What 查看例句 of a row looks up: its key, trimmed; empty when there is nothing to look up.
    static QString exampleWord(const QString &key);

signals:
    void statusChanged(int panel, const QString &text);

private:
    Database &m_db;
};
