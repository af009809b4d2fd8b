// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class DataSource;
class Database;

// 编辑整理 without widgets: both rhyme tables narrowed together by final, by tone, by both or by
// neither, and the status texts.
class RhymesModel : public QObject {
    Q_OBJECT
public:
    explicit RhymesModel(Database &db, QObject *parent = nullptr);

    // What the page's grids are bound to: the rows of 平舌音 and 卷舌音.
    DataSource *psyRows() const;
    DataSource *jsyRows() const;

    // The marker of a selector that sets no condition.
    static const QString all;

    // The page is shown: the status describes the selectors as they are now over the rows shown.
    // The final counts only when the group selector names no condition other than `all`.
    void show(const QString &group, const QString &final, const QString &tone);
    // Replaces both tables' rows by those of the final (unless the group is `all`) and the tone
    // (unless it is `all`). Rows with unwritten changes are written first; a refused write (DbError)
    // stops the lookup.
    void lookUp(const QString &group, const QString &final, const QString &tone);

signals:
    void statusChanged(int panel, const QString &text);

private:
    void writeStatus(const QString &group, const QString &final, const QString &tone, int psy, int jsy);

    Database &m_db;
};
