// SPDX-License-Identifier: GPL-3.0-or-later
#include "classics/lines/tonecodes.h"

namespace classics::tonecodes {

namespace {

constexpr qsizetype bytesFor(int length)
{
    return (2 * length + 7) / 8;
}

} // namespace

void appendVarint(QByteArray &out, quint32 value)
{
    while (value >= 0x80) {
        out.append(char(0x80 | (value & 0x7f)));
        value >>= 7;
    }
    out.append(char(value));
}

bool readVarints(QByteArrayView bytes, std::vector<quint32> &out)
{
    out.clear();
    quint64 value = 0;
    int shift = 0;
    for (const char ch : bytes) {
        const quint8 b = quint8(ch);
        if (shift > 28)
            return false;
        value |= quint64(b & 0x7f) << shift;
        if (b & 0x80) {
            shift += 7;
            continue;
        }
        if (value > 0xffffffffu)
            return false;
        out.push_back(quint32(value));
        value = 0;
        shift = 0;
    }
    return shift == 0;
}

void appendTones(QByteArray &out, quint32 code, int length)
{
    for (qsizetype i = 0; i < bytesFor(length); ++i)
        out.append(char(code >> (8 * i) & 0xff));
}

bool readTones(QByteArrayView bytes, const std::vector<quint8> &lengths, std::vector<quint32> &out)
{
    out.clear();
    out.reserve(lengths.size());
    qsizetype at = 0;
    for (const quint8 length : lengths) {
        const qsizetype n = bytesFor(length);
        if (n > 4 || at + n > bytes.size())
            return false;
        quint32 code = 0;
        for (qsizetype i = 0; i < n; ++i)
            code |= quint32(quint8(bytes.at(at + i))) << (8 * i);
        out.push_back(code);
        at += n;
    }
    return at == bytes.size();
}

} // namespace classics::tonecodes
