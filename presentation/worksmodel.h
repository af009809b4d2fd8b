// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class DataSource;
class Database;
class Query;

// 经典案例 without widgets: the works of the chosen category, newest first, the moves through them
// and the enabled states of the four move buttons, adding with presets, writing, cancelling and
// deleting, the coupling of category and mark, and the status texts.
class WorksModel : public QObject {
    Q_OBJECT
public:
    explicit WorksModel(Database &db, QObject *parent = nullptr);

    // Presets of a new work.
    static const QString presetAuthor;
    static const QString presetSource;
    static const QString presetUrl;
    // Asked before deleting the current work.
    static const QString deleteQuestion;

    // The selector's items, and its text at start.
    static QStringList categoryItems();
    static QString defaultSelectorText();
    // The items of the detail panel's category and mark boxes.
    static QStringList categoryBoxItems();
    static QStringList markBoxItems();

    // What the page's list, content editor and detail panel are bound to: the listed works, the
    // current one among them.
    DataSource *workRows() const;
    // The selector text whose works are listed, and whether that list holds any work.
    QString listed() const { return m_listed; }
    bool anyListed() const;

    // Sums 数量 over the works the query holds at start-up (甲类) and returns to its first row. A work
    // without a number counts 0.
    void computeWorksTotal();

    // The page is shown: the status by the selector's text.
    void show();
    // The selector shows `text`: its works are listed newest first. A new or changed work is written
    // first; when that write is refused nothing is listed, the selector is told to show the listed
    // text again, and the error is thrown.
    void chooseCategory(const QString &text);

    void first();
    void prior();
    void next();
    void last();
    // Makes the work with this rowid the current one, the buttons enabled as its place allows; the
    // list is read anew when it does not hold the work yet. False when the listed works do not
    // include it.
    bool moveToWork(qint64 rowid);
    bool firstEnabled() const { return m_first; }
    bool priorEnabled() const { return m_prior; }
    bool nextEnabled() const { return m_next; }
    bool lastEnabled() const { return m_last; }

    // Begins a new work with the presets and the listed category with its mark.
    void add();
    // Writes the current work, if any, and the status.
    void commit();
    void cancel();
    // Deletes the current work (a new one is only discarded); the view asks deleteQuestion first.
    void deleteCurrent();
    // The status by the selector's text: 甲类 and the default query in series, else in records.
    void refreshStatus();

    // An export wrote `works` works to `fileName`: the status says so.
    void exported(int works, const QString &fileName);
    // An import added `works` works to `category`: that category is listed, the selector shows it and
    // the status says how many were added.
    void imported(const QString &category, int works);

    // The user changed the category or the mark box: its partner is set through the row.
    void categoryEdited(const QString &category);
    void markEdited(const QString &mark);

signals:
    void statusChanged(int panel, const QString &text);
    void buttonsChanged();
    // The selector must show `text` again, without choosing it anew.
    void selectorReset(const QString &text);

private:
    Query *query() const;
    void writeStatus(bool series);
    void setButtons(bool first, bool prior, bool next, bool last);

    Database &m_db;
    qint64 m_worksTotal = 0;
    QString m_listed;
    // The list opens on its first row.
    bool m_first = false;
    bool m_prior = false;
    bool m_next = true;
    bool m_last = true;
};
