// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/works/textimporter.h"

#include <QList>
#include <QString>

#include <memory>

class Connection;
class RowAdder;

// Adds poems to the library as new works of one category, a poem per step, all inside one write
// transaction: each gets today's date, the category's mark and the presets of a new work, and
// nothing stored is overwritten. Until commit() nothing is kept; a cancel or a refused write adds
// nothing.
class ImportJob {
public:
    // `source` is written as each work's 出处 (where the poems came from).
    ImportJob(Connection *connection, QList<Poem> poems, const QString &category, const QString &source);
    ~ImportJob();

    // Begins the transaction. Throws DbError (the file is read-only or locked); throws
    // std::invalid_argument for a category that is not one of the five.
    void begin();
    int total() const { return int(m_poems.size()); }
    int done() const { return m_done; }
    // Adds the next poem. Throws DbError; the transaction is then rolled back.
    void step();
    // Keeps what was added. Throws DbError, and then nothing is kept.
    void commit();
    void cancel();

private:
    Connection *m_connection;
    QList<Poem> m_poems;
    QString m_category;
    QString m_mark;
    QString m_source;
    QString m_date;
    std::unique_ptr<RowAdder> m_adder;
    int m_done = 0;
};
