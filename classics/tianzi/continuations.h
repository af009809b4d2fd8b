// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/tianzi/continuationcode.h"
#include "db/classicsschema.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class SqliteFile;
class Statement;

namespace classics::tianzi {

// A line of the classics shown as an example of a word: the line and whose poem it is.
struct ExampleLine {
    qint64 line = 0;
    QString text;   // "白日依山尽，黄河入海流。"
    QString author; // 王之涣
    QString title;  // 登鹳雀楼
};

// The table 续字 of date/classics.db read row by row, each row remembered once read. Counts may be
// held back (the poem a measurement leaves out). One object may be used from one thread at a time.
class Continuations {
public:
    // Opens the file read-only; throws ClassicsError when it is missing, not a classics file or of a
    // version without the table (the message then says how to rebuild it).
    static std::unique_ptr<Continuations> open(const QString &path = classicsschema::defaultPath);
    ~Continuations();
    Continuations(const Continuations &) = delete;
    Continuations &operator=(const Continuations &) = delete;

    // The characters written after the context of the key (continuationKey), most frequent first,
    // with the held-back counts taken off; empty for a key the file has no row for. Throws
    // ClassicsError when the file cannot be read.
    QList<Next> row(qint64 key) const;
    // Takes counts off: for each key, each character as often as given. Replaces what was held back.
    void holdBack(const QHash<qint64, QHash<char32_t, int>> &counts);
    ExampleLine example(qint64 line) const;

private:
    Continuations() = default;
    [[noreturn]] void fail(const QString &what) const;

    QString m_path;
    std::unique_ptr<SqliteFile> m_file;
    std::unique_ptr<Statement> m_rowQuery;
    std::unique_ptr<Statement> m_lineQuery;
    QHash<qint64, QHash<char32_t, int>> m_heldBack;
    mutable QHash<qint64, QList<Next>> m_rows;
};

} // namespace classics::tianzi
