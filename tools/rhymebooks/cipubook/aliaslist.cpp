#include "tools/rhymebooks/cipubook/aliaslist.h"

#include "tools/rhymebooks/cipubook/variants.h"

#include <algorithm>

namespace cipubook {

namespace {

constexpr char32_t kLead = 1; // 又名 at the head of the list: neither a name nor a gap

bool isCell(char32_t c)
{
    return c != kBlank && c != kLead;
}

// One way to read a block: its two columns as printed, or with some characters moved left.
struct BlockReading {
    Text right, left;
    int moved = 0;
};

// Two gaps running inside a column (before its last character) cannot be: names stand one gap apart.
bool wellSpaced(const Text &column)
{
    size_t end = column.size();
    while (end > 0 && !isCell(column[end - 1]))
        --end;
    for (size_t i = 1; i < end; ++i)
        if (column[i] == kBlank && column[i - 1] == kBlank)
            return false;
    return true;
}

QList<BlockReading> readingsOf(const Piece &block, bool first)
{
    Text right = block.right, left = block.left;
    if (first && right.size() >= 2 && (right[0] == U'又' || right[0] == U'一' || right[0] == U'乂' ||
                                       right[0] == U'义')) {
        const bool named = right[1] == U'名';
        right[0] = kLead;
        if (named)
            right[1] = kLead;
    }
    const size_t height = std::max(right.size(), left.size());
    const bool twoColumns = !left.empty();
    right.resize(height, kBlank);
    left.resize(height, kBlank);
    QList<size_t> lone; // rows with a character on the right only: it may stand on the left
    if (twoColumns)
        for (size_t row = 0; row < height; ++row)
            if (isCell(right[row]) && left[row] == kBlank)
                lone << row;
    QList<BlockReading> out;
    // Each lone row either way, up to a bound; the ones with two gaps running are dropped.
    const qsizetype bound = std::min<qsizetype>(lone.size(), 16);
    for (quint32 mask = 0; mask < (1u << bound); ++mask) {
        BlockReading r{right, left, 0};
        for (qsizetype i = 0; i < bound; ++i)
            if (mask & (1u << i)) {
                std::swap(r.right[lone[i]], r.left[lone[i]]);
                ++r.moved;
            }
        if (wellSpaced(r.right) && wellSpaced(r.left))
            out.append(r);
    }
    if (out.isEmpty())
        out.append({right, left, 0});
    return out;
}

struct Reading {
    QList<Text> names;
    Text open; // a name running on to the next column
    int score = 0;
};

int worth(const Text &name, const Text &origin)
{
    if (name.size() == 1)
        return -100;
    if (name.size() >= 7)
        return -100;
    return origin.find(folded(name)) != Text::npos ? 100 : 0;
}

void finish(Reading &r, const Text &origin)
{
    if (r.open.empty())
        return;
    r.score += worth(r.open, origin);
    r.names << r.open;
    r.open.clear();
}

// The column read onto each reading: its runs are names; the first may continue the open one.
QList<Reading> readColumn(const QList<Reading> &from, const Text &column, int joinBonus, const Text &origin)
{
    QList<Text> runs;
    Text run;
    for (const char32_t c : column) {
        if (isCell(c)) {
            run.push_back(c);
        } else if (!run.empty()) {
            runs << run;
            run.clear();
        }
    }
    const bool fromTop = !column.empty() && isCell(column.front());
    const bool toFoot = !column.empty() && isCell(column.back());
    if (!run.empty())
        runs << run;
    QList<Reading> out;
    for (const Reading &r : from) {
        for (const bool join : {true, false}) {
            if (join && (r.open.empty() || !fromTop || runs.isEmpty()))
                continue;
            Reading next = r;
            qsizetype i = 0;
            if (join) {
                next.open += runs.first();
                next.score += joinBonus;
                i = 1;
                if (runs.size() > 1 || !toFoot)
                    finish(next, origin);
            } else {
                finish(next, origin);
            }
            for (; i < runs.size(); ++i) {
                next.open = runs[i];
                if (i + 1 < runs.size() || !toFoot)
                    finish(next, origin);
            }
            out << next;
        }
    }
    return out;
}

} // namespace

QStringList readAliasList(const QList<Piece> &blocks, TextView origin)
{
    const Text foldedOrigin = folded(origin);
    QList<Reading> beam{Reading()};
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        QList<Reading> next;
        for (const BlockReading &block : readingsOf(blocks[b], b == 0)) {
            QList<Reading> start = beam;
            for (Reading &r : start)
                r.score -= block.moved; // as printed, when nothing else decides
            // Within a block the left column continues the right; a new block is more often a new name.
            const QList<Reading> right = readColumn(start, block.right, -2, foldedOrigin);
            next << readColumn(right, block.left, 2, foldedOrigin);
        }
        std::stable_sort(next.begin(), next.end(),
                         [](const Reading &a, const Reading &b) { return a.score > b.score; });
        beam = next.mid(0, 256);
    }
    for (Reading &r : beam)
        finish(r, foldedOrigin);
    std::stable_sort(beam.begin(), beam.end(),
                     [](const Reading &a, const Reading &b) { return a.score > b.score; });
    QStringList names;
    for (const Text &n : beam.first().names)
        names << toQString(n);
    return names;
}

} // namespace cipubook
