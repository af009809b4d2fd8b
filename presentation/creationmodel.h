// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class DataSource;
class Database;

// 开始创作 without widgets: the lookup of the syllables of one final and one tone in 平舌音 and
// 卷舌音, the status texts, and the draft the editor writes.
class CreationModel : public QObject {
    Q_OBJECT
public:
    // Gives the draft query its new-row preset: a draft begun by typing carries the draft's title
    // and category.
    explicit CreationModel(Database &db, QObject *parent = nullptr);

    // What the page's grids and draft editor are bound to: the syllables of 平舌音 and 卷舌音, and the
    // draft's row.
    DataSource *psyRows() const;
    DataSource *jsyRows() const;
    DataSource *draftRow() const;

    // The marker a selector shows until the user sets it.
    static const QString notSet;
    static const QString incompleteMessage;
    // Said for a moment once 保存草稿 has written the draft.
    static const QString draftSaved;

    // Both the group and the tone are set.
    static bool conditionsComplete(const QString &group, const QString &tone);
    // What the user is told before a lookup without complete conditions; empty when they are complete.
    static QString lookupMessage(const QString &group, const QString &tone);

    // The page is shown: the status describes the selectors as they are now over the rows shown.
    void show(const QString &group, const QString &final, const QString &tone);
    // Lists the syllables of `final` and `tone` with common characters in both grids. Without
    // complete conditions nothing is looked up and the status names all records. Rows with
    // unwritten changes are written first; a refused write (DbError) stops the lookup.
    void lookUp(const QString &group, const QString &final, const QString &tone);
    // Writes the draft as the editor holds it, then says so for a moment.
    void saveDraft();

    // What 查韵 of the draft's context menu looks up: the character a click is on, given the cursor
    // position nearest the click and whether the click is left of that caret's centre. A character
    // beyond the Basic Plane is whole; empty when no letter is there.
    static QString characterAt(const QString &text, int cursor, bool leftOfCaret);

signals:
    void statusChanged(int panel, const QString &text);
    // A text shown in a panel for a moment, after which the panel shows what it showed before.
    void statusNote(int panel, const QString &text);

private:
    Database &m_db;
};
