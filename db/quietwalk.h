// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Query;

// While it lives, the moves of a query that walks its rows are not announced, so bound controls do
// not follow every step; at its end the current row is announced once.
class QuietWalk {
public:
    explicit QuietWalk(Query *query);
    ~QuietWalk();
    QuietWalk(const QuietWalk &) = delete;
    QuietWalk &operator=(const QuietWalk &) = delete;

private:
    Query *m_query;
    bool m_wasBlocked;
};
