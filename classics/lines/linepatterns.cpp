// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/lines/linepatterns.h"

#include "classics/lines/clauses.h"
#include "classics/lines/tonecodes.h"
#include "db/dberror.h"
#include "db/linetonesschema.h"
#include "db/sqlite.h"
#include "prosody/core/books.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <utility>

namespace classics {

namespace lt = linetonesschema;
namespace tc = tonecodes;

struct LinePatterns::Codes {
    std::vector<quint32> lineStarts; // per 句 row (0-based) its first verse line, and the end
    std::vector<quint8> lengths;
    std::vector<quint16> tokens;
    std::vector<quint32> classical;
    std::vector<quint32> modern;
    std::vector<quint32> lastChars;
    QList<Range> runs; // the dynasties' runs in verse lines
};

namespace {

QString rebuildHint()
{
    return QStringLiteral("请运行 bash setup.sh run，或 build/tools/shihai-builddb --classics %1 重新生成。")
        .arg(classicsschema::defaultPath);
}

// A little-endian array of one BLOB; false when its size is not a whole number of values.
template <typename T> bool readArray(QByteArrayView blob, std::vector<T> &out)
{
    if (blob.size() % qsizetype(sizeof(T)) != 0)
        return false;
    out.resize(size_t(blob.size()) / sizeof(T));
    if (!out.empty())
        qFromLittleEndian<T>(blob.data(), qsizetype(out.size()), out.data());
    return true;
}

// The arrays as stored (db/linetonesschema.h), before they are unpacked.
struct Stored {
    QByteArray linesPerRow, lengths, tokens, classical, modern, lastCharTable, lastChars;
};

// Each row's first verse line from the counts per row; false when they do not add up to n.
bool unpackStarts(QByteArrayView perRow, size_t n, std::vector<quint32> &starts)
{
    if (!tc::readVarints(perRow, starts))
        return false;
    quint64 sum = 0;
    for (quint32 &s : starts)
        sum += std::exchange(s, quint32(sum));
    starts.push_back(quint32(sum));
    return sum == n;
}

// The tokens where the verse lines start, from the gaps before each in its row.
bool unpackTokens(QByteArrayView gaps, const std::vector<quint32> &starts, const std::vector<quint8> &lengths,
                  std::vector<quint16> &tokens)
{
    std::vector<quint32> g;
    if (!tc::readVarints(gaps, g) || g.size() != lengths.size())
        return false;
    tokens.resize(g.size());
    for (size_t row = 0; row + 1 < starts.size(); ++row) {
        quint32 end = 0;
        for (quint32 u = starts[row]; u < starts[row + 1]; ++u) {
            const quint32 token = end + g[u];
            if (token > 0xffff)
                return false;
            tokens[u] = quint16(token);
            end = token + lengths[u];
        }
    }
    return true;
}

bool unpackLastChars(QByteArrayView table, QByteArrayView places, std::vector<quint32> &out)
{
    std::vector<quint32> chars;
    if (!readArray(table, chars) || !tc::readVarints(places, out))
        return false;
    for (quint32 &c : out) {
        if (c >= chars.size())
            return false;
        c = chars[c];
    }
    return true;
}

// The bits a code must have for the pattern: bit 0 of a place where 平 is wanted, bit 1 where 仄.
quint32 needed(const QList<prosody::ToneClass> &pattern)
{
    quint32 need = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) == prosody::ToneClass::Ping)
            need |= 1u << (2 * i);
        else if (pattern.at(i) == prosody::ToneClass::Ze)
            need |= 2u << (2 * i);
    }
    return need;
}

} // namespace

LinePatterns::~LinePatterns() = default;

std::unique_ptr<LinePatterns> LinePatterns::open(const QString &path,
                                                 std::shared_ptr<const prosody::RhymeBooks> books)
{
    if (!QFileInfo(path).isFile())
        throw ClassicsError(QStringLiteral("找不到古典诗词文件 %1，无从按平仄找句。").arg(path) +
                            rebuildHint());
    std::unique_ptr<LinePatterns> p(new LinePatterns);
    p->m_path = path;
    p->m_books = std::move(books);
    try {
        p->m_file = std::make_unique<SqliteFile>(path, SqliteFile::Mode::ReadOnly);
        Statement dynasties(*p->m_file, QByteArrayLiteral("SELECT 名 FROM 朝代 ORDER BY 序"));
        dynasties.forEachRow([&](const Statement &s) { p->m_dynasties << s.text(0); });
        Statement runs(*p->m_file, QByteArrayLiteral("SELECT 起, 止, 朝代 FROM 朝代段 ORDER BY 起"));
        runs.forEachRow([&](const Statement &s) {
            p->m_lineRuns.append(
                {quint32(s.int64(0)), quint32(s.int64(1)), int(p->m_dynasties.indexOf(s.text(2)))});
        });
    } catch (const DbError &e) {
        throw ClassicsError(QStringLiteral("古典诗词文件 %1 打不开或不是古典诗词文件（%2），无从按平仄找句。")
                                .arg(path, e.message()) +
                            rebuildHint());
    }
    try {
        Statement tones(*p->m_file, QByteArrayLiteral("SELECT count(*) FROM 句律"));
    } catch (const DbError &) {
        throw ClassicsError(
            QStringLiteral("古典诗词文件 %1 是旧版，没有诗句的平仄，无从按平仄找句。").arg(path) +
            rebuildHint());
    }
    return p;
}

void LinePatterns::fail(const QString &what) const
{
    throw ClassicsError(QStringLiteral("古典诗词文件 %1 读取出错（%2）。").arg(m_path, what) + rebuildHint());
}

const LinePatterns::Codes &LinePatterns::codes() const
{
    if (m_codes)
        return *m_codes;
    auto codes = std::make_unique<Codes>();
    bool whole = true;
    try {
        Statement stmt(*m_file, QByteArrayLiteral("SELECT 项, 值 FROM 句律"));
        Stored stored;
        stmt.forEachRow([&](const Statement &s) {
            const QString name = s.text(0);
            for (const auto &[key, array] :
                 {std::pair{lt::linesPerRow, &stored.linesPerRow}, std::pair{lt::lengths, &stored.lengths},
                  std::pair{lt::tokens, &stored.tokens}, std::pair{lt::classical, &stored.classical},
                  std::pair{lt::modern, &stored.modern}, std::pair{lt::lastCharTable, &stored.lastCharTable},
                  std::pair{lt::lastChars, &stored.lastChars}})
                if (name == key)
                    *array = s.blob(1).toByteArray();
        });
        whole = readArray(QByteArrayView(stored.lengths), codes->lengths) &&
                unpackStarts(stored.linesPerRow, codes->lengths.size(), codes->lineStarts) &&
                unpackTokens(stored.tokens, codes->lineStarts, codes->lengths, codes->tokens) &&
                tc::readTones(stored.classical, codes->lengths, codes->classical) &&
                tc::readTones(stored.modern, codes->lengths, codes->modern) &&
                unpackLastChars(stored.lastCharTable, stored.lastChars, codes->lastChars);
        // A temporary view of the index's positions: where each character stands in each row.
        m_file->exec(QByteArrayLiteral(
            "CREATE VIRTUAL TABLE IF NOT EXISTS temp.句索引字位 USING fts5vocab(main, 句索引, instance)"));
    } catch (const DbError &e) {
        fail(e.message());
    }
    if (!whole)
        fail(QStringLiteral("诗句的平仄不完整"));
    for (const Range &r : m_lineRuns) {
        if (r.from < 1 || r.to >= codes->lineStarts.size() || r.from > r.to)
            fail(QStringLiteral("朝代段超出诗句"));
        codes->runs.append({codes->lineStarts[r.from - 1], codes->lineStarts[r.to], r.dynasty});
    }
    m_codes = std::move(codes);
    return *m_codes;
}

qint64 LinePatterns::verseLines() const
{
    return qint64(codes().lengths.size());
}

QList<LinePatterns::Range> LinePatterns::scope(const LineQuery &query) const
{
    const Codes &c = codes();
    QList<Range> out;
    if (query.dynasty.isEmpty()) {
        out.append({0, quint32(c.lengths.size())});
    } else {
        const int d = int(m_dynasties.indexOf(query.dynasty));
        for (const Range &r : c.runs)
            if (r.dynasty == d && d >= 0)
                out.append(r);
    }
    if (query.author.isEmpty())
        return out;
    QList<Range> poet;
    try {
        Statement stmt(*m_file, QByteArrayLiteral("SELECT 首句, 句数 FROM 诗 WHERE 作者 = ?1 ORDER BY 首句"));
        stmt.bindText(1, query.author);
        stmt.forEachRow([&](const Statement &s) {
            const qint64 first = s.int64(0);
            const qint64 end = first + s.int64(1); // rows first to end - 1, 1-based
            if (first < 1 || end > qint64(c.lineStarts.size()))
                return;
            poet.append({c.lineStarts[size_t(first - 1)], c.lineStarts[size_t(end - 1)]});
        });
    } catch (const DbError &e) {
        fail(e.message());
    }
    // Both lists are in order and without overlaps: their intersection in one walk.
    QList<Range> both;
    for (qsizetype i = 0, j = 0; i < out.size() && j < poet.size();) {
        const quint32 from = std::max(out.at(i).from, poet.at(j).from);
        const quint32 to = std::min(out.at(i).to, poet.at(j).to);
        if (from < to)
            both.append({from, to});
        (out.at(i).to < poet.at(j).to) ? ++i : ++j;
    }
    return both;
}

std::vector<quint32> LinePatterns::holding(const CharAt &at) const
{
    const Codes &c = codes();
    std::vector<quint32> out;
    try {
        Statement stmt(*m_file, QByteArrayLiteral("SELECT doc, offset FROM temp.句索引字位 WHERE term = ?1"));
        stmt.bindText(1, QString::fromUcs4(&at.hanzi, 1));
        stmt.forEachRow([&](const Statement &s) {
            const qint64 row = s.int64(0); // 1-based
            const qint64 token = s.int64(1);
            if (row < 1 || row >= qint64(c.lineStarts.size()))
                return;
            for (quint32 u = c.lineStarts[size_t(row - 1)]; u < c.lineStarts[size_t(row)]; ++u)
                if (c.tokens[u] + at.place == token && at.place < c.lengths[u])
                    out.push_back(u);
        });
    } catch (const DbError &e) {
        fail(e.message());
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

template <typename Visit> void LinePatterns::each(const LineQuery &query, Visit visit) const
{
    const Codes &c = codes();
    const int length = query.wantedLength();
    if (length > lt::maxLength || std::any_of(query.at.begin(), query.at.end(), [&](const CharAt &a) {
            return a.place < 0 || (length > 0 && a.place >= length);
        }))
        return;
    const quint32 need = needed(query.pattern);
    const std::vector<quint32> &tones = prosody::isModern(query.book) ? c.modern : c.classical;
    // The members of the rhyme group, as a table by code point.
    std::vector<bool> rhymes;
    if (query.rhymeGroup) {
        if (!m_books)
            throw ClassicsError(QStringLiteral("没有读入韵书，无从按韵部找句。"));
        if (*query.rhymeGroup < 0 || *query.rhymeGroup >= m_books->groups(query.book).size())
            return;
        for (const prosody::RhymeBooks::Member &m : m_books->members(query.book, *query.rhymeGroup)) {
            if (m.hanzi >= rhymes.size())
                rhymes.resize(m.hanzi + 1);
            rhymes[m.hanzi] = true;
        }
    }
    const auto answers = [&](quint32 u) {
        return (length == 0 || c.lengths[u] == length) && (tones[u] & need) == need &&
               (!query.rhymeGroup || (c.lastChars[u] < rhymes.size() && rhymes[c.lastChars[u]]));
    };
    const QList<Range> ranges = scope(query);
    if (query.at.isEmpty()) {
        for (const Range &r : ranges)
            for (quint32 u = r.from; u < r.to; ++u)
                if (answers(u) && !visit(u))
                    return;
        return;
    }
    // The count and each page of one search ask for the same characters: found once.
    if (query.at != m_heldAt) {
        m_heldAt.clear();
        m_held = holding(query.at.first());
        for (qsizetype i = 1; i < query.at.size() && !m_held.empty(); ++i) {
            const std::vector<quint32> more = holding(query.at.at(i));
            std::vector<quint32> both;
            std::set_intersection(m_held.begin(), m_held.end(), more.begin(), more.end(),
                                  std::back_inserter(both));
            m_held = std::move(both);
        }
        m_heldAt = query.at;
    }
    qsizetype r = 0;
    for (const quint32 u : m_held) {
        while (r < ranges.size() && ranges.at(r).to <= u)
            ++r;
        if (r == ranges.size())
            return;
        if (u >= ranges.at(r).from && answers(u) && !visit(u))
            return;
    }
}

Counts LinePatterns::count(const LineQuery &query) const
{
    const Codes &c = codes();
    QList<int> byDynasty(m_dynasties.size());
    qsizetype run = 0;
    each(query, [&](quint32 u) {
        while (run < c.runs.size() && c.runs.at(run).to <= u)
            ++run;
        if (run < c.runs.size() && c.runs.at(run).from <= u && c.runs.at(run).dynasty >= 0)
            ++byDynasty[c.runs.at(run).dynasty];
        return true;
    });
    Counts out;
    for (qsizetype d = 0; d < byDynasty.size(); ++d) {
        if (byDynasty.at(d) == 0)
            continue;
        out.byDynasty.append({m_dynasties.at(d), byDynasty.at(d)});
        out.lines += byDynasty.at(d);
    }
    return out;
}

QList<PatternLine> LinePatterns::lines(const LineQuery &query, int offset, int limit) const
{
    QList<PatternLine> out;
    if (limit <= 0)
        return out;
    std::vector<quint32> found;
    int skipped = 0;
    each(query, [&](quint32 u) {
        if (skipped < offset)
            ++skipped;
        else
            found.push_back(u);
        return int(found.size()) < limit;
    });
    const Codes &c = codes();
    try {
        Statement stmt(*m_file, QByteArrayLiteral("SELECT 句.诗, 句.文, 诗.题, 诗.作者, 诗.朝代 FROM 句 "
                                                  "JOIN 诗 ON 诗.编号 = 句.诗 WHERE 句.编号 = ?1"));
        for (const quint32 u : found) {
            // The row whose verse lines hold u: the last that starts at or before it.
            const auto after = std::upper_bound(c.lineStarts.begin(), c.lineStarts.end(), u);
            const qint64 row = after - c.lineStarts.begin(); // 1-based
            stmt.bindInt64(1, row);
            if (stmt.step()) {
                const QString entry = stmt.text(1);
                out.append({row, stmt.int64(0), clauseAt(entry, c.tokens[u]), entry, stmt.text(2),
                            stmt.text(3), stmt.text(4)});
            }
            stmt.reset();
        }
    } catch (const DbError &e) {
        fail(e.message());
    }
    return out;
}

} // namespace classics
