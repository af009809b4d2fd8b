// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/parallelread.h"

#include "db/dberror.h"
#include "db/snapshot.h"
#include "db/sqlite.h"

#include <atomic>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

namespace {

// Holds a read transaction while it lives: no other program can commit to the file meanwhile.
class ReadTransaction {
public:
    explicit ReadTransaction(SqliteFile &db)
        : m_db(db)
    {
        Statement(db, "BEGIN").step();
        try {
            Statement(db, "SELECT count(*) FROM sqlite_schema").step(); // takes the read lock
        } catch (...) {
            db.rollback();
            throw;
        }
    }
    ~ReadTransaction()
    {
        try {
            m_db.exec("COMMIT");
        } catch (const DbError &) {
            m_db.rollback();
        }
    }
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;

private:
    SqliteFile &m_db;
};

struct Part {
    Snapshot rows;
    bool done = false;
};

} // namespace

namespace parallelread {

void read(SqliteFile &db, SqliteFile &reader, const dialect::Translated &query, const scansplit::Plan &plan,
          Snapshot &into)
{
    const auto &ranges = plan.ranges;
    std::vector<Part> parts(ranges.size());
    std::atomic<size_t> next = 0;
    const int count = into.columnCount();
    const int ends = int(query.literals.size()) + 1;
    const auto prepare = [&](SqliteFile &connection) {
        auto st = std::make_unique<Statement>(connection, plan.sql);
        for (int i = 0; i < query.literals.size(); ++i)
            st->bindText(i + 1, query.literals[i]);
        return st;
    };
    const auto readPart = [&](Statement &st, size_t i) {
        parts[i] = Part();
        parts[i].rows.reset(count);
        st.reset();
        st.bindInt64(ends, ranges[i].first);
        st.bindInt64(ends + 1, ranges[i].second);
        parts[i].rows.readRows(st, true);
        parts[i].done = true;
    };
    // Each thread takes the next part not yet taken until none is left.
    const auto work = [&](Statement &st) {
        for (size_t i; (i = next++) < parts.size();)
            readPart(st, i);
    };

    // The parts are read by two connections in several statements, so they must all see one state of
    // the file: while this connection holds its read lock, no other program can commit.
    const ReadTransaction transaction(db);
    const std::unique_ptr<Statement> st = prepare(db);
    std::optional<std::thread> helper;
    try {
        helper.emplace([&] {
            try {
                work(*prepare(reader));
            } catch (...) {
                // Its part is read again below: only this connection's errors are the user's.
            }
        });
    } catch (const std::system_error &) {
        // No second thread: every part is read here.
    }
    try {
        work(*st);
    } catch (...) {
        next = parts.size();
        if (helper)
            helper->join();
        throw;
    }
    if (helper)
        helper->join();
    for (size_t i = 0; i < parts.size(); ++i)
        if (!parts[i].done)
            readPart(*st, i);

    size_t rows = 0;
    for (const Part &part : parts)
        rows += part.rows.rowCount();
    into.reserve(rows);
    for (Part &part : parts)
        into.append(std::move(part.rows));
}

void readAll(SqliteFile &db, SqliteFile *reader, const dialect::Translated &query, const QString &table,
             const QString &rowidName, Statement &whole, Snapshot &into)
{
    const bool hasRowid = !rowidName.isEmpty();
    scansplit::Plan plan;
    if (hasRowid && reader && !db.inTransaction())
        plan = scansplit::plan(db, query, table, rowidName);
    if (!plan.ranges.empty())
        read(db, *reader, query, plan, into);
    else
        into.readRows(whole, hasRowid);
}

} // namespace parallelread
