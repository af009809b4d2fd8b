// SPDX-License-Identifier: GPL-3.0-or-later
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
    if (first && right.size() >= 2 &&
        (right[0] == U'又' || right[0] == U'一' || right[0] == U'乂' || right[0] == U'义')) {
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

// A name the origin note gives after 名 is worth much, the more the longer (the note's 名缺月挂疎桐 also
// begins with 缺月挂); one it does not give costs a little, more when it is of two characters (most
// names have three or more).
int worth(const Text &name, const Text &origin)
{
    if (name.size() == 1 || name.size() >= 7)
        return -100;
    const Text f = folded(name);
    for (size_t at = origin.find(f); at != Text::npos; at = origin.find(f, at + 1))
        if (at > 0 && (origin[at - 1] == U'名' || (at > 1 && origin[at - 2] == U'名')))
            return 100 + 10 * int(name.size());
    return name.size() == 2 ? -3 : -1;
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

QStringList readAliasList(const QList<QList<Piece>> &lines, TextView origin)
{
    const Text foldedOrigin = folded(origin);
    QList<Reading> beam{Reading()};
    bool first = true;
    for (const QList<Piece> &blocks : lines) {
        // Every reading of the line's blocks together, each block read one of its ways.
        QList<QList<BlockReading>> combos{{}};
        for (const Piece &block : blocks) {
            QList<QList<BlockReading>> more;
            for (const BlockReading &r : readingsOf(block, first))
                for (const QList<BlockReading> &c : std::as_const(combos))
                    if (more.size() < 4096)
                        more << (c + QList<BlockReading>{r});
            combos = more;
            first = false;
        }
        QList<Reading> next;
        for (const QList<BlockReading> &combo : std::as_const(combos)) {
            QList<Reading> read = beam;
            int moved = 0;
            for (const BlockReading &b : combo)
                moved += b.moved;
            for (Reading &r : read)
                r.score -= moved; // as printed, when nothing else decides
            // The right columns, then the left ones; a column that continues the one before it within
            // its block is likelier than one that continues across blocks.
            for (qsizetype b = 0; b < combo.size(); ++b)
                read = readColumn(read, combo[b].right, -2, foldedOrigin);
            for (qsizetype b = 0; b < combo.size(); ++b)
                if (!blocks[b].left.empty())
                    read = readColumn(read, combo[b].left, b == 0 ? 2 : -2, foldedOrigin);
            next << read;
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
