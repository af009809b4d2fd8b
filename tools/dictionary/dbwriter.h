// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/dictionary/meanings.h"
#include "tools/dictionary/rhymes.h"
#include "tools/dictionary/works.h"

#include "db/sqlite.h"

#include <QDate>
#include <QString>

#include <memory>

namespace builddb {

// Writes a fresh database in one transaction; the indexes are created last, which is faster
// than keeping them up to date row by row.
class DatabaseWriter {
public:
    // Creates the tables and the draft row in the new file at path.
    explicit DatabaseWriter(const QString &path);
    ~DatabaseWriter();
    DatabaseWriter(const DatabaseWriter &) = delete;
    DatabaseWriter &operator=(const DatabaseWriter &) = delete;

    void writeRhymes(const QString &table, const QList<RhymeRow> &rows);
    void writeEntries(const QString &table, const QList<Entry> &entries);
    void writeWorks(const QList<Work> &works, const QDate &date);

    // Creates the indexes, commits and closes the file.
    void finish();

private:
    void exec(const QString &sql);
    [[noreturn]] void fail(const QString &what) const;

    QString m_path;
    std::unique_ptr<SqliteFile> m_file;
};

} // namespace builddb
