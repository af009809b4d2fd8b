// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/classics.h"
#include "classics/lines/linequery.h"
#include "db/classicsschema.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class SqliteFile;

namespace prosody {
class RhymeBooks;
}

// The verse lines of the classics by their tones (集句): lines of a 平仄 pattern, ending in a rhyme
// group, with given characters at given places, of a length, a dynasty, a poet. The tones were
// computed when the file was built (db/linetonesschema.h); the first search reads their codes into
// memory (about 12 MB for the 全唐诗 and 宋词), and every search after is a pass over them, so any
// pattern, even one that leaves every place free, is counted in a few milliseconds. A character
// wanted at a place is found through the positions of the full-text index first. Qt Core only;
// nothing here writes to any file. One object may be used from one thread at a time.
namespace classics {

class LinePatterns {
public:
    // Opens the file read-only; throws ClassicsError when it is missing, not a classics file, or of an
    // older version without the tones (the message says how to rebuild it). The books give the
    // members of a rhyme group; without them a search by rhyme group throws ClassicsError.
    static std::unique_ptr<LinePatterns> open(const QString &path,
                                              std::shared_ptr<const prosody::RhymeBooks> books);
    ~LinePatterns();
    LinePatterns(const LinePatterns &) = delete;
    LinePatterns &operator=(const LinePatterns &) = delete;

    // How many verse lines answer the query, in all and by dynasty.
    Counts count(const LineQuery &query) const;
    // Those lines from offset on (0 the first), at most limit of them, in the order of the file: the
    // primers' poems first, then the rest, each by dynasty.
    QList<PatternLine> lines(const LineQuery &query, int offset, int limit) const;

    QStringList dynasties() const { return m_dynasties; }
    QString path() const { return m_path; }
    // The verse lines whose tones are held (reads the codes).
    qint64 verseLines() const;

private:
    struct Codes;
    struct Range {
        quint32 from; // verse lines, end exclusive
        quint32 to;
        int dynasty = -1;
    };
    LinePatterns() = default;
    [[noreturn]] void fail(const QString &what) const;
    const Codes &codes() const;
    // The verse lines the dynasty and the poet leave, as ranges in order.
    QList<Range> scope(const LineQuery &query) const;
    // The verse lines holding the character at its place, in order.
    std::vector<quint32> holding(const CharAt &at) const;
    // Calls visit(verse line) for each line answering the query, in order, until it returns false.
    template <typename Visit> void each(const LineQuery &query, Visit visit) const;

    QString m_path;
    QStringList m_dynasties;
    QList<Range> m_lineRuns; // 朝代段, in 句 rows (1-based, end inclusive)
    std::shared_ptr<const prosody::RhymeBooks> m_books;
    std::unique_ptr<SqliteFile> m_file;
    mutable std::unique_ptr<Codes> m_codes;
    mutable QList<CharAt> m_heldAt;      // the characters of the last search by places
    mutable std::vector<quint32> m_held; // and the verse lines holding them
};

} // namespace classics
