// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <memory>
#include <vector>

// Append-only storage for the texts of a query's snapshot. Texts go into blocks that never move, so
// growing the store never copies what it already holds.
class TextStore {
public:
    struct Ref {
        quint32 location; // block index and position in the block
        quint32 length;
    };

    Ref add(const char *data, size_t length);
    const char *data(Ref ref) const
    {
        if (ref.length == 0)
            return "";
        return m_blocks[ref.location >> positionBits].get() + (ref.location & positionMask);
    }
    void clear();
    // Takes over the blocks of `other`; its references stay valid once `shifted` by the result.
    quint32 append(TextStore &&other);
    static Ref shifted(Ref ref, quint32 offset) { return {ref.location + offset, ref.length}; }

private:
    static constexpr int positionBits = 22;
    static constexpr size_t blockSize = size_t(1) << positionBits; // 4 MiB
    static constexpr quint32 positionMask = quint32(blockSize - 1);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_used = blockSize; // bytes used in the last block; full before the first
};
