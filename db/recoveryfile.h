// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class Query;

// The recovery file beside the database (date/W.mdb.recovery): the texts typed into rows that are
// not written yet, kept so that a crash or a kill loses none of them. It is a checksummed JSON
// document that names each text's table, rowid and column and the database it belongs to; it is
// only ever read as data.
namespace recovery {

struct Field {
    QString column;
    QString text;
    bool operator==(const Field &) const = default;
};

// One row's unwritten texts; a row not yet in its table has no rowid.
struct Row {
    QString table;
    std::optional<qint64> rowid;
    QList<Field> fields;
    bool operator==(const Row &) const = default;
};

// Tells one database file from another across runs: its canonical path and its file's identity
// (device and inode), neither of which the program's writes change. A copy elsewhere differs.
struct Fingerprint {
    QString path;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const Fingerprint &) const = default;
};
Fingerprint fingerprintOf(const QString &databasePath);

// The current row's values of `query` not yet written, by column of its base table, while the row is
// edited or new; `typingColumn` adds a text a control still holds for that query column. None in
// browse state without such a text, or when the result cannot be written.
std::optional<Row> unwrittenRow(const Query &query, int typingColumn = -1, const QString &typingText = {});

QString fileFor(const QString &databasePath);
// Where the file goes when the database's folder cannot be written: the user's data folder, under
// a name taken from the database's path.
QString fallbackFileFor(const Fingerprint &database);

QByteArray encode(const Fingerprint &database, const QList<Row> &rows);

enum class Problem { None, Damaged, OtherDatabase };
struct Contents {
    Problem problem = Problem::None;
    QList<Row> rows;
};
// Damaged: not this format, changed since written, or naming a table or column the program does not
// have. OtherDatabase: intact but written for another file.
Contents decode(const QByteArray &bytes, const Fingerprint &database);
// Reads and decodes `file`; nullopt when there is no such file.
std::optional<Contents> read(const QString &file, const Fingerprint &database);

// Replaces `file` whole or not at all: a temporary file beside it, flushed, then renamed over it.
bool writeAtomically(const QString &file, const QByteArray &bytes);
// Renames `file` to a dated name beside it (…recovery-yyyyMMdd-hhmmss) and returns that name;
// empty when it could not be renamed.
QString setAside(const QString &file);

} // namespace recovery

// Keeps the recovery file up to date with the unwritten rows of the queries: a change is written
// within a second (one write for any number of keystrokes meanwhile), a row written or given up is
// dropped from the file at the next turn of the event loop, and the file is removed when nothing is
// left unwritten. When the database's folder takes no new file, the file goes to the fallback place.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // Short of a second, so that the write lands within one even on a busy machine.
    static constexpr int delayMs = 800;

    RecoveryKeeper(const QString &databasePath, const QList<Query *> &queries, QObject *parent = nullptr);

    QString file() const { return m_file; }
    QString fallbackFile() const { return m_fallback; }
    // The file a run left, beside the database or else in the fallback place; empty when none.
    QString leftFile() const;
    const recovery::Fingerprint &fingerprint() const { return m_fingerprint; }

    // A text held by a control that has not reached its row yet (an open grid cell): its query
    // column and text.
    struct Typing {
        int column;
        QString text;
    };
    void setTypingSource(std::function<std::optional<Typing>(Query *)> source)
    {
        m_typing = std::move(source);
    }

    // Something was typed: kept within a second.
    void changed();
    // Writes what is unwritten now, or removes the file when nothing is. False when it could not be
    // written.
    bool keepNow();
    // The unwritten rows of every query, as they would be kept.
    QList<recovery::Row> unwrittenRows() const;
    // While held, the file found at start-up is left as it is until the user has decided about it.
    void hold(bool held) { m_held = held; }

private:
    void stateChanged(Query *query);

    QString m_file;
    recovery::Fingerprint m_fingerprint;
    QString m_fallback;
    QList<Query *> m_queries;
    std::function<std::optional<Typing>(Query *)> m_typing;
    QTimer m_timer;
    bool m_held = false;
    bool m_kept = false; // a file of this run is on disk
};
