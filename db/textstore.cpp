// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/textstore.h"

#include <cstring>

TextStore::Ref TextStore::add(const char *data, size_t length)
{
    if (length == 0)
        return {0, 0};
    if (length > blockSize) {
        // A text larger than a block gets a block of its own; the next texts start a new block.
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(length));
        std::memcpy(m_blocks.back().get(), data, length);
        m_used = blockSize;
        return {quint32((m_blocks.size() - 1) << positionBits), quint32(length)};
    }
    if (m_used + length > blockSize) {
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(blockSize));
        m_used = 0;
    }
    std::memcpy(m_blocks.back().get() + m_used, data, length);
    const Ref ref{quint32(((m_blocks.size() - 1) << positionBits) | m_used), quint32(length)};
    m_used += length;
    return ref;
}

void TextStore::clear()
{
    m_blocks.clear();
    m_used = blockSize;
}

quint32 TextStore::append(TextStore &&other)
{
    const quint32 offset = quint32(m_blocks.size() << positionBits);
    if (other.m_blocks.empty())
        return offset;
    for (auto &block : other.m_blocks)
        m_blocks.push_back(std::move(block));
    m_used = other.m_used;
    other.clear();
    return offset;
}
